// The history: every source named, versions restored, deleted items brought
// back with their attachments, the history carried through backup and
// restore, the clean-up after its copy, and a save killed half way.

#include "HistoryTesting.h"
#include "ItemArgs.h"

#include <Riri/AutoBackups.h>
#include <Riri/ChangeSource.h>
#include <Riri/HistoryCleanUp.h>
#include <Riri/HistoryRestore.h>
#include <Riri/HistorySchema.h>
#include <Riri/InventoryCopy.h>
#include <Riri/ItemHistory.h>
#include <Riri/ItemsCsv.h>
#include <Riri/MsgBox.h>
#include <Riri/dllHome.h>

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>
#include <functional>

namespace {

using Write = std::function<bool(const TestInstall&)>;

bool addItem(const QString& id, const QString& name = QStringLiteral("Lamp")) {
    Riri::dllHome home;
    ItemArgs args(id, name);
    return home.AddItems(args.text, args.money, args.date);
}

bool editItem(const QString& id, const QString& name, double cost) {
    Riri::dllHome home;
    ItemArgs args(id, name);
    args.money = {cost, 12.5};
    return home.UpdateItems(args.text, args.money, args.date);
}

QString column(const TestInstall& install, const QString& sql) {
    return install.scalar(sql).toString();
}

} // namespace

class tst_History : public QObject {
    Q_OBJECT

private slots:
    void sources_data();
    void sources();
    void restoreVersion_data();
    void restoreVersion();
    void bringBack_data();
    void bringBack();
    void backupAndRestoreKeepHistory();
    void cleanUpAfterItsCopy();
    void killedSave_data();
    void killedSave();
    void importStandsInForEveryItemWriteTrigger();
};

void tst_History::sources_data() {
    QTest::addColumn<int>("write");
    QTest::addColumn<QString>("expected");
    const QList<QPair<const char*, QString>> rows{
        {"add", "Item|added|Add New Item"},
        {"edit", "Item|changed|Edit Item"},
        {"delete", "Item|deleted|Delete Items"},
        {"owner", "Owner|added|Owner"},
        {"import", "Item|added|Import"},
        {"restore", "Inventory|restored|Restore"},
        {"command line", "Item|added|Command line"},
        {"sqlite3 program", "Item|changed|Another program"},
    };
    for (int i = 0; i < rows.size(); ++i) {
        QTest::newRow(rows[i].first) << i << rows[i].second;
    }
}

void tst_History::sources() {
    QFETCH(int, write);
    QFETCH(QString, expected);
    TestInstall install;
    MsgResponder boxes;
    QVERIFY(addItem("A-1"));
    QTemporaryDir out;
    const QList<Write> writes{
        [](const TestInstall&) { return addItem("A-2"); },
        [](const TestInstall&) { return editItem("A-1", "Desk lamp", 30); },
        [&boxes](const TestInstall&) {
            boxes.expect(Riri::vbYes);
            Riri::dllHome home;
            QString id = "A-1";
            return home.DeleteItem(id);
        },
        [](const TestInstall&) {
            Riri::dllHome home;
            QStringList text{"Doe", "Ann",   "M",         "1 Main St", "Springfield",
                             "IL",  "62701", "Ann M Doe", "O-1"};
            return home.AddOwner(text);
        },
        [&out](const TestInstall&) {
            QFile csv(out.filePath("items.csv"));
            csv.open(QIODevice::WriteOnly);
            csv.write("Item Name,Room,Original Cost\r\nChair,Den,40\r\n");
            csv.close();
            return Riri::ItemsCsv::importItems(csv.fileName()).ok();
        },
        [&out](const TestInstall&) {
            const QString copy = out.filePath("copy.inv");
            Riri::InventoryCopy::backUp(copy);
            return Riri::InventoryCopy::restore(copy).ok;
        },
        [](const TestInstall&) {
            const Riri::ChangeSource::Scope scope(Riri::ChangeSource::CommandLine);
            return addItem("A-2");
        },
        [](const TestInstall& inventory) {
            // The plain sqlite3 program: no component, no source named.
            QProcess sqlite;
            sqlite.start("/usr/bin/sqlite3",
                         {inventory.databasePath(), "UPDATE tblItems SET Cost = 99 WHERE ID = 1"});
            return sqlite.waitForFinished() && sqlite.exitCode() == 0;
        },
    };
    QVERIFY(writes.at(write)(install));
    QCOMPARE(newestHistory(install), expected);
    // The source lives only as long as the transaction that named it.
    QCOMPARE(install.scalar("SELECT count(*) FROM tblHistorySource").toInt(), 0);
}

