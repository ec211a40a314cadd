// Backups, restores, the file check and the automatic copies, with the
// faults they must survive: kills at any moment, a full disk, files that are
// no inventory, and a writer working during the copy.

#include "SafetySupport.h"
#include "TestSupport.h"

#include <Riri/AutoBackups.h>
#include <Riri/ComponentFolder.h>
#include <Riri/Error.h>
#include <Riri/ErrorNumbers.h>
#include <Riri/InventoryCheck.h>
#include <Riri/InventoryCopy.h>

#include <QDateTime>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <sqlite3.h>
#include <sys/prctl.h>

namespace {

bool setModified(const QString& path, const QDateTime& when) {
    QFile file(path);
    return file.open(QIODevice::ReadWrite) &&
           file.setFileTime(when, QFileDevice::FileModificationTime);
}

} // namespace

class tst_InventoryCopy : public QObject {
    Q_OBJECT

private slots:
    void backupIsVerifiedCopy();
    void backupFailsCleanlyIntoMissingFolder();
    void killDuringBackupLeavesNoPartialFile();
    void fullDiskDuringBackup();
    void backupWhileAnotherConnectionWrites();
    void restoreRefusesFilesThatAreNoInventory_data();
    void restoreRefusesFilesThatAreNoInventory();
    void restoreReplacesContentAndKeepsACopy();
    void restoreWaitsForNoWriter();
    void cancelAtAnyReportLeavesNothing_data();
    void cancelAtAnyReportLeavesNothing();
    void quickCheckFindsDamage();
    void dailyCopyOnlyWhenDue();
    void pruningKeepsSevenDailyAndThirtyDays();
    void pruningKeepsTheNewestTenOfEachEventKind_data();
    void pruningKeepsTheNewestTenOfEachEventKind();
    void leftoversAreSwept_data();
    void leftoversAreSwept();
};

