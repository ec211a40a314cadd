#pragma once

#include "TestSupport.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QString>
#include <functional>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

// Fills tblItems with n items in one statement, straight through SQLite.
inline bool seedItems(const TestInstall& install, int n, int first = 1) {
    return install.exec(
        QStringLiteral(
            "WITH RECURSIVE n(i) AS (SELECT %1 UNION ALL SELECT i + 1 FROM n WHERE i < %2) "
            "INSERT INTO tblItems (ItemID, ItemName, SN, Model, RoomName, Cost, CurValue, "
            "BuyDate, AccquiredFrom, Description, Notes, AddDate) SELECT 'A-' || i, "
            "'Item ' || i, 'SN-' || i, 'Model ' || i, 'Kitchen', i * 1.25, i, '2005-03-01', "
            "'Shop ' || i, 'A description of item number ' || i || ' that is long enough', "
            "'Notes ' || i, '2026-01-01 10:00:00' FROM n;")
            .arg(first)
            .arg(first + n - 1));
}

inline QByteArray fileHash(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return QByteArray();
    }
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

// The names in a folder besides . and .., hidden ones included.
inline QStringList folderEntries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

// Runs work in a forked child and returns its exit status (or 128 + the
// signal that ended it). The child never returns into the test.
inline int inChild(const std::function<int()>& work,
                   const std::function<void(pid_t)>& parent = {}) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        int status = 99;
        try {
            status = work();
        } catch (const std::exception&) {
            status = 98;
        }
        ::_exit(status);
    }
    if (parent) {
        parent(pid);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// Limits the size of every file the calling process writes, as a full disk
// would, and makes a write past it fail instead of ending the process.
inline void limitFileSize(rlim_t bytes) {
    ::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{bytes, bytes};
    ::setrlimit(RLIMIT_FSIZE, &limit);
}
