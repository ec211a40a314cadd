#include "ItemArgs.h"
#include "TestSupport.h"

#include <Riri/Connection.h>
#include <Riri/MsgBox.h>
#include <Riri/WriteGate.h>
#include <Riri/dllHome.h>

#include <QFile>
#include <QRandomGenerator>
#include <QTest>
#include <sqlite3.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

// What each operation of a new object made of a damaged database: "raised
// <number> <description>" for an error raised to the caller, "nothing <number>
// <description>" for a reader that returned no record set (with the
// connection's last error), anything else as it came.
QStringList outcomes() {
    QStringList lines;
    Riri::dllHome home;
    const auto run = [&lines](const char* name, const std::function<void()>& call) {
        try {
            call();
        } catch (const Riri::Error& e) {
            lines << QStringLiteral("%1 raised %2 %3")
                         .arg(QLatin1String(name))
                         .arg(e.number())
                         .arg(e.description());
        }
    };
    const auto read = [&](const char* name, std::shared_ptr<Riri::Recordset> rows) {
        lines << QStringLiteral("%1 %2 %3 %4")
                     .arg(QLatin1String(name),
                          rows ? QStringLiteral("rows") : QStringLiteral("nothing"))
                     .arg(home.conDataBase->lastErrorNumber())
                     .arg(home.conDataBase->lastErrorDescription());
    };
    ItemArgs item("A-1");
    QStringList owner{"L", "F", "M", "A", "C", "S", "Z", "F M L", "O-1"};
    QString id = "A-1";
    run("AddItems", [&] {
        lines << "AddItems returned " +
                     QString::number(home.AddItems(item.text, item.money, item.date));
    });
    run("UpdateItems", [&] {
        lines << "UpdateItems returned " +
                     QString::number(home.UpdateItems(item.text, item.money, item.date));
    });
    run("AddOwner", [&] { lines << "AddOwner returned " + QString::number(home.AddOwner(owner)); });
    run("UpdateOwner",
        [&] { lines << "UpdateOwner returned " + QString::number(home.UpdateOwner(owner)); });
    run("DeleteItem",
        [&] { lines << "DeleteItem returned " + QString::number(home.DeleteItem(id)); });
    run("GetNewItemID", [&] {
        home.GetNewItemID();
        lines << "GetNewItemID returned";
    });
    run("LoadOwner", [&] {
        home.LoadOwner();
        lines << "LoadOwner returned";
    });
    run("LoadEditItem", [&] {
        home.LoadEditItem();
        lines << "LoadEditItem returned";
    });
    read("LoadItems", home.LoadItems());
    read("RefreshItems", home.RefreshItems());
    read("RefreshOwner", home.RefreshOwner());
    lines << (home.conDataBase->isOpen() ? "left open" : "closed");
    return lines;
}

// The same in a child process that cannot read what only root may read:
// root reads every file whatever its permissions say.
QStringList outcomesUnprivileged() {
    if (::geteuid() != 0) {
        return outcomes();
    }
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0) {
        return {"no pipe"};
    }
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeEnds[0]);
        if (::setgid(65534) != 0 || ::setuid(65534) != 0) {
            ::_exit(3);
        }
        const QByteArray text = outcomes().join(QLatin1Char('\n')).toUtf8();
        const bool whole =
            ::write(pipeEnds[1], text.constData(), size_t(text.size())) == text.size();
        ::_exit(whole ? 0 : 4);
    }
    ::close(pipeEnds[1]);
    QByteArray text;
    char buffer[4096];
    for (ssize_t n; (n = ::read(pipeEnds[0], buffer, sizeof buffer)) > 0;) {
        text.append(buffer, n);
    }
    ::close(pipeEnds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        return {QStringLiteral("child ended with %1").arg(status)};
    }
    return QString::fromUtf8(text).split(QLatin1Char('\n'));
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

} // namespace

