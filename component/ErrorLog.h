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

RIRI_EXPORT QString RuleLine();      // "%" + 51 hyphens + "%"
RIRI_EXPORT QString FrameLine();     // "%" + 51 blanks + "%"
RIRI_EXPORT QString ShortRuleLine(); // "%" + 33 hyphens + "%"

// The date line's items follow each other in print zones of 14 characters:
// each item after the first starts at the next zone boundary, at least one
// blank after the previous one.
RIRI_EXPORT QString DateLine(const QDateTime& when, const QString& errorText);

enum class ComponentSource {
    Creation, // "Initialize Database Connection"
    AddOwner,
    AddItems,
    UpdateItems,
    UpdateOwner,
    DeleteItem,
};

RIRI_EXPORT QStringList ComponentBlock(bool newFile, ComponentSource source, int number,
                                       const QString& description, const QDateTime& when);
RIRI_EXPORT QStringList StartupBlock(bool newFile, int number, const QString& description,
                                     const QDateTime& when);

// Appends one block to the log at path, made by the given builder with
// newFile telling whether the file is empty (or new) at that moment. The
// block is appended whole under an advisory lock, or not at all: on a failure
// the file is left as it was and Riri::Error 75 is thrown.
RIRI_EXPORT void AppendComponentBlock(const QString& path, ComponentSource source, int number,
                                      const QString& description);
RIRI_EXPORT void AppendStartupBlock(const QString& path, int number, const QString& description);

} // namespace ErrorLog
} // namespace Riri
