// Inventory files that another program changed: restore refuses them as
// backups and the start-up check names them as damage, leaving the
// inventory byte for byte as it was; a file of a newer version is only read.

#include "StartupTesting.h"
#include "TestSupport.h"
#include "startup/StartupCheck.h"

#include <Riri/Error.h>
#include <Riri/HistorySchema.h>
#include <Riri/InventoryCopy.h>
#include <Riri/InventorySchema.h>
#include <Riri/ItemsCsv.h>
#include <Riri/MsgBox.h>
#include <Riri/dllHome.h>

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kOneItem = "INSERT INTO tblItems (ItemID, ItemName, RoomName) VALUES ('A-1', 'Lamp', "
                         "'Den');";

// tblOwner as install/schema.sql makes it, with other blanks.
const QString kOwnerColumns =
    "OwnerID TEXT NOT NULL UNIQUE,\n\tLName TEXT,\tFName TEXT, MName TEXT, FullName TEXT, "
    "Address TEXT, City TEXT, State TEXT, Zip TEXT, AddDate TEXT, ModDate TEXT";

// The restore's refusal, or an empty text when it went through.
QString restoreFailure(const QString& backup) {
    try {
        Riri::InventoryCopy::restore(backup);
    } catch (const Riri::Error& error) {
        return error.description();
    }
    return QString();
}

} // namespace

class tst_foreignschema : public QObject {
    Q_OBJECT

private slots:
    void foreignSchemaIsRefused_data();
    void foreignSchemaIsRefused();
    void newerVersionIsOnlyRead();
};

void tst_foreignschema::foreignSchemaIsRefused_data() {
    QTest::addColumn<QString>("change");
    QTest::addColumn<QString>("problem");
    QTest::newRow("trigger") << "CREATE TRIGGER wipe AFTER INSERT ON tblItems BEGIN DELETE FROM "
                                "tblItems; END;"
                             << "The file holds trigger \"wipe\", which is not part of an "
                                "inventory.";
    QTest::newRow("view") << "CREATE VIEW everything AS SELECT * FROM tblItems;"
                          << "The file holds view \"everything\", which is not part of an "
                             "inventory.";
    QTest::newRow("table") << "CREATE TABLE notes (x);"
                           << "The file holds table \"notes\", which is not part of an inventory.";
    QTest::newRow("index") << "CREATE INDEX byRoom ON tblItems (RoomName);"
                           << "The file holds index \"byRoom\", which is not part of an "
                              "inventory.";
    QTest::newRow("changed table")
        << "DROP TABLE tblOwner; CREATE TABLE tblOwner (" + kOwnerColumns + ", Extra TEXT);"
        << "The file holds a changed table \"tblOwner\", which is not part of an inventory.";
    // Written into the schema table directly, under SQLite's reserved prefix.
    QTest::newRow("trigger under a reserved name")
        << "PRAGMA writable_schema = ON; INSERT INTO sqlite_schema VALUES ('trigger', "
           "'sqlite_wipe', 'tblItems', 0, 'CREATE TRIGGER sqlite_wipe AFTER INSERT ON tblItems "
           "BEGIN DELETE FROM tblItems; END'); PRAGMA writable_schema = OFF;"
        << "The file holds trigger \"sqlite_wipe\", which is not part of an inventory.";
    // The table's history triggers go with it and come back as they were.
    QString ownerTriggers;
    for (const QString& trigger : Riri::HistorySchema::triggers()) {
        if (trigger.contains("ON tblOwner")) {
            ownerTriggers += trigger + ";";
        }
    }
    QTest::newRow("other blanks only")
        << "DROP TABLE tblOwner; CREATE TABLE tblOwner (\n" + kOwnerColumns + "\n);" + ownerTriggers
        << QString();
}

