#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

class TestInstall;

// Evidence for tests: source files made on the fly and the store's files
// read back with plain file operations.
namespace EvidenceTesting {

// Writes a file named name with the content into the installation's folder
// for source files (made on first use) and returns its path.
QString sourceFile(const TestInstall& install, const QString& name, const QByteArray& content);
// The names of the hashed files in the installation's evidence store, sorted.
QStringList storedFiles(const TestInstall& install);
// The store's path of a content's file, whether or not it is there.
QString storedPath(const TestInstall& install, const QByteArray& content);
// The lowercase hex SHA-256 of a content.
QString sha256(const QByteArray& content);
// Overwrites a stored file (the store keeps them read-only); false on failure.
bool alterFile(const QString& path);
// Attaches each content as a file named "<content>.bin" to the item with the
// Item ID, through the store; the new rows' IDs, none on failure.
QList<qint64> attach(const TestInstall& install, const QString& itemId,
                     const QList<QByteArray>& contents, const QString& caption = QString());

// Writes one attachment row for the item with plain SQL, naming a file that
// is not in the store (for lists, which never read files); false on failure.
bool evidenceRow(const TestInstall& install, const QString& itemId, const QString& kind,
                 const QString& caption);

} // namespace EvidenceTesting