void tst_InventoryCopy::backupIsVerifiedCopy() {
    TestInstall install;
    QVERIFY(seedItems(install, 500));
    QVERIFY(install.exec("INSERT INTO tblOwner (OwnerID, LName) VALUES ('O-1', 'Smith')"));
    QTemporaryDir out;
    const QString target = out.filePath("copy.inv");
    const Riri::InventoryCheck check = Riri::InventoryCopy::backUp(target);
    QVERIFY(check.ok);
    QCOMPARE(check.items, 500);
    QCOMPARE(check.owners, 1);
    QCOMPARE(Riri::InventoryCheck::inspect(target).newestChange, QString("2026-01-01 10:00:00"));
    QCOMPARE(folderEntries(out.path()), QStringList{"copy.inv"});

    sqlite3* db = nullptr;
    QCOMPARE(sqlite3_open_v2(target.toUtf8(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db, "SELECT count(*), sum(Cost) FROM tblItems", -1, &stmt, nullptr);
    QCOMPARE(sqlite3_step(stmt), SQLITE_ROW);
    QCOMPARE(sqlite3_column_int(stmt, 0), 500);
    QCOMPARE(sqlite3_column_double(stmt, 1),
             install.scalar("SELECT sum(Cost) FROM tblItems").toDouble());
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    // An existing file of the chosen name is replaced whole.
    QFile old(out.filePath("old.inv"));
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("not a database");
    old.close();
    QCOMPARE(Riri::InventoryCopy::backUp(old.fileName()).items, 500);
    QVERIFY(Riri::InventoryCheck::inspect(old.fileName()).ok);
}

void tst_InventoryCopy::backupFailsCleanlyIntoMissingFolder() {
    TestInstall install;
    QTemporaryDir out;
    try {
        Riri::InventoryCopy::backUp(out.filePath("missing/copy.inv"));
        QFAIL("a backup into a missing folder was reported as made");
    } catch (const Riri::Error& error) {
        QVERIFY2(error.description().contains("missing"), qPrintable(error.description()));
    }
    QVERIFY(folderEntries(out.path()).isEmpty());
}

void tst_InventoryCopy::killDuringBackupLeavesNoPartialFile() {
    TestInstall install;
    QVERIFY(seedItems(install, 30000));
    const QByteArray before = fileHash(install.databasePath());
    QTemporaryDir out;
    const QString target = out.filePath("copy.inv");
    // How long a whole backup takes here, to spread the kills over it.
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(inChild([&] { return Riri::InventoryCopy::backUp(target).items == 30000 ? 0 : 1; }),
             0);
    const qint64 whole = std::max<qint64>(timer.nsecsElapsed() / 1000, 2000);
    QFile::remove(target);

    int completed = 0;
    for (int round = 0; round < 25; ++round) {
        const qint64 after = QRandomGenerator::global()->bounded(whole);
        inChild([&] { return Riri::InventoryCopy::backUp(target).items == 30000 ? 0 : 1; },
                [&](pid_t pid) {
                    ::usleep(static_cast<useconds_t>(after));
                    ::kill(pid, SIGKILL);
                });
        if (QFile::exists(target)) {
            // Only a complete, verified copy ever carries the name.
            const Riri::InventoryCheck check = Riri::InventoryCheck::inspect(target);
            QVERIFY2(check.ok, qPrintable(check.problem));
            QCOMPARE(check.items, 30000);
            ++completed;
            QFile::remove(target);
        }
        for (const QString& name : folderEntries(out.path())) {
            QVERIFY2(name.startsWith(".copy.inv.part-"), qPrintable(name));
            QFile::remove(out.filePath(name));
        }
    }
    qInfo("%d of 25 killed backups had completed", completed);
    QCOMPARE(fileHash(install.databasePath()), before);
}

void tst_InventoryCopy::fullDiskDuringBackup() {
    TestInstall install;
    QVERIFY(seedItems(install, 5000));
    const QByteArray before = fileHash(install.databasePath());
    QTemporaryDir out;
    const QString target = out.filePath("copy.inv");
    const int status = inChild([&] {
        limitFileSize(64 * 1024);
        try {
            Riri::InventoryCopy::backUp(target);
            return 1;
        } catch (const Riri::Error& error) {
            std::fprintf(stderr, "%s\n", qPrintable(error.description()));
            return error.description().startsWith("The disk is full") ? 0 : 2;
        }
    });
    QCOMPARE(status, 0);
    QVERIFY(folderEntries(out.path()).isEmpty());
    QCOMPARE(fileHash(install.databasePath()), before);
    QVERIFY(Riri::InventoryCheck::inspect(install.databasePath()).ok);
}

void tst_InventoryCopy::backupWhileAnotherConnectionWrites() {
    TestInstall install;
    QVERIFY(seedItems(install, 2000));
    QTemporaryDir out;
    const QString target = out.filePath("copy.inv");
    // A second process adds items one transaction at a time, as the program
    // would, until it is stopped.
    const QByteArray path = install.databasePath().toUtf8();
    const pid_t writer = ::fork();
    if (writer == 0) {
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        sqlite3* db = nullptr;
        sqlite3_open_v2(path.constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
        sqlite3_busy_timeout(db, 5000);
        for (int i = 100000;; ++i) {
            const QByteArray sql =
                QString("INSERT INTO tblItems (ItemID, ItemName, RoomName) VALUES ('W-%1', "
                        "'Written %1', 'Den')")
                    .arg(i)
                    .toUtf8();
            sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr);
            ::usleep(500);
        }
    }
    struct Stop {
        pid_t pid;
        ~Stop() {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, nullptr, 0);
        }
    } stop{writer};
    // Every item committed before the backup begins, read with a connection
    // that waits for the writer's lock, once the writer is under way.
    QStringList before;
    QElapsedTimer waiting;
    waiting.start();
    while (before.size() < 2020 && waiting.elapsed() < 20000) {
        QTest::qWait(20);
        before.clear();
        sqlite3* db = nullptr;
        sqlite3_open_v2(path.constData(), &db, SQLITE_OPEN_READONLY, nullptr);
        sqlite3_busy_timeout(db, 5000);
        sqlite3_stmt* stmt = nullptr;
        sqlite3_prepare_v2(db, "SELECT ItemID FROM tblItems", -1, &stmt, nullptr);
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            before.append(
                QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0))));
        }
        sqlite3_finalize(stmt);
        sqlite3_close(db);
    }
    QVERIFY(before.size() > 2000);
    Riri::InventoryCheck copy;
    try {
        copy = Riri::InventoryCopy::backUp(target);
    } catch (const Riri::Error& error) {
        QFAIL(qPrintable(error.description()));
    }
    QTest::qWait(50);
    ::kill(writer, SIGKILL);
    ::waitpid(writer, nullptr, 0);
    QVERIFY(copy.items >= before.size());

    QVERIFY(Riri::InventoryCopy::restore(target).ok);
    QStringList after;
    for (const QVariantList& row : install.query("SELECT ItemID FROM tblItems")) {
        after.append(row.first().toString());
    }
    QCOMPARE(after.size(), copy.items);
    for (const QString& id : before) {
        QVERIFY2(after.contains(id), qPrintable(id));
    }
    QCOMPARE(install.scalar("PRAGMA integrity_check").toString(), QString("ok"));
}

