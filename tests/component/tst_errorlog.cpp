#include "TestSupport.h"

#include <Riri/Error.h>
#include <Riri/ErrorLog.h>

#include <QFile>
#include <QTest>
#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using Riri::ErrorLog::ComponentSource;

const QString kTitle = "              Dedi Rividizar - Error Log";

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Runs append in a child process whose files may grow by at most `room`
// bytes, as on a full file system; the child ends with 0 when error 75 was
// raised, 1 when the block went in, 2 on any other error.
int appendWithRoom(const QString& path, rlim_t room) {
    const pid_t child = ::fork();
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlim_t size = rlim_t(QFile(path).size());
        const rlimit limit{size + room, size + room};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) {
            ::_exit(3);
        }
        try {
            Riri::ErrorLog::appendComponentBlock(path, ComponentSource::AddItems, 19,
                                                 "UNIQUE constraint failed: tblItems.ItemID");
        } catch (const Riri::Error& e) {
            ::_exit(e.number() == 75 ? 0 : 2);
        }
        ::_exit(1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Starts `writers` processes that each append one block at the same moment;
// the number of them that failed or raised an error.
int logAtOnce(const QString& path, int writers, int round) {
    int start[2];
    if (::pipe(start) != 0) {
        return writers;
    }
    QList<pid_t> children;
    for (int w = 0; w < writers; ++w) {
        const pid_t child = ::fork();
        if (child == 0) {
            ::close(start[1]);
            char go = 0;
            // Every writer waits here until the parent lets all go at once.
            [[maybe_unused]] const ssize_t n = ::read(start[0], &go, 1);
            try {
                Riri::ErrorLog::appendComponentBlock(
                    path, ComponentSource::AddItems, 1000 + w,
                    QStringLiteral("round %1 writer %2").arg(round).arg(w));
            } catch (const Riri::Error&) {
                ::_exit(1);
            }
            ::_exit(0);
        }
        children << child;
    }
    ::close(start[0]);
    ::close(start[1]); // end of file: every writer reads it at once
    int failed = writers - int(children.size());
    for (pid_t child : children) {
        int status = 0;
        ::waitpid(child, &status, 0);
        failed += WIFEXITED(status) && WEXITSTATUS(status) == 0 ? 0 : 1;
    }
    return failed;
}

} // namespace

class tst_errorlog : public QObject {
    Q_OBJECT
private slots:
    // Eight processes log their first failure at the same moment into a
    // missing log, twenty times over: every block is there once and whole,
    // one banner heads the file, and every line ends with CR LF.
    void processesLogAtOnce() {
        TestInstall install;
        const QString path = install.logPath();
        constexpr int kWriters = 8;
        constexpr int kRounds = 20;
        for (int round = 0; round < kRounds; ++round) {
            QFile::remove(path);
            QCOMPARE(logAtOnce(path, kWriters, round), 0);

            const QByteArray bytes = readAll(path);
            QCOMPARE(bytes.count("\r\n"), bytes.count('\n'));
            QCOMPARE(bytes.count('\r'), bytes.count('\n'));
            QVERIFY(bytes.endsWith("\r\n"));
            const QStringList lines = install.logLines();
            // A new file's block has nine lines, every later one six.
            QCOMPARE(lines.size(), 9 + (kWriters - 1) * 6);
            QCOMPARE(lines.count(kTitle), 1);
            QCOMPARE(lines[1], kTitle);
            for (int w = 0; w < kWriters; ++w) {
                const QString description = QStringLiteral("round %1 writer %2").arg(round).arg(w);
                QCOMPARE(lines.count(description), 1);
                // The block around it is whole: its own number, source and rules.
                const auto at = lines.indexOf(description);
                QVERIFY(lines[at - 3].endsWith(QStringLiteral("Error: %1").arg(1000 + w)));
                QCOMPARE(lines[at - 2], "AddItems - DLL Function");
                QCOMPARE(lines[at - 1], Riri::ErrorLog::ruleLine());
                QCOMPARE(lines[at + 1], Riri::ErrorLog::ruleLine());
            }
        }
    }

    // A block that does not fit on the file system raises error 75 and
    // leaves the log exactly as it was: no half block, no empty file.
    void fullFileSystemLeavesTheLogAsItWas() {
        TestInstall install;
        const QString path = install.logPath();
        Riri::ErrorLog::appendComponentBlock(path, ComponentSource::AddOwner, 19, "first");
        const QByteArray before = readAll(path);
        QCOMPARE(appendWithRoom(path, 40), 0);
        QCOMPARE(readAll(path), before);
        QCOMPARE(appendWithRoom(path, 0), 0);
        QCOMPARE(readAll(path), before);
        // With room again, the next block follows whole.
        Riri::ErrorLog::appendComponentBlock(path, ComponentSource::AddOwner, 19, "second");
        const QStringList lines = install.logLines();
        QCOMPARE(lines[9], Riri::ErrorLog::frameLine());
        QCOMPARE(lines[13], "second");
        QCOMPARE(lines.size(), 15);
        QCOMPARE(lines.last(), Riri::ErrorLog::ruleLine());
    }

    // The first block that cannot be written into a missing log leaves no
    // log that would make the next block go without its banner.
    void fullFileSystemOnAMissingLog() {
        TestInstall install;
        const QString path = install.logPath();
        QCOMPARE(appendWithRoom(path, 100), 0);
        QVERIFY(!QFile::exists(path));
        Riri::ErrorLog::appendComponentBlock(path, ComponentSource::AddItems, 19, "later");
        const QStringList lines = install.logLines();
        QCOMPARE(lines.size(), 9);
        QCOMPARE(lines[1], kTitle);
        QCOMPARE(lines[7], "later");
    }
};

QTEST_GUILESS_MAIN(tst_errorlog)
#include "tst_errorlog.moc"