void tst_History::restoreVersion_data() {
    QTest::addColumn<int>("version"); // 0: the addition, then each change
    QTest::addColumn<QString>("name");
    QTest::addColumn<double>("cost");
    QTest::newRow("as added") << 0 << "Lamp" << 25.0;
    QTest::newRow("after the first change") << 1 << "Desk lamp" << 25.0;
    QTest::newRow("after the second change") << 2 << "Desk lamp" << 30.5;
}

void tst_History::restoreVersion() {
    QFETCH(int, version);
    QFETCH(QString, name);
    QFETCH(double, cost);
    TestInstall install;
    QVERIFY(addItem("A-1"));
    QVERIFY(editItem("A-1", "Desk lamp", 25));
    QVERIFY(editItem("A-1", "Desk lamp", 30.5));
    QVERIFY(editItem("A-1", "Reading lamp", 41.25));
    const std::vector<Riri::ItemHistory::Change> changes = Riri::ItemHistory::changes(1);
    QCOMPARE(changes.size(), size_t(4));
    QCOMPARE(changes.back().action, "added");
    QVERIFY(Riri::HistoryRestore::restoreVersion(1, changes.at(3 - size_t(version)).id));
    const QList<QVariantList> row = install.query("SELECT ItemName, Cost FROM tblItems");
    QCOMPARE(row[0][0].toString(), name);
    QCOMPARE(row[0][1].toDouble(), cost);
    QCOMPARE(newestHistory(install), "Item|changed|Item History");
}

void tst_History::bringBack_data() {
    QTest::addColumn<bool>("reused");
    QTest::addColumn<QString>("itemId");
    QTest::newRow("its own Item ID") << false << "A-1";
    QTest::newRow("Item ID taken meanwhile") << true << "A-4";
}

void tst_History::bringBack() {
    QFETCH(bool, reused);
    QFETCH(QString, itemId);
    TestInstall install;
    MsgResponder boxes;
    QVERIFY(addItem("A-1"));
    QVERIFY(addItem("A-2"));
    QVERIFY(attachEvidence(install, 1, QString(64, 'a')));
    QVERIFY(attachEvidence(install, 1, QString(64, 'b')));
    QVERIFY(attachEvidence(install, 2, QString(64, 'c')));
    // Removed by itself before the item went: it stays removed.
    QVERIFY(install.exec("DELETE FROM tblEvidence WHERE Sha256 LIKE 'b%'"));
    boxes.expect(Riri::vbYes);
    Riri::dllHome home;
    QString id = "A-1";
    QVERIFY(home.DeleteItem(id));
    if (reused) {
        QVERIFY(addItem("A-1", "Another lamp"));
    }
    const std::vector<Riri::ItemHistory::DeletedItem> deleted = Riri::ItemHistory::deletedItems();
    QCOMPARE(deleted.size(), size_t(1));
    QCOMPARE(deleted[0].attachments, 1);

    const std::vector<Riri::HistoryRestore::BroughtBack> back =
        Riri::HistoryRestore::bringBack({deleted[0].itemRef});
    QCOMPARE(back.size(), size_t(1));
    QCOMPARE(back[0].itemId, itemId);
    QCOMPARE(back[0].formerId, reused ? "A-1" : "");
    QCOMPARE(back[0].attachments, 1);
    QCOMPARE(column(install, "SELECT ItemID || ' ' || ItemName || ' ' || Cost FROM tblItems "
                             "WHERE ID = 1"),
             itemId + " Lamp 25.0");
    QCOMPARE(column(install, "SELECT group_concat(substr(Sha256, 1, 1) || hex(Thumbnail)) FROM "
                             "tblEvidence WHERE ItemRef = 1"),
             "aFFD8FFD9");
    QCOMPARE(column(install, "SELECT Action || ' ' || Source FROM tblHistory WHERE What = 'Item' "
                             "AND RowRef = 1 ORDER BY ID DESC LIMIT 1"),
             "brought back Deleted Items");
    QVERIFY(Riri::ItemHistory::deletedItems().empty());
    // Every file a history row names stays findable for the sweep.
    QCOMPARE(column(install, "SELECT group_concat(DISTINCT substr(Sha256, 1, 1)) FROM (SELECT "
                             "Sha256 FROM tblHistory WHERE Sha256 IS NOT NULL ORDER BY Sha256)"),
             "a,b,c");
}

