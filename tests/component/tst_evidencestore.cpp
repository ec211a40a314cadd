// The evidence of the items: files stored once by their hash before the rows
// that name them, the rows' edits, what deleting an item leaves, the daily
// sweep and the check of every file.

#include "EvidenceTesting.h"
#include "TestSupport.h"

#include <Riri/AutoBackups.h>
#include <Riri/Error.h>
#include <Riri/EvidenceStore.h>
#include <Riri/MsgBox.h>
#include <Riri/dllHome.h>

#include <QTest>
#include <sqlite3.h>

using namespace EvidenceTesting;

namespace {

// Makes a file older than the sweep's hour of grace.
bool age(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) &&
           file.setFileTime(QDateTime::currentDateTime().addSecs(-7200),
                            QFileDevice::FileModificationTime);
}

// tblEvidence, row by row: "ItemID|Kind|Caption|FileName|Size|Sha256".
QStringList evidenceRows(const TestInstall& install) {
    QStringList rows;
    for (const QVariantList& row : install.query(QStringLiteral(
             "SELECT i.ItemID || '|' || e.Kind || '|' || e.Caption || '|' || e.FileName || '|' "
             "|| e.Size || '|' || e.Sha256 FROM tblEvidence e JOIN tblItems i ON i.ID = "
             "e.ItemRef ORDER BY e.ID"))) {
        rows.append(row.value(0).toString());
    }
    return rows;
}

} // namespace

class tst_EvidenceStore : public QObject {
    Q_OBJECT

private slots:
    void storesEachContentOnce_data() {
        QTest::addColumn<QByteArrayList>("files");
        QTest::newRow("one file") << QByteArrayList{"receipt"};
        QTest::newRow("two files") << QByteArrayList{"photo", "label"};
        QTest::newRow("the same file twice") << QByteArrayList{"photo", "photo"};
        QTest::newRow("an empty file") << QByteArrayList{""};
    }
    void storesEachContentOnce() {
        QFETCH(QByteArrayList, files);
        TestInstall install;
        QVERIFY(numberedItems(install, 1, 2));
        const QList<qint64> ids = attach(install, QStringLiteral("A-2"), files, "On the shelf");
        QCOMPARE(ids.size(), files.size());
        QStringList hashes;
        QStringList rows;
        for (const QByteArray& file : files) {
            hashes.append(sha256(file));
            rows.append(QStringLiteral("A-2|Other|On the shelf|%1.bin|%2|%3")
                            .arg(QString::fromUtf8(file))
                            .arg(file.size())
                            .arg(sha256(file)));
            QCOMPARE(fileBytes(storedPath(install, file)), file);
        }
        QCOMPARE(evidenceRows(install), rows);
        hashes.removeDuplicates();
        hashes.sort();
        QCOMPARE(storedFiles(install), hashes);
        // Read back through the store, in the order added.
        Riri::EvidenceStore store;
        const QList<Riri::Attachment> listed = store.list(store.itemRefOf(QStringLiteral("A-2")));
        QCOMPARE(listed.size(), files.size());
        for (qsizetype i = 0; i < files.size(); ++i) {
            QCOMPARE(listed[i].id, ids[i]);
            QCOMPARE(store.filePath(listed[i]), storedPath(install, files[i]));
        }
        QVERIFY(store.list(store.itemRefOf(QStringLiteral("A-1"))).isEmpty());
    }

