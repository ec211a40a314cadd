#include "platform/SingleInstance.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QSysInfo>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace SingleInstance {

namespace {

// The open lock file while this process holds its lock. The lock is an
// advisory lock on the open file: the system drops it when the process ends,
// however it ends, so a file left behind never blocks a later start.
int& heldFile() {
    static int file = -1;
    return file;
}

} // namespace

QString lockPath() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty()) {
        folder = QDir::tempPath();
    }
    // The user's id in the name keeps users apart where the folder is shared.
    return folder + QStringLiteral("/quorvane-") + QString::number(::getuid()) +
           QStringLiteral(".lock");
}

namespace {

// True when the open file is still the one the path names: a holder that
// ended may have removed it after this process opened it.
bool stillNamed(int file, const QByteArray& path) {
    struct stat opened {};
    struct stat named {};
    return ::fstat(file, &opened) == 0 && ::stat(path.constData(), &named) == 0 &&
           opened.st_dev == named.st_dev && opened.st_ino == named.st_ino;
}

} // namespace

bool anotherIsRunning() {
    if (heldFile() >= 0) {
        return false;
    }
    const QByteArray path = QFile::encodeName(lockPath());
    int file = -1;
    for (int attempt = 0; attempt < 8 && file < 0; ++attempt) {
        file = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (file < 0 && errno == EACCES && ::unlink(path.constData()) == 0) {
            // A file this user may not open is no lock of a running program
            // of this user: a new one takes its place.
            file = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        }
        if (file < 0) {
            return false; // no lock can be had here: nothing stands in the way
        }
        // Only a running process holds the lock; what the file holds
        // (nothing, a half-written line, another host's name) does not matter.
        if (::flock(file, LOCK_EX | LOCK_NB) != 0) {
            const int error = errno;
            ::close(file);
            return error == EWOULDBLOCK;
        }
        if (!stillNamed(file, path)) {
            // Locked a file its holder removed on its way out: try the new one.
            ::close(file);
            file = -1;
        }
    }
    if (file < 0) {
        return false;
    }
    heldFile() = file;
    // Who holds it, for a person looking at the file.
    const QByteArray holder = QByteArray::number(::getpid()) + '\n' +
                              QCoreApplication::applicationName().toUtf8() + '\n' +
                              QSysInfo::machineHostName().toUtf8() + '\n';
    if (::ftruncate(file, 0) == 0) {
        [[maybe_unused]] const ssize_t written =
            ::write(file, holder.constData(), static_cast<size_t>(holder.size()));
    }
    return false;
}

void release() {
    if (heldFile() < 0) {
        return;
    }
    // Removed while still locked, so a start that opened it meanwhile sees
    // that it is gone once it gets the lock, and takes a new one.
    ::unlink(QFile::encodeName(lockPath()).constData());
    ::close(heldFile());
    heldFile() = -1;
}

} // namespace SingleInstance
