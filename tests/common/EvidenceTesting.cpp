#include "EvidenceTesting.h"

#include "TestSupport.h"

#include <Riri/Error.h>
#include <Riri/EvidenceStore.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>

namespace EvidenceTesting {

QString sourceFile(const TestInstall& install, const QString& name, const QByteArray& content) {
    const QString folder = install.folder() + QStringLiteral("/sources");
    QDir().mkpath(folder);
    const QString path = folder + QLatin1Char('/') + name;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(content) != content.size()) {
        return QString();
    }
    return path;
}

QStringList storedFiles(const TestInstall& install) {
    QStringList names = QDir(install.folder() + QStringLiteral("/home/evidence"))
                            .entryList(QDir::Files, QDir::Name);
    names.removeIf([](const QString& name) { return name.size() != 64; });
    return names;
}

QString storedPath(const TestInstall& install, const QByteArray& content) {
    return install.folder() + QStringLiteral("/home/evidence/") + sha256(content);
}

QString sha256(const QByteArray& content) {
    return QString::fromLatin1(
        QCryptographicHash::hash(content, QCryptographicHash::Sha256).toHex());
}

bool alterFile(const QString& path) {
    QFile file(path);
    return file.setPermissions(QFile::ReadOwner | QFile::WriteOwner) &&
           file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write("tampered") == 8;
}

QList<qint64> attach(const TestInstall& install, const QString& itemId,
                     const QList<QByteArray>& contents, const QString& caption) {
    QList<Riri::NewAttachment> files;
    for (const QByteArray& content : contents) {
        Riri::NewAttachment file;
        file.sourcePath =
            sourceFile(install, QString::fromUtf8(content) + QStringLiteral(".bin"), content);
        file.caption = caption;
        files.append(file);
    }
    try {
        Riri::EvidenceStore store;
        return store.add(store.itemRefOf(itemId), files);
    } catch (const Riri::Error&) {
        return {};
    }
}

bool evidenceRow(const TestInstall& install, const QString& itemId, const QString& kind,
                 const QString& caption) {
    return install.exec(
        QStringLiteral("INSERT INTO tblEvidence (ItemRef, Kind, Caption, FileName, MediaType, "
                       "Size, Sha256, AddDate) SELECT ID, '%2', '%3', 'file.jpg', 'image/jpeg', "
                       "1, '%4', '2026-12-01 10:00:00' FROM tblItems WHERE ItemID = '%1'")
            .arg(itemId, kind, QString(caption).replace('\'', QStringLiteral("''")),
                 sha256(caption.toUtf8())));
}

} // namespace EvidenceTesting