void tst_foreignschema::foreignSchemaIsRefused() {
    QFETCH(QString, change);
    QFETCH(QString, problem);
    TestInstall install;
    QVERIFY(install.exec(kOneItem));
    QTemporaryDir out;
    const QString offered = out.filePath("offered.inv");
    QVERIFY(QFile::copy(install.databasePath(), offered));
    QVERIFY(execDatabase(offered, change));

    // As a backup: refused before anything is written.
    QVERIFY(install.exec("DELETE FROM tblItems"));
    const QByteArray inventory = fileBytes(install.databasePath());
    const QString refusal = restoreFailure(offered);
    if (problem.isEmpty()) {
        QCOMPARE(refusal, QString());
        QCOMPARE(install.scalar("SELECT count(*) FROM tblItems").toInt(), 1);
        return;
    }
    QVERIFY2(refusal.endsWith(problem), qPrintable(refusal));
    QCOMPARE(fileBytes(install.databasePath()), inventory);

    // As the inventory itself: damage at start-up, with the damaged file's
    // choices (here no automatic copy: the program ends), nothing dropped.
    QVERIFY(install.exec(change));
    const QByteArray changed = fileBytes(install.databasePath());
    MsgResponder boxes;
    DamagedResponder window;
    window.expect(frmDamagedInventory::Choice::Quit);
    QVERIFY(!checkInventoryAtStartup());
    QVERIFY2(window.shown().last().details.contains(problem),
             qPrintable(window.shown().last().details));
    QCOMPARE(fileBytes(install.databasePath()), changed);
}

// A file whose user_version is newer than the program knows: start-up says
// it is read-only, readers read it, every writer refuses, and neither it
// nor, as a backup, the inventory is altered.
void tst_foreignschema::newerVersionIsOnlyRead() {
    TestInstall install;
    QVERIFY(install.exec(kOneItem + "PRAGMA user_version = 99;"));
    const QByteArray newer = fileBytes(install.databasePath());
    const QString message = Riri::InventorySchema::newerVersionMessage();

    MsgResponder boxes;
    boxes.expect(Riri::vbOK);
    QVERIFY(checkInventoryAtStartup());
    QCOMPARE(boxes.last().prompt, message);
    QCOMPARE(boxes.last().icon(), int(Riri::vbExclamation));

    Riri::dllHome home;
    QCOMPARE(home.LoadItems()->rowCount(), 1);
    QStringList text{"A-2", "Chair", "", "", "Den", "", "", ""};
    std::vector<double> money{1, 1};
    QDateTime date(QDate(2005, 3, 1), QTime(0, 0));
    boxes.expect(Riri::vbOK);
    QVERIFY(!home.AddItems(text, money, date));
    QVERIFY2(boxes.last().prompt.contains(message), qPrintable(boxes.last().prompt));
    QString id = "A-1";
    boxes.expect(Riri::vbOK);
    QVERIFY(!home.DeleteItem(id));

    QTemporaryDir out;
    QFile csv(out.filePath("items.csv"));
    QVERIFY(csv.open(QIODevice::WriteOnly));
    csv.write("Item Name,Room\nDesk,Den\n");
    csv.close();
    QVERIFY_THROWS_EXCEPTION(Riri::Error, Riri::ItemsCsv::importItems(csv.fileName()));
    QCOMPARE(fileBytes(install.databasePath()), newer);

    // Restoring onto it is refused, and so is restoring it onto an inventory.
    const QString backup = out.filePath("older.inv");
    QVERIFY(QFile::copy(QStringLiteral(QUORVANE_PRISTINE_DB), backup));
    QCOMPARE(restoreFailure(backup), message);
    QCOMPARE(fileBytes(install.databasePath()), newer);

    QVERIFY(QFile::remove(backup));
    QVERIFY(QFile::copy(install.databasePath(), backup));
    QVERIFY(install.exec("PRAGMA user_version = 1; DELETE FROM tblItems;"));
    const QByteArray current = fileBytes(install.databasePath());
    QVERIFY2(restoreFailure(backup).contains("newer version"), qPrintable(restoreFailure(backup)));
    QCOMPARE(fileBytes(install.databasePath()), current);
}

QTEST_MAIN(tst_foreignschema)
#include "tst_foreignschema.moc"
