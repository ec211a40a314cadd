#include "SingleInstance.h"

#include <QDir>
#include <QLockFile>
#include <QStandardPaths>
#include <memory>
#include <unistd.h>

namespace SingleInstance {

namespace {

std::unique_ptr<QLockFile>& held() {
    static std::unique_ptr<QLockFile> lock;
    return lock;
}

} // namespace

QString LockPath() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty()) {
        folder = QDir::tempPath();
    }
    // The user's id in the name keeps users apart where the folder is shared.
    return folder + QStringLiteral("/quorvane-") + QString::number(::getuid()) +
           QStringLiteral(".lock");
}

bool AnotherIsRunning() {
    if (held()) {
        return false;
    }
    auto lock = std::make_unique<QLockFile>(LockPath());
    // A lock whose process is gone is stale at once.
    lock->setStaleLockTime(0);
    if (lock->tryLock(0)) {
        held() = std::move(lock);
        return false;
    }
    return lock->error() == QLockFile::LockFailedError;
}

void Release() {
    held().reset(); // unlocks and removes the file
}

} // namespace SingleInstance
