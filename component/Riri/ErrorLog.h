#pragma once

#include "RiriExport.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

namespace Riri {

// The plain-text error log, error.log in the installation folder. Two writers
// append blocks to it: the component and the program's start-up. Both block
// formats live here so one place knows the file's format. Every line ends
// with CR LF; the first block of a new file is preceded by a title banner.
namespace ErrorLog {

RIRI_EXPORT QString ruleLine();      // "%" + 51 hyphens + "%"
RIRI_EXPORT QString frameLine();     // "%" + 51 blanks + "%"
RIRI_EXPORT QString shortRuleLine(); // "%" + 33 hyphens + "%"

// The date line's items follow each other in print zones of 14 characters:
// each item after the first starts at the next zone boundary, at least one
// blank after the previous one.
RIRI_EXPORT QString dateLine(const QDateTime& when, const QString& errorText);

enum class ComponentSource {
    Creation, // "Initialize Database Connection"
    AddOwner,
    AddItems,
    UpdateItems,
    UpdateOwner,
    DeleteItem,
    AutoBackup, // "Automatic Backup - DLL Function"
};

RIRI_EXPORT QString startupProcedure();

RIRI_EXPORT QStringList componentBlock(bool newFile, ComponentSource source, int number,
                                       const QString& description, const QDateTime& when);
// The program's block names the procedure in error: start-up's
// "SubMain Load Procedure" unless another is given.
RIRI_EXPORT QStringList startupBlock(bool newFile, int number, const QString& description,
                                     const QDateTime& when,
                                     const QString& procedure = startupProcedure());

// Appends one block to the log at path, made by the given builder with
// newFile telling whether the file is empty (or new) at that moment. The
// block is appended whole under an advisory lock, or not at all: on a failure
// the file is left as it was and Riri::Error 75 is thrown.
RIRI_EXPORT void appendComponentBlock(const QString& path, ComponentSource source, int number,
                                      const QString& description);
RIRI_EXPORT void appendStartupBlock(const QString& path, int number, const QString& description,
                                    const QString& procedure = startupProcedure());

} // namespace ErrorLog
} // namespace Riri