class tst_damaged : public QObject {
    Q_OBJECT
private slots:
    void damagedDatabaseNamesItsCause_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("description");
        QTest::newRow("random bytes") << "random" << SQLITE_NOTADB << "file is not a database";
        QTest::newRow("text file") << "text" << SQLITE_NOTADB << "file is not a database";
        QTest::newRow("truncated")
            << "truncated" << SQLITE_CORRUPT << "database disk image is malformed";
        QTest::newRow("no read permission")
            << "unreadable" << SQLITE_CANTOPEN << "unable to open database file";
    }

    // A file in the database's place that cannot be opened or read as a
    // database: every raised error and every reader's connection carries
    // SQLite's own cause, no rollback error hides it, nothing is shown or
    // logged, and the file stays as it was.
    void damagedDatabaseNamesItsCause() {
        QFETCH(QString, kind);
        QFETCH(int, number);
        QFETCH(QString, description);
        TestInstall install;
        const QString path = install.databasePath();
        if (kind == "truncated") {
            QVERIFY(install.exec("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n "
                                 "WHERE i < 300) INSERT INTO tblItems (ItemID, Description) "
                                 "SELECT 'A-' || i, printf('%.500c', 'x') FROM n"));
            QFile file(path);
            QVERIFY(file.resize(file.size() / 2));
        } else {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            if (kind == "text") {
                for (int i = 0; i < 50; ++i) {
                    file.write("Kitchen, brass lamp, 25.00\r\n");
                }
            } else {
                QRandomGenerator random(7);
                QByteArray bytes(8192, '\0');
                for (char& byte : bytes) {
                    byte = char(random.bounded(256));
                }
                file.write(bytes);
            }
        }
        if (kind == "unreadable") {
            // Reachable, but the file itself cannot be read or written.
            QVERIFY(QFile::setPermissions(install.folder(), QFile::Permissions(0x7755)));
            QVERIFY(QFile::setPermissions(install.folder() + "/home", QFile::Permissions(0x7755)));
            QVERIFY(QFile::setPermissions(path, QFile::Permissions()));
        }
        const QByteArray before = readAll(path);
        MsgResponder boxes; // no box at all

        const QStringList lines = kind == "unreadable" ? outcomesUnprivileged() : outcomes();
        const QString cause = QStringLiteral("%1 %2").arg(number).arg(description);
        QCOMPARE(lines.size(), 12);
        for (int i = 0; i < 8; ++i) {
            const QString& line = lines[i];
            QVERIFY2(line.contains(" raised " + cause), qPrintable(line));
        }
        for (int i = 8; i < 11; ++i) {
            QVERIFY2(lines[i].contains(" nothing " + cause), qPrintable(lines[i]));
        }
        QCOMPARE(lines[11], "closed");
        QCOMPARE(boxes.count(), 0);
        QVERIFY(!QFile::exists(install.logPath()));
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
        QCOMPARE(readAll(path), before);
    }

    // A file SQLite takes for an empty database opens; the first statement
    // fails and the writers take their specified path with its cause.
    // A write that comes while start-up still checks the file waits for the
    // verdict: stored when the file passed, refused (and nothing stored)
    // when it was found damaged.
    void writesWaitForTheStartupVerdict_data() {
        QTest::addColumn<bool>("damaged");
        QTest::newRow("check passes") << false;
        QTest::newRow("damage found") << true;
    }
    void writesWaitForTheStartupVerdict() {
        QFETCH(bool, damaged);
        TestInstall install;
        MsgResponder boxes;
        Riri::WriteGate::close();
        std::thread verdict([damaged] {
            // Delivered while the writer below is (most likely) waiting;
            // either order gives the same outcome.
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            damaged ? Riri::WriteGate::markDamaged() : Riri::WriteGate::open();
        });
        if (damaged) {
            boxes.expect(Riri::vbOK);
        }
        Riri::dllHome home;
        ItemArgs item("A-1");
        const bool stored = home.AddItems(item.text, item.money, item.date);
        verdict.join();
        QCOMPARE(stored, !damaged);
        QCOMPARE(install.scalar("SELECT count(*) FROM tblItems").toInt(), damaged ? 0 : 1);
        if (damaged) {
            QVERIFY2(boxes.last().prompt.contains(Riri::WriteGate::damagedMessage()),
                     qPrintable(boxes.last().prompt));
        }
        QCOMPARE(boxes.pending(), 0);
    }

    void emptyFileFailsAtTheFirstStatement() {
        TestInstall install;
        QVERIFY(QFile::resize(install.databasePath(), 0));
        MsgResponder boxes;
        Riri::dllHome home;
        ItemArgs item("A-1");
        boxes.expect(Riri::vbOK);
        QVERIFY(!home.AddItems(item.text, item.money, item.date));
        QCOMPARE(boxes.count(), 1);
        QVERIFY2(boxes.last().prompt.startsWith("ERROR # 1\r\n\r\nno such table: tblItems\r\n"),
                 qPrintable(boxes.last().prompt));
        QCOMPARE(install.logLines().value(7), "no such table: tblItems");
        QVERIFY(!home.LoadItems());
        QCOMPARE(home.conDataBase->lastErrorDescription(), "no such table: tblItems");
    }
};

QTEST_GUILESS_MAIN(tst_damaged)
#include "tst_damaged.moc"
