#pragma once

#include <QString>

struct sqlite3;

namespace Riri {

// Writing a file so that a crash, a kill or a full disk never leaves a
// partial file under its name: the content goes to a temporary file beside
// it, is forced to the disk and only then renamed onto the name.
namespace SafeFile {

// Makes a new, empty temporary file in the target's folder (mode 0600) and
// returns its name. Throws Riri::Error when the folder cannot take it.
QString makeTemporary(const QString& target);

// Forces the file's content to the disk. Throws Riri::Error on failure.
void syncFile(const QString& path);

// Renames the temporary file onto the target and forces the folder entry
// to the disk. Throws Riri::Error on failure.
void commit(const QString& temporary, const QString& target);

// Removes a temporary file that is not wanted any more; never fails.
void discard(const QString& temporary);

// The description of a failed write: "The disk is full" for a full disk or
// file-size limit, otherwise the system's own text, with the file's name.
QString writeFailure(int systemErrno, const QString& path);

// The number and description of the last failure on an SQLite handle; a
// full disk is named as such. systemErrno is the errno seen right after the
// failure, for when SQLite did not keep it.
int failureNumber(sqlite3* db);
QString failureText(sqlite3* db, const QString& path, int systemErrno = 0);

} // namespace SafeFile
} // namespace Riri
