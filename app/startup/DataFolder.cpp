#include "startup/DataFolder.h"

#include <Riri/Error.h>
#include <Riri/ErrorNumbers.h>
#include <Riri/InstallPaths.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

const QStringList kHelpFiles = {QStringLiteral("quorvane.qch"), QStringLiteral("quorvane.qhc")};
// The folder the help engine keeps its search index in, beside the collection.
const QString kHelpCache = QStringLiteral(".quorvane");

bool sameFile(const QFileInfo& copy, const QFileInfo& original) {
    return copy.isFile() && copy.size() == original.size() &&
           copy.lastModified() == original.lastModified();
}

} // namespace

void prepareDataFolder(Riri::Layout layout, const QString& dataFolder,
                       const QString& installFolder) {
    if (layout != Riri::Layout::Packaged || QFileInfo::exists(dataFolder)) {
        return;
    }
    // The parent (~/.local/share) with the usual permissions, the data
    // folder itself for its user only.
    const QFileInfo folder(dataFolder);
    if (!QDir().mkpath(folder.absolutePath()) ||
        !QDir().mkdir(dataFolder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner)) {
        throw Riri::Error(Riri::ErrorNumber::PathNotFound,
                          QStringLiteral("Path not found: cannot make the data folder ") +
                              dataFolder);
    }
    const QString database = Riri::InstallPaths::databasePath(dataFolder);
    if (!QDir(dataFolder).mkdir(QStringLiteral("home")) ||
        !QFile::copy(Riri::InstallPaths::databasePath(installFolder), database) ||
        !QFile::setPermissions(database, QFile::ReadOwner | QFile::WriteOwner)) {
        QDir(dataFolder).removeRecursively();
        throw Riri::Error(Riri::ErrorNumber::PathNotFound,
                          QStringLiteral("Path not found: cannot copy the empty database into ") +
                              database);
    }
}

QString helpCollectionFile(Riri::Layout layout, const QString& dataFolder,
                           const QString& installFolder) {
    const QString folder = layout == Riri::Layout::Packaged ? dataFolder : installFolder;
    return QDir(folder).filePath(QStringLiteral("help/quorvane.qhc"));
}

bool refreshHelpCopy(const QString& dataFolder, const QString& installFolder) {
    const QDir source(QDir(installFolder).filePath(QStringLiteral("help")));
    QDir target(QDir(dataFolder).filePath(QStringLiteral("help")));
    bool current = true;
    for (const QString& name : kHelpFiles) {
        current =
            current && sameFile(QFileInfo(target.filePath(name)), QFileInfo(source.filePath(name)));
    }
    if (current) {
        return true;
    }
    if (!target.mkpath(QStringLiteral("."))) {
        return false;
    }
    QDir(target.filePath(kHelpCache)).removeRecursively();
    for (const QString& name : kHelpFiles) {
        const QString copy = target.filePath(name);
        QFile::remove(copy);
        QFile file(copy);
        // The copy is made writable (the help engine opens its collection
        // for writing) and carries the installed file's time, by which the
        // next start knows it is current.
        if (!QFile::copy(source.filePath(name), copy) ||
            !file.setPermissions(QFile::ReadOwner | QFile::WriteOwner) ||
            !file.open(QIODevice::ReadWrite) ||
            !file.setFileTime(QFileInfo(source.filePath(name)).lastModified(),
                              QFileDevice::FileModificationTime)) {
            file.close();
            QFile::remove(copy);
            return false;
        }
    }
    return true;
}