    // A failed add leaves no row; a file already stored stays for the sweep.
    void failedAddLeavesNoRow_data() {
        QTest::addColumn<QString>("failure");
        QTest::addColumn<int>("stored");
        QTest::newRow("cancelled") << "cancel" << 1;
        QTest::newRow("a source that is not there") << "missing" << 0;
        QTest::newRow("an item that is not there") << "no item" << 0;
        // The test holds the write lock: the files are stored before the
        // rows' transaction is even tried.
        QTest::newRow("the inventory locked") << "locked" << 2;
        QTest::newRow("a newer version's inventory") << "newer" << 2;
    }
    void failedAddLeavesNoRow() {
        QFETCH(QString, failure);
        QFETCH(int, stored);
        TestInstall install;
        QVERIFY(numberedItems(install, 1, 1));
        QList<Riri::NewAttachment> files(2);
        files[0].sourcePath = sourceFile(install, "a.jpg", "first");
        files[1].sourcePath = failure == "missing" ? install.folder() + "/sources/gone.jpg"
                                                   : sourceFile(install, "b.jpg", "second");
        Riri::EvidenceStore store;
        const qint64 item = failure == "no item" ? 99 : store.itemRefOf(QStringLiteral("A-1"));
        Riri::Progress progress;
        if (failure == "cancel") {
            progress = [](qint64 done, qint64) { return done < 6; };
        }
        if (failure == "newer") {
            QVERIFY(install.exec(QStringLiteral("PRAGMA user_version = 99")));
        }
        sqlite3* locker = nullptr;
        if (failure == "locked") {
            sqlite3_open(install.databasePath().toUtf8().constData(), &locker);
            QCOMPARE(sqlite3_exec(locker, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
        }
        QVERIFY_THROWS_EXCEPTION(Riri::Error, store.add(item, files, progress));
        sqlite3_close_v2(locker);
        QCOMPARE(evidenceRows(install), QStringList());
        QCOMPARE(storedFiles(install).size(), stored);
        // Nothing half-written is left under a temporary name.
        QCOMPARE(QDir(install.folder() + "/home/evidence")
                     .entryList({".*.part-*"}, QDir::Files | QDir::Hidden),
                 QStringList());
    }

    // The edits reach the row and leave the other row and every file alone.
    void editsReachTheRow_data() {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QString>("expected"); // Kind|Caption, or empty when removed
        QTest::newRow("caption") << "caption"
                                 << "Other|Serial label on the back";
        QTest::newRow("kind") << "kind"
                              << "Serial label|";
        QTest::newRow("remove") << "remove"
                                << "";
    }
    void editsReachTheRow() {
        QFETCH(QString, edit);
        QFETCH(QString, expected);
        TestInstall install;
        QVERIFY(numberedItems(install, 1, 1));
        const QList<qint64> ids = attach(install, QStringLiteral("A-1"), {"label", "other"});
        QCOMPARE(ids.size(), 2);
        Riri::EvidenceStore store;
        if (edit == "caption") {
            store.setCaption(ids[0], QStringLiteral("Serial label on the back"));
        } else if (edit == "kind") {
            store.setKind(ids[0], Riri::EvidenceKind::SerialLabel);
        } else {
            store.remove(ids[0]);
            QVERIFY_THROWS_EXCEPTION(Riri::Error, store.attachment(ids[0]));
            QVERIFY_THROWS_EXCEPTION(Riri::Error, store.remove(ids[0]));
        }
        QStringList rows = evidenceRows(install);
        QCOMPARE(rows.size(), expected.isEmpty() ? 1 : 2);
        QVERIFY(rows.last().startsWith("A-1|Other||other.bin|"));
        if (!expected.isEmpty()) {
            QVERIFY(rows.first().startsWith("A-1|" + expected + "|label.bin|"));
            const Riri::Attachment read = store.attachment(ids[0]);
            QCOMPARE(Riri::evidenceKindName(read.kind) + "|" + read.caption, expected);
        }
        QCOMPARE(storedFiles(install).size(), 2);
    }

    // Deleting an item deletes its rows in the same transaction, whoever
    // deletes it; the files stay for the sweep.
    void deletingAnItemDropsItsRows_data() {
        QTest::addColumn<bool>("throughComponent");
        QTest::newRow("the component's delete") << true;
        QTest::newRow("a plain SQL delete") << false;
    }
    void deletingAnItemDropsItsRows() {
        QFETCH(bool, throughComponent);
        TestInstall install;
        QVERIFY(numberedItems(install, 1, 2));
        QCOMPARE(attach(install, QStringLiteral("A-1"), {"one", "two"}).size(), 2);
        QCOMPARE(attach(install, QStringLiteral("A-2"), {"two"}).size(), 1);
        if (throughComponent) {
            MsgResponder boxes;
            boxes.expect(Riri::vbYes);
            QString id = QStringLiteral("A-1");
            QVERIFY(Riri::dllHome().DeleteItem(id));
        } else {
            QVERIFY(install.exec(QStringLiteral("DELETE FROM tblItems WHERE ItemID = 'A-1'")));
        }
        QCOMPARE(evidenceRows(install).size(), 1);
        QVERIFY(evidenceRows(install).first().startsWith("A-2|"));
        QCOMPARE(storedFiles(install).size(), 2);
    }

    // Whether the sweep keeps the file of "gone", which a removed row named.
    void sweepKeepsWhatIsNamed_data() {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<bool>("kept");
        QTest::newRow("named by the inventory") << "named" << true;
        QTest::newRow("named by an automatic copy") << "copy" << true;
        QTest::newRow("named by nothing") << "" << false;
        QTest::newRow("beside a copy of the first version") << "old copy" << false;
        QTest::newRow("named by nothing, written within the hour") << "young" << true;
    }
    void sweepKeepsWhatIsNamed() {
        QFETCH(QString, setup);
        QFETCH(bool, kept);
        TestInstall install;
        QVERIFY(numberedItems(install, 1, 1));
        const QList<qint64> ids = attach(install, QStringLiteral("A-1"), {"gone", "kept"});
        QCOMPARE(ids.size(), 2);
        if (setup == "copy") {
            QVERIFY(!Riri::AutoBackups::make(Riri::AutoBackups::Kind::Daily).isEmpty());
        } else if (setup == "old copy") {
            QVERIFY(QDir().mkpath(Riri::AutoBackups::folder()));
            QVERIFY(QFile::copy(QStringLiteral(QUORVANE_PRISTINE_DB),
                                Riri::AutoBackups::folder() + "/inv-20261201-101010000-daily.inv"));
        }
        Riri::EvidenceStore store;
        if (setup != "named") {
            store.remove(ids[0]);
        }
        const QString gone = storedPath(install, "gone");
        QVERIFY(setup == "young" || age(gone));
        QVERIFY(age(storedPath(install, "kept")));
        // A temporary file a killed add left behind an hour ago goes too.
        const QString leftover = install.folder() + "/home/evidence/.incoming.part-Ab12Cd";
        QVERIFY(QFile::copy(sourceFile(install, "x", "half"), leftover) && age(leftover));

        QCOMPARE(store.sweepIfDue(), kept ? 1 : 2);
        QCOMPARE(QFile::exists(gone), kept);
        QVERIFY(QFile::exists(storedPath(install, "kept")));
        QVERIFY(!QFile::exists(leftover));
    }

    void sweepRunsAtMostDaily() {
        TestInstall install;
        QVERIFY(numberedItems(install, 1, 1));
        const QList<qint64> ids = attach(install, QStringLiteral("A-1"), {"one", "two"});
        QCOMPARE(ids.size(), 2);
        Riri::EvidenceStore store;
        const QDateTime now = QDateTime::currentDateTime();
        store.remove(ids[0]);
        store.remove(ids[1]);
        QVERIFY(age(storedPath(install, "one")));
        QCOMPARE(store.sweepIfDue(now), 1);
        QVERIFY(age(storedPath(install, "two")));
        QCOMPARE(store.sweepIfDue(now.addSecs(23 * 3600)), 0);
        QCOMPARE(store.sweepIfDue(now.addSecs(25 * 3600)), 1);
        QVERIFY(storedFiles(install).isEmpty());
    }

    // Every named file is read and hashed once; a missing or altered one is
    // named with each item whose row names it.
    void checkNamesDamagedFiles_data() {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<QStringList>("problems");
        QTest::newRow("sound") << "" << QStringList();
        QTest::newRow("altered") << "alter" << QStringList{"A-1|Item 1|receipt.bin|altered"};
        QTest::newRow("missing, named by two items")
            << "remove"
            << QStringList{"A-1|Item 1|photo.bin|missing", "A-2|Item 2|photo.bin|missing"};
    }
    void checkNamesDamagedFiles() {
        QFETCH(QString, damage);
        QFETCH(QStringList, problems);
        TestInstall install;
        QVERIFY(numberedItems(install, 1, 2));
        QCOMPARE(attach(install, QStringLiteral("A-1"), {"photo", "receipt"}).size(), 2);
        QCOMPARE(attach(install, QStringLiteral("A-2"), {"photo"}).size(), 1);
        QVERIFY(damage != "alter" || alterFile(storedPath(install, "receipt")));
        QVERIFY(damage != "remove" || QFile::remove(storedPath(install, "photo")));
        qint64 whole = -1;
        QStringList named;
        for (const Riri::EvidenceProblem& problem :
             Riri::EvidenceStore().check([&](qint64, qint64 total) {
                 whole = total;
                 return true;
             })) {
            named.append(QStringList{problem.itemId, problem.itemName, problem.fileName,
                                     problem.missing ? "missing" : "altered"}
                             .join('|'));
        }
        QCOMPARE(named, problems);
        QCOMPARE(whole, qint64(sizeof("photo") + sizeof("receipt") - 2));
    }
};

QTEST_GUILESS_MAIN(tst_EvidenceStore)
#include "tst_evidencestore.moc"
