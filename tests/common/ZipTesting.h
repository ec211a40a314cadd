#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// One entry of a ZIP archive a test builds, sound or hostile.
struct ZipEntry {
    enum class Kind { File, Directory, Symlink };

    QString name;
    QByteArray data;
    Kind kind = Kind::File;
    // The size the entry's header declares; the data's size when negative.
    // A deflated entry keeps its data and declares the size all the same.
    qint64 declaredSize = -1;
    bool deflate = false;
    // The target of a link.
    QString linkTarget = QStringLiteral("/etc/passwd");
};

// The lowercase hex SHA-256 of the bytes.
QString sha256Hex(const QByteArray& bytes);
// A ZIP archive of the entries in order, written with libarchive.
QByteArray zipOf(const QList<ZipEntry>& entries);
// The SHA256SUMS lines ("<hex>  <name>") of the entries that are files.
QByteArray sha256Sums(const QList<ZipEntry>& entries);
// The entries of a sound backup archive: inventory.inv with the database's
// bytes, evidence/<sha256> for each file, and no manifest yet.
QList<ZipEntry> backupEntries(const QByteArray& database, const QList<QByteArray>& evidence);
// The same entries with their SHA256SUMS last.
QList<ZipEntry> withManifest(QList<ZipEntry> entries);
