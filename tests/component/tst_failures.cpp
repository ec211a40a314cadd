#include "ItemArgs.h"
#include "TestSupport.h"

#include <Riri/ErrorLog.h>
#include <Riri/MsgBox.h>
#include <Riri/dllHome.h>

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTest>
#include <functional>
#include <sqlite3.h>

namespace {

const QString kRule = "%---------------------------------------------------%";
const QString kFrame = "%                                                   %";
const QString kShortRule = "%---------------------------------%";

// The tests run in the C locale: the date ("7 Dec 2026") and the time
// ("07:05:12") are shorter than one print zone of 14 characters each.
QString dateLine(const QDateTime& when, const QString& errorText) {
    return QLocale::c().toString(when.date(), "d MMM yyyy").leftJustified(14) +
           when.time().toString("HH:mm:ss").leftJustified(14) + errorText;
}

// A date line written at some moment between from and to.
bool isDateLine(const QString& line, const QDateTime& from, const QString& errorText) {
    const QDateTime to = QDateTime::currentDateTime();
    for (QDateTime t = from.addMSecs(-from.time().msec()); t <= to; t = t.addSecs(1)) {
        if (line == dateLine(t, errorText)) {
            return true;
        }
    }
    return false;
}

// One way to make each writer's statement fail, twice.
struct Failure {
    const char* writer;
    const char* setup; // SQL run on the file first
    std::function<bool(Riri::dllHome&)> call;
    int number;
    QString description;
    QString source;
    QString title;
};

bool addItem(Riri::dllHome& home, const QString& id, double cost = 25) {
    ItemArgs item(id);
    item.money[0] = cost;
    return home.AddItems(item.text, item.money, item.date);
}

QStringList owner() {
    return {"L", "F", "M", "A", "C", "S", "Z", "F M L", "O-1"};
}

const QString kTitle14 = "              Dedi Rividizar - Error Log";
const QString kTitle13 = "             Dedi Rividizar - Error Log";

const Failure kFailures[] = {
    {"AddItems", "INSERT INTO tblItems (ItemID) VALUES ('A-1')",
     [](Riri::dllHome& h) { return addItem(h, "A-1"); }, SQLITE_CONSTRAINT_UNIQUE,
     "UNIQUE constraint failed: tblItems.ItemID", "AddItems - DLL Function", kTitle14},
    {"UpdateItems", "INSERT INTO tblItems (ItemID) VALUES ('A-1')",
     [](Riri::dllHome& h) {
         ItemArgs item("A-1");
         item.money[1] = std::numeric_limits<double>::quiet_NaN();
         return h.UpdateItems(item.text, item.money, item.date);
     },
     SQLITE_ERROR, "no such column: NaN", "UpdateItems - DLL Function", kTitle13},
    {"AddOwner", "INSERT INTO tblOwner (OwnerID) VALUES ('O-1')",
     [](Riri::dllHome& h) {
         QStringList text = owner();
         return h.AddOwner(text);
     },
     SQLITE_CONSTRAINT_UNIQUE, "UNIQUE constraint failed: tblOwner.OwnerID",
     "AddOwner - DLL Function", kTitle14},
    {"UpdateOwner",
     "CREATE TRIGGER t BEFORE UPDATE ON tblOwner BEGIN SELECT RAISE(ABORT, 'Owner locked'); END;"
     "INSERT INTO tblOwner (OwnerID) VALUES ('O-1')",
     [](Riri::dllHome& h) {
         QStringList text = owner();
         return h.UpdateOwner(text);
     },
     SQLITE_CONSTRAINT_TRIGGER, "Owner locked", "UpdateOwner - DLL Function", kTitle13},
    {"DeleteItem",
     "CREATE TRIGGER t BEFORE DELETE ON tblItems BEGIN SELECT RAISE(ABORT, 'Item kept'); END;"
     "INSERT INTO tblItems (ItemID) VALUES ('A-1')",
     [](Riri::dllHome& h) {
         QString id = "A-1";
         return h.DeleteItem(id);
     },
     SQLITE_CONSTRAINT_TRIGGER, "Item kept", "Delete Item - DLL Function", kTitle14},
};

} // namespace

