#include "evidence/EvidenceCopies.h"

#include "shared/modGlobal.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryDir>
#include <memory>

namespace {

std::unique_ptr<QTemporaryDir>& folder() {
    static std::unique_ptr<QTemporaryDir> dir;
    return dir;
}

QTemporaryDir* ensureFolder() {
    if (!folder()) {
        folder() = std::make_unique<QTemporaryDir>(QDir::tempPath() +
                                                   QStringLiteral("/quorvane-open-XXXXXX"));
        if (!folder()->isValid()) {
            folder().reset();
            return nullptr;
        }
        // Only this user reads the copies; they go when the program ends.
        QFile::setPermissions(folder()->path(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        onEndProgram([] { folder().reset(); });
    }
    return folder().get();
}

} // namespace

QString EvidenceCopies::privateFolder() {
    return folder() ? folder()->path() : QString();
}

QString EvidenceCopies::temporaryCopy(const QString& storedFile, const QString& fileName) {
    QTemporaryDir* dir = ensureFolder();
    if (dir == nullptr) {
        return {};
    }
    QString name = QFileInfo(fileName).fileName();
    if (name.isEmpty()) {
        name = QStringLiteral("evidence");
    }
    QDir base(dir->path());
    int number = 1;
    while (base.exists(QString::number(number))) {
        ++number;
    }
    const QString sub = QString::number(number);
    if (!base.mkdir(sub)) {
        return {};
    }
    const QString path = base.filePath(sub + QLatin1Char('/') + name);
    if (!QFile::copy(storedFile, path)) {
        return {};
    }
    QFile::setPermissions(path, QFile::ReadOwner);
    return path;
}

bool EvidenceCopies::saveCopy(const QString& storedFile, const QString& target) {
    QFile source(storedFile);
    if (!source.open(QIODevice::ReadOnly)) {
        return false;
    }
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly)) {
        return false;
    }
    QByteArray block;
    while (!(block = source.read(1 << 20)).isEmpty()) {
        if (out.write(block) != block.size()) {
            out.cancelWriting();
            return false;
        }
    }
    return source.error() == QFileDevice::NoError && out.commit();
}
