#include "SafeFile.h"

#include "Error.h"

#include <QByteArray>
#include <QDir>
#include <QFileInfo>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Riri::SafeFile {

namespace {

// The error number a failed file operation is raised with.
constexpr int kPathFileAccess = 75;

bool isFullDisk(int systemErrno) {
    return systemErrno == ENOSPC || systemErrno == EFBIG || systemErrno == EDQUOT;
}

[[noreturn]] void failSystem(int systemErrno, const QString& what, const QString& path) {
    throw Error(isFullDisk(systemErrno) ? SQLITE_FULL : kPathFileAccess,
                isFullDisk(systemErrno)
                    ? writeFailure(systemErrno, path)
                    : QStringLiteral("%1 %2: %3")
                          .arg(what, QDir::toNativeSeparators(path),
                               QString::fromLocal8Bit(std::strerror(systemErrno))));
}

void syncFolder(const QString& folder) {
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) {
        return; // the rename itself is done; a folder that cannot be opened is no reason to fail
    }
    ::fsync(fd);
    ::close(fd);
}

} // namespace

QString makeTemporary(const QString& target) {
    const QFileInfo info(target);
    QByteArray pattern =
        QFile::encodeName(info.absolutePath() + QStringLiteral("/.") + info.fileName()) +
        ".part-XXXXXX";
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0) {
        failSystem(errno, QStringLiteral("Cannot write in the folder of"), target);
    }
    ::close(fd);
    return QFile::decodeName(pattern);
}

void syncFile(const QString& path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
    if (fd < 0) {
        failSystem(errno, QStringLiteral("Cannot open"), path);
    }
    if (::fsync(fd) != 0) {
        const int error = errno;
        ::close(fd);
        failSystem(error, QStringLiteral("Cannot write"), path);
    }
    ::close(fd);
}

void commit(const QString& temporary, const QString& target) {
    if (::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(target).constData()) !=
        0) {
        failSystem(errno, QStringLiteral("Cannot write"), target);
    }
    syncFolder(QFileInfo(target).absolutePath());
}

void discard(const QString& temporary) {
    if (!temporary.isEmpty()) {
        ::unlink(QFile::encodeName(temporary).constData());
        ::unlink(QFile::encodeName(temporary + QStringLiteral("-journal")).constData());
    }
}

QString writeFailure(int systemErrno, const QString& path) {
    if (isFullDisk(systemErrno)) {
        return QStringLiteral("The disk is full: %1 could not be written.")
            .arg(QDir::toNativeSeparators(path));
    }
    return QStringLiteral("%1 could not be written: %2")
        .arg(QDir::toNativeSeparators(path), QString::fromLocal8Bit(std::strerror(systemErrno)));
}

int failureNumber(sqlite3* db) {
    return db != nullptr ? sqlite3_extended_errcode(db) : SQLITE_ERROR;
}

QString failureText(sqlite3* db, const QString& path, int systemErrno) {
    if (db == nullptr) {
        return QStringLiteral("out of memory");
    }
    const int code = sqlite3_errcode(db) & 0xFF;
    if (sqlite3_system_errno(db) != 0) {
        systemErrno = sqlite3_system_errno(db);
    }
    if (code == SQLITE_FULL || (code == SQLITE_IOERR && isFullDisk(systemErrno))) {
        return writeFailure(ENOSPC, path);
    }
    return QStringLiteral("%1 (%2)").arg(QString::fromUtf8(sqlite3_errmsg(db)),
                                         QDir::toNativeSeparators(path));
}

} // namespace Riri::SafeFile