class tst_failures : public QObject {
    Q_OBJECT
private slots:
    void writerFailure_data() {
        QTest::addColumn<int>("index");
        for (int i = 0; i < int(std::size(kFailures)); ++i) {
            QTest::newRow(kFailures[i].writer) << i;
        }
    }

    // The first failure makes the log with its banner, the second appends a
    // block; each rolls back, names the writer and shows the error.
    void writerFailure() {
        QFETCH(int, index);
        const Failure& f = kFailures[index];
        TestInstall install;
        QVERIFY(install.exec(f.setup));
        const QString table = QString(f.writer).contains("Owner") ? "tblOwner" : "tblItems";
        const QList<QVariantList> rows = install.query("SELECT * FROM " + table);
        MsgResponder boxes;
        Riri::dllHome home;

        const QDateTime start = QDateTime::currentDateTime();
        boxes.expect(Riri::vbOK);
        QVERIFY(!f.call(home));
        QCOMPARE(home.strFunction, f.writer);
        QCOMPARE(boxes.count(), 1);
        QCOMPARE(boxes.last().prompt, QString("ERROR # %1\r\n\r\n%2\r\nIn the Dynamic Link "
                                              "Library\r\nFunction: %3")
                                          .arg(f.number)
                                          .arg(f.description, f.writer));
        QCOMPARE(boxes.last().title, "Riri");
        QCOMPARE(boxes.last().flags, Riri::vbCritical | Riri::vbOKOnly);
        QCOMPARE(install.query("SELECT * FROM " + table), rows);
        QVERIFY(!home.conDataBase->isOpen());

        QStringList lines = install.logLines();
        QCOMPARE(lines.size(), 9);
        QCOMPARE(lines.mid(0, 4), (QStringList{kRule, f.title, kRule, kFrame}));
        QVERIFY2(isDateLine(lines[4], start, QString(" Error: %1").arg(f.number)),
                 qPrintable(lines[4]));
        QCOMPARE(lines.mid(5), (QStringList{f.source, kRule, f.description, kRule}));
        QCOMPARE(lines[1].size(), f.title == kTitle14 ? 40 : 39);

        home.strFunction.clear();
        boxes.expect(Riri::vbOK);
        QVERIFY(!f.call(home));
        QCOMPARE(home.strFunction, f.writer);
        lines = install.logLines();
        QCOMPARE(lines.size(), 15);
        QCOMPARE(lines[9], kFrame);
        QVERIFY2(isDateLine(lines[10], start, QString("Error: %1").arg(f.number)),
                 qPrintable(lines[10]));
        QCOMPARE(lines.mid(11), (QStringList{f.source, kRule, f.description, kRule}));
        QFile log(install.logPath());
        QVERIFY(log.open(QIODevice::ReadOnly));
        const QByteArray bytes = log.readAll();
        QVERIFY(bytes.endsWith("\r\n"));
        QCOMPARE(bytes.count('\n'), 15); // no line ends without CR LF
        for (const QString& line : {kRule, kFrame}) {
            QCOMPARE(line.size(), 53);
        }
        QCOMPARE(kShortRule.size(), 35);
    }

    // SQLite ends the whole transaction itself on some failures; the failure
    // is still logged and shown, not lost behind a failed rollback.
    void engineEndsTransaction() {
        TestInstall install;
        QVERIFY(install.exec("CREATE TRIGGER t BEFORE INSERT ON tblItems WHEN NEW.Cost < 0 "
                             "BEGIN SELECT RAISE(ROLLBACK, 'No debts'); END;"));
        MsgResponder boxes;
        Riri::dllHome home;
        boxes.expect(Riri::vbOK);
        QVERIFY(!addItem(home, "A-1", -1.f));
        QVERIFY(boxes.last().prompt.startsWith(
            QString("ERROR # %1\r\n\r\nNo debts\r\n").arg(SQLITE_CONSTRAINT_TRIGGER)));
        QCOMPARE(install.logLines().value(7), "No debts");
        QVERIFY(addItem(home, "A-1"));
    }