void tst_InventoryCopy::restoreRefusesFilesThatAreNoInventory_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason");
    QTest::newRow("truncated") << "truncated"
                               << "damaged|malformed";
    QTest::newRow("random") << "random"
                            << "not an inventory database";
    QTest::newRow("empty") << "empty"
                           << "empty";
    QTest::newRow("text") << "text"
                          << "not an inventory database";
    QTest::newRow("foreign database") << "foreign"
                                      << "table tblItems is missing";
    QTest::newRow("column missing") << "column"
                                    << "no column Notes";
    QTest::newRow("missing") << "missing"
                             << "does not exist";
}

void tst_InventoryCopy::restoreRefusesFilesThatAreNoInventory() {
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    TestInstall install;
    QVERIFY(seedItems(install, 3000));
    QTemporaryDir out;
    const QString offered = out.filePath("offered.inv");
    if (kind == "truncated") {
        Riri::InventoryCopy::backUp(offered);
        QFile file(offered);
        QVERIFY(file.resize(file.size() / 2));
    } else if (kind == "random" || kind == "text" || kind == "empty") {
        QFile file(offered);
        QVERIFY(file.open(QIODevice::WriteOnly));
        if (kind == "random") {
            QByteArray bytes(200000, '\0');
            for (char& c : bytes) {
                c = static_cast<char>(QRandomGenerator::global()->bounded(256));
            }
            file.write(bytes);
        } else if (kind == "text") {
            file.write(QByteArray("Item Name,Room\r\nLamp,Kitchen\r\n").repeated(200));
        }
    } else if (kind == "foreign" || kind == "column") {
        sqlite3* db = nullptr;
        QCOMPARE(sqlite3_open(offered.toUtf8(), &db), SQLITE_OK);
        const char* sql = kind == "foreign"
                              ? "CREATE TABLE songs (title TEXT); INSERT INTO songs VALUES ('x');"
                              : "CREATE TABLE tblItems (ID INTEGER PRIMARY KEY, ItemID, ItemName, "
                                "SN, Model, RoomName, Cost, CurValue, BuyDate, AccquiredFrom, "
                                "Description, AddDate, ModDate); CREATE TABLE tblOwner (OwnerID);";
        QCOMPARE(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(db);
    }
    const QByteArray before = fileHash(install.databasePath());
    try {
        Riri::InventoryCopy::restore(offered);
        QFAIL("a file that is no inventory was restored");
    } catch (const Riri::Error& error) {
        QVERIFY2(error.description().contains(QRegularExpression(reason)),
                 qPrintable(error.description()));
    }
    QCOMPARE(fileHash(install.databasePath()), before);
    QVERIFY(!QFileInfo::exists(Riri::AutoBackups::folder()));
    QCOMPARE(folderEntries(install.folder() + "/home"), QStringList{"inv.inv"});
}

void tst_InventoryCopy::restoreReplacesContentAndKeepsACopy() {
    TestInstall install;
    QVERIFY(seedItems(install, 10));
    QTemporaryDir out;
    const QString backup = out.filePath("ten.inv");
    Riri::InventoryCopy::backUp(backup);
    QVERIFY(seedItems(install, 5, 11));
    QFile::setPermissions(install.databasePath(), QFile::ReadOwner | QFile::WriteOwner);

    const Riri::InventoryCheck restored = Riri::InventoryCopy::restore(backup);
    QCOMPARE(restored.items, 10);
    QCOMPARE(install.scalar("SELECT count(*) FROM tblItems").toInt(), 10);
    QCOMPARE(install.scalar("SELECT max(ItemID) FROM tblItems").toString(), QString("A-9"));
    QCOMPARE(QFile::permissions(install.databasePath()) &
                 ~(QFile::ReadUser | QFile::WriteUser | QFile::ExeUser),
             QFile::ReadOwner | QFile::WriteOwner);
    // The inventory as it was before is kept among the automatic copies.
    const QStringList copies = QDir(Riri::AutoBackups::folder()).entryList(QDir::Files);
    QCOMPARE(copies.size(), 1);
    QVERIFY(copies.first().endsWith("-before-restore.inv"));
    QCOMPARE(
        Riri::InventoryCheck::inspect(Riri::AutoBackups::folder() + "/" + copies.first()).items,
        15);
    QCOMPARE(folderEntries(install.folder() + "/home"), (QStringList{"backups", "inv.inv"}));
}

void tst_InventoryCopy::restoreWaitsForNoWriter() {
    TestInstall install;
    QVERIFY(seedItems(install, 10));
    QTemporaryDir out;
    const QString backup = out.filePath("ten.inv");
    Riri::InventoryCopy::backUp(backup);
    // Another program is in the middle of a write.
    sqlite3* writer = nullptr;
    QCOMPARE(sqlite3_open(install.databasePath().toUtf8(), &writer), SQLITE_OK);
    QCOMPARE(sqlite3_exec(writer,
                          "BEGIN IMMEDIATE; INSERT INTO tblItems (ItemID, ItemName) VALUES "
                          "('W-1', 'Written')",
                          nullptr, nullptr, nullptr),
             SQLITE_OK);
    const QByteArray before = fileHash(install.databasePath());
    try {
        Riri::InventoryCopy::restore(backup);
        QFAIL("the inventory was replaced under a writer");
    } catch (const Riri::Error& error) {
        QVERIFY2(error.description().contains("in use by another program"),
                 qPrintable(error.description()));
    }
    QCOMPARE(fileHash(install.databasePath()), before);
    QCOMPARE(sqlite3_exec(writer, "COMMIT", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(writer);
    QCOMPARE(install.scalar("SELECT count(*) FROM tblItems").toInt(), 11);
}

void tst_InventoryCopy::cancelAtAnyReportLeavesNothing_data() {
    QTest::addColumn<bool>("restoring");
    QTest::newRow("backup") << false;
    QTest::newRow("restore") << true;
}

// Cancelled at ever later reports, up to the last one before the restore's
// swap, the operation changes nothing; run to the end, its reports grow to
// the whole.
void tst_InventoryCopy::cancelAtAnyReportLeavesNothing() {
    QFETCH(bool, restoring);
    TestInstall install;
    // Enough pages for several steps of the copy.
    QVERIFY(seedItems(install, 30000));
    QTemporaryDir out;
    const QString backup = out.filePath("backup.inv");
    QVERIFY(Riri::InventoryCopy::backUp(backup).ok);
    QVERIFY(install.exec("DELETE FROM tblItems WHERE ID > 10"));
    const QString home = install.folder() + "/home";
    QList<std::pair<qint64, qint64>> reports;
    // Runs the operation, cancelling at report `at` (never when 0); false
    // when it was cancelled.
    const auto run = [&](int at) {
        reports.clear();
        const Riri::Progress progress = [&reports, at](qint64 done, qint64 total) {
            reports.append({done, total});
            return reports.size() != at;
        };
        try {
            if (restoring) {
                Riri::InventoryCopy::restore(backup, progress);
            } else {
                Riri::InventoryCopy::backUp(out.filePath("again.inv"), progress);
            }
        } catch (const Riri::Error& error) {
            if (error.number() != Riri::ErrorNumber::Cancelled) {
                throw;
            }
            return false;
        }
        return true;
    };
    const auto unchanged = [&](const QByteArray& bytes, const QStringList& entries,
                               const QStringList& targets) {
        return fileBytes(install.databasePath()) == bytes && folderEntries(home) == entries &&
               folderEntries(out.path()) == targets;
    };

    QByteArray bytes = fileBytes(install.databasePath());
    QStringList entries = folderEntries(home);
    int at = 1;
    while (!run(at)) {
        QCOMPARE(reports.size(), at);
        QVERIFY2(unchanged(bytes, entries, {"backup.inv"}), qPrintable(QString::number(at)));
        at *= 3;
    }
    QVERIFY(at > 3); // some steps were cancelled in the middle
    const qint64 whole = reports.last().second;
    QVERIFY(whole > 0);
    QCOMPARE(reports.last().first, whole);
    for (qsizetype i = 1; i < reports.size(); ++i) {
        QVERIFY(reports[i].first >= reports[i - 1].first);
        QCOMPARE(reports[i].second, whole);
    }
    QCOMPARE(install.scalar("SELECT count(*) FROM tblItems").toInt(), restoring ? 30000 : 10);

    // At the very last report the restore is still undone: the automatic
    // copy and the swap come after it.
    const int last = static_cast<int>(reports.size());
    bytes = fileBytes(install.databasePath());
    entries = folderEntries(home);
    const QStringList targets = folderEntries(out.path());
    QVERIFY(!run(last));
    QVERIFY(unchanged(bytes, entries, targets));
}

void tst_InventoryCopy::quickCheckFindsDamage() {
    TestInstall install;
    QVERIFY(seedItems(install, 3000));
    QVERIFY(Riri::InventoryCheck::quickCheck(install.databasePath()).ok);
    // Garble one page in the middle of the table.
    QFile file(install.databasePath());
    QVERIFY(file.open(QIODevice::ReadWrite));
    const qint64 size = file.size();
    file.seek(size / 2);
    file.write(QByteArray(4096, '\x5a'));
    file.close();
    const QByteArray damaged = fileHash(install.databasePath());
    const Riri::InventoryCheck check = Riri::InventoryCheck::quickCheck(install.databasePath());
    QVERIFY(!check.ok);
    QVERIFY2(check.problem.contains("damaged") || check.problem.contains("malformed"),
             qPrintable(check.problem));
    // Looking did not write.
    QCOMPARE(fileHash(install.databasePath()), damaged);
}

void tst_InventoryCopy::dailyCopyOnlyWhenDue() {
    TestInstall install;
    QVERIFY(seedItems(install, 20));
    const QString first = Riri::AutoBackups::makeDailyIfDue();
    QVERIFY(!first.isEmpty());
    QVERIFY(first.endsWith("-daily.inv"));
    // A day has not passed.
    QVERIFY(Riri::AutoBackups::makeDailyIfDue().isEmpty());
    // Two days on, but nothing changed since the copy.
    QVERIFY(setModified(install.databasePath(), QDateTime::currentDateTime().addSecs(-60)));
    QVERIFY(Riri::AutoBackups::makeDailyIfDue(QDateTime::currentDateTime().addDays(2)).isEmpty());
    // Two days on, and the inventory changed after the copy.
    QVERIFY(setModified(install.databasePath(), QDateTime::currentDateTime().addSecs(60)));
    QVERIFY(!Riri::AutoBackups::makeDailyIfDue(QDateTime::currentDateTime().addDays(2)).isEmpty());

    // A copy that cannot be made is logged and stops nothing.
    QFile::remove(install.databasePath());
    QDir(Riri::AutoBackups::folder()).removeRecursively();
    QVERIFY(Riri::AutoBackups::make(Riri::AutoBackups::Kind::BeforeImport).isEmpty());
    QVERIFY(install.logLines().contains("Automatic Backup - DLL Function"));
}

void tst_InventoryCopy::pruningKeepsSevenDailyAndThirtyDays() {
    TestInstall install;
    QVERIFY(QDir().mkpath(Riri::AutoBackups::folder()));
    const QDateTime now = QDateTime::currentDateTime();
    const auto touch = [](const QDateTime& when, const QString& kind) {
        QFile file(Riri::AutoBackups::folder() + "/inv-" + when.toString("yyyyMMdd-HHmmsszzz") +
                   "-" + kind + ".inv");
        file.open(QIODevice::WriteOnly);
        return QFileInfo(file).fileName();
    };
    QStringList daily;
    for (int day = 1; day <= 10; ++day) {
        daily.append(touch(now.addDays(-day), "daily"));
    }
    const QString recentRestore = touch(now.addDays(-29), "before-restore");
    const QString oldImport = touch(now.addDays(-31), "before-import");
    const QString foreign = "notes.txt";
    QFile(Riri::AutoBackups::folder() + "/" + foreign).open(QIODevice::WriteOnly);

    Riri::AutoBackups::prune(now);
    const QStringList left = QDir(Riri::AutoBackups::folder()).entryList(QDir::Files);
    for (int i = 0; i < 10; ++i) {
        QCOMPARE(left.contains(daily[i]), i < 7);
    }
    QVERIFY(left.contains(recentRestore));
    QVERIFY(!left.contains(oldImport));
    QVERIFY(left.contains(foreign));
    QDateTime made;
    QCOMPARE(QFileInfo(Riri::AutoBackups::newest(&made)).fileName(), daily.first());
    QCOMPARE(made.date(), now.addDays(-1).date());
}

// Many restores or imports in a month must not fill the disk: of each
// kind the newest ten stay (and none older than 30 days); the kept files
// of damaged inventories follow the same rule.
void tst_InventoryCopy::pruningKeepsTheNewestTenOfEachEventKind_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<int>("made");
    QTest::addColumn<int>("kept");
    QTest::newRow("before import") << "before-import"
                                   << ".inv" << 12 << 10;
    QTest::newRow("before restore") << "before-restore"
                                    << ".inv" << 11 << 10;
    QTest::newRow("damaged file kept") << "before-restore"
                                       << ".unchecked" << 13 << 10;
    QTest::newRow("few") << "before-import"
                         << ".inv" << 4 << 4;
}

void tst_InventoryCopy::pruningKeepsTheNewestTenOfEachEventKind() {
    QFETCH(QString, kind);
    QFETCH(QString, suffix);
    QFETCH(int, made);
    QFETCH(int, kept);
    TestInstall install;
    QVERIFY(QDir().mkpath(Riri::AutoBackups::folder()));
    const QDateTime now = QDateTime::currentDateTime();
    QStringList names; // newest first
    for (int i = 1; i <= made; ++i) {
        names.append("inv-" + now.addSecs(-60 * i).toString("yyyyMMdd-HHmmsszzz") + "-" + kind +
                     suffix);
        QFile(Riri::AutoBackups::folder() + "/" + names.last()).open(QIODevice::WriteOnly);
    }
    // A copy of the other kinds is not counted with these.
    const QString daily = "inv-" + now.toString("yyyyMMdd-HHmmsszzz") + "-daily.inv";
    QFile(Riri::AutoBackups::folder() + "/" + daily).open(QIODevice::WriteOnly);

    Riri::AutoBackups::prune(now);
    const QStringList left = QDir(Riri::AutoBackups::folder()).entryList(QDir::Files);
    for (int i = 0; i < made; ++i) {
        QVERIFY2(left.contains(names[i]) == (i < kept), qPrintable(names[i]));
    }
    QVERIFY(left.contains(daily));
}

// What a killed backup, restore, copy or export leaves goes at the next
// start: only the program's own temporary names, and in a folder that is
// not the program's only those of inventory and CSV files.
void tst_InventoryCopy::leftoversAreSwept_data() {
    QTest::addColumn<QString>("folder"); // "home", "backups" or "other"
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("removed");
    QTest::newRow("restore") << "home"
                             << ".inv.inv.part-Ab12Cd" << true;
    QTest::newRow("restore journal") << "home"
                                     << ".inv.inv.part-Ab12Cd-journal" << true;
    QTest::newRow("automatic copy") << "backups"
                                    << ".inv-20261201-101010100-daily.inv.part-x1Y2z3" << true;
    QTest::newRow("backup elsewhere") << "other"
                                      << ".my backup.inv.part-a1b2c3" << true;
    QTest::newRow("backup archive elsewhere") << "other"
                                              << ".my backup.zip.part-a1b2c3" << true;
    QTest::newRow("export elsewhere") << "other"
                                      << ".items.CSV.part-a1b2c3" << true;
    QTest::newRow("another program's download") << "other"
                                                << ".film.mp4.part-a1b2c3" << false;
    QTest::newRow("the inventory") << "home"
                                   << "inv.inv" << false;
    QTest::newRow("a copy") << "backups"
                            << "inv-20261201-101010100-daily.inv" << false;
    QTest::newRow("not hidden") << "home"
                                << "notes.part-123456" << false;
    QTest::newRow("other suffix") << "home"
                                  << ".inv.inv.part-12345" << false;
    // Written a minute ago: perhaps a command-line backup still running.
    QTest::newRow("still being written") << "home"
                                         << ".inv.inv.part-Ab12Cd" << false;
}

void tst_InventoryCopy::leftoversAreSwept() {
    QFETCH(QString, folder);
    QFETCH(QString, name);
    QFETCH(bool, removed);
    TestInstall install;
    QTemporaryDir other;
    const QString dir = folder == "home"      ? install.folder() + "/home"
                        : folder == "backups" ? Riri::AutoBackups::folder()
                                              : other.path();
    QVERIFY(QDir().mkpath(dir));
    const QString path = dir + "/" + name;
    const bool fresh = QByteArray(QTest::currentDataTag()) == "still being written";
    if (!QFile::exists(path)) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("part");
    }
    QFile written(path);
    QVERIFY(written.open(QIODevice::ReadWrite));
    QVERIFY(written.setFileTime(QDateTime::currentDateTime().addSecs(fresh ? -60 : -7200),
                                QFileDevice::FileModificationTime));
    written.close();
    QCOMPARE(Riri::AutoBackups::sweepLeftovers({other.path()}), removed ? 1 : 0);
    QCOMPARE(QFile::exists(path), !removed);
}

QTEST_GUILESS_MAIN(tst_InventoryCopy)
#include "tst_inventorycopy.moc"