void tst_History::backupAndRestoreKeepHistory() {
    TestInstall install;
    QVERIFY(addItem("A-1"));
    QVERIFY(editItem("A-1", "Desk lamp", 30));
    QTemporaryDir out;
    const QString copy = out.filePath("copy.inv");
    Riri::InventoryCopy::backUp(copy);
    QVERIFY(editItem("A-1", "Reading lamp", 40));
    QVERIFY(Riri::InventoryCopy::restore(copy).ok);
    QCOMPARE(column(install, "SELECT group_concat(Action || ':' || Source, ',') FROM (SELECT * "
                             "FROM tblHistory ORDER BY ID)"),
             "added:Add New Item,changed:Edit Item,restored:Restore");
    QCOMPARE(column(install, "SELECT Fields FROM tblHistory WHERE What = 'Inventory'"),
             "File='copy.inv'\n");
}

void tst_History::cleanUpAfterItsCopy() {
    TestInstall install;
    QVERIFY(addItem("A-1"));
    QVERIFY(editItem("A-1", "Desk lamp", 30));
    QVERIFY(editItem("A-1", "Reading lamp", 40));
    QVERIFY(install.exec("UPDATE tblHistory SET ChangeDate = '2020-01-0' || ID || ' 10:00:00' "
                         "WHERE ID < 3"));
    const QDate before(2021, 1, 1);
    QCOMPARE(Riri::HistoryCleanUp::countBefore(before), 2);
    qint64 removed = 0;
    const QString copy = Riri::HistoryCleanUp::removeBefore(before, &removed);
    QCOMPARE(removed, 2);
    QCOMPARE(install.scalar("SELECT count(*) FROM tblHistory").toInt(), 1);
    // The copy, made first, still holds every row.
    QVERIFY(copy.endsWith("-before-history-cleanup.inv"));
    QCOMPARE(queryDatabase(copy, "SELECT count(*) FROM tblHistory").value(0).value(0).toInt(), 3);
    QCOMPARE(Riri::AutoBackups::list().size(), 1);
}

void tst_History::killedSave_data() {
    QTest::addColumn<QString>("killAt");
    QTest::addColumn<int>("names"); // item names stored with their history
    QTest::newRow("inside the transaction") << "open" << 0;
    QTest::newRow("after the commit") << "committed" << 1;
    QTest::newRow("in a run of saves") << "run" << -1;
}

void tst_History::killedSave() {
    QFETCH(QString, killAt);
    QFETCH(int, names);
    TestInstall install;
    QVERIFY(addItem("A-1"));
    QProcess host;
    host.start(HISTORY_HOST, {install.folder(), killAt});
    QVERIFY(host.waitForStarted());
    // The host says how far it got, then waits to be killed.
    const int lines = killAt == "run" ? 25 : 1;
    for (int seen = 0; seen < lines;) {
        QVERIFY(host.waitForReadyRead());
        while (host.canReadLine()) {
            host.readLine();
            ++seen;
        }
    }
    host.kill();
    host.waitForFinished();
    const int changes =
        install.scalar("SELECT count(*) FROM tblHistory WHERE Action = 'changed'").toInt();
    const QString name = column(install, "SELECT ItemName FROM tblItems");
    if (names >= 0) {
        QCOMPARE(changes, names);
    }
    // Each stored save has its history row, and no row outlives its save.
    QCOMPARE(name, changes == 0 ? QString("Lamp") : QString("Name %1").arg(changes));
    QVERIFY(changes >= (names < 0 ? 25 : 0));
    QCOMPARE(install.scalar("PRAGMA integrity_check").toString(), "ok");
}

QTEST_GUILESS_MAIN(tst_History)
// The import turns its connection's triggers off and writes the history of
// the items it adds and changes itself: any other trigger on an addition or
// a change of an item would go unrun.
void tst_History::importStandsInForEveryItemWriteTrigger() {
    TestInstall install;
    QStringList fired;
    for (const QVariantList& row :
         install.query("SELECT name FROM sqlite_master WHERE type = 'trigger' AND tbl_name = "
                       "'tblItems' AND sql NOT LIKE '% DELETE ON tblItems %' ORDER BY name")) {
        fired.append(row.first().toString());
    }
    QStringList expected = Riri::HistorySchema::itemWriteTriggers();
    expected.sort();
    QCOMPARE(fired, expected);
}

#include "tst_history.moc"