    // No connection can be opened: the failure path fails at its rollback and
    // that error reaches the caller; nothing is logged or shown, and no new
    // empty database appears.
    void databaseRemoved() {
        TestInstall install;
        MsgResponder boxes;
        Riri::dllHome home;
        QVERIFY(QFile::rename(install.databasePath(), install.folder() + "/inv.bak"));
        ItemArgs item("A-1");
        QStringList text = owner();
        QString id = "A-1";
        QVERIFY_THROWS_EXCEPTION(Riri::Error, home.AddItems(item.text, item.money, item.date));
        QVERIFY_THROWS_EXCEPTION(Riri::Error, home.UpdateItems(item.text, item.money, item.date));
        QVERIFY_THROWS_EXCEPTION(Riri::Error, home.AddOwner(text));
        QVERIFY_THROWS_EXCEPTION(Riri::Error, home.UpdateOwner(text));
        QVERIFY_THROWS_EXCEPTION(Riri::Error, home.DeleteItem(id));
        QVERIFY_THROWS_EXCEPTION(Riri::Error, home.GetNewItemID());
        QVERIFY_THROWS_EXCEPTION(Riri::Error, home.LoadOwner());
        QVERIFY_THROWS_EXCEPTION(Riri::Error, home.LoadEditItem());
        QVERIFY(!home.LoadItems());
        QVERIFY(!home.RefreshItems());
        QVERIFY(!home.RefreshOwner());
        QCOMPARE(boxes.count(), 0);
        QVERIFY(!QFile::exists(install.logPath()));
        QVERIFY(!QFile::exists(install.databasePath()));
        QVERIFY(home.strFunction.isEmpty());

        QVERIFY(QFile::rename(install.folder() + "/inv.bak", install.databasePath()));
        QVERIFY(addItem(home, "A-1"));
    }

    // error.log cannot be written (here it is a folder, which stops root as
    // well): the writer raises error 75 instead of showing its message.
    void logNotWritable() {
        TestInstall install;
        QVERIFY(QDir().mkdir(install.logPath()));
        MsgResponder boxes;
        Riri::dllHome home;
        QVERIFY(addItem(home, "A-1"));
        try {
            addItem(home, "A-1");
            QFAIL("no error raised");
        } catch (const Riri::Error& e) {
            QCOMPARE(e.number(), 75);
        }
        QCOMPARE(boxes.count(), 0);
        QVERIFY(home.strFunction.isEmpty());
        QVERIFY(!home.conDataBase->isOpen());
        QCOMPARE(install.scalar("SELECT COUNT(*) FROM tblItems").toInt(), 1);
        QVERIFY(addItem(home, "A-2"));
    }

    void logBlocks() {
        const QDateTime when(QDate(2026, 12, 6), QTime(7, 5, 12));
        const QString date = "6 Dec 2026    07:05:12      ";
        using Riri::ErrorLog::ComponentSource;
        QCOMPARE(Riri::ErrorLog::componentBlock(false, ComponentSource::Creation, -2147467259,
                                                "Unspecified error", when),
                 (QStringList{kFrame, "% Error Information %", date + "Error: -2147467259",
                              "Initialize Database Connection", kRule, "Unspecified error",
                              kShortRule}));
        QCOMPARE(
            Riri::ErrorLog::componentBlock(true, ComponentSource::Creation, 14, "No folder", when),
            (QStringList{kRule, kTitle14, kRule, kFrame, date + " Error: 14",
                         "Initialize Database Connection", kRule, "No folder", kShortRule}));
        QCOMPARE(Riri::ErrorLog::startupBlock(true, 53, "File not found", when),
                 (QStringList{kRule, "           The Dedi Rividizar - Error Log", kRule, kFrame,
                              date + "Error: 53", "SubMain Load Procedure", "---", "File not found",
                              kRule}));
        QCOMPARE(Riri::ErrorLog::startupBlock(false, -7, "Odd", when),
                 (QStringList{kFrame, date + "Error:-7", "SubMain Load Procedure", "---", "Odd",
                              kRule}));
    }
};

QTEST_GUILESS_MAIN(tst_failures)
#include "tst_failures.moc"
