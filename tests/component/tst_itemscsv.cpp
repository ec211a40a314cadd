// The items as CSV: the export's format, the round trip back through the
// import, the add window's rules on every imported row (one bad row stores
// nothing and is named), and an export that survives kills and a full disk.

#include "ItemArgs.h"
#include "SafetySupport.h"
#include "TestSupport.h"

#include <Riri/AutoBackups.h>
#include <Riri/Error.h>
#include <Riri/ErrorNumbers.h>
#include <Riri/ItemsCsv.h>
#include <Riri/MsgBox.h>
#include <Riri/dllHome.h>

#include <QDate>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLocale>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QByteArray kHeader = "Item ID,Item Name,Serial Number,Model,Room,Original Cost,Current "
                           "Value,Accquired From,Date Accquired,Description,Notes,Date "
                           "Added,Date Modified";

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A CSV file of n good rows in the short form Item Name, Room, Original Cost.
QByteArray goodRows(int n) {
    QByteArray bytes = "Item Name,Room,Original Cost\r\n";
    for (int i = 1; i <= n; ++i) {
        bytes += "Thing " + QByteArray::number(i) + ",Den," + QByteArray::number(i) + ".50\r\n";
    }
    return bytes;
}

const char* const kCompared =
    "SELECT ItemName, SN, Model, RoomName, Cost, CurValue, BuyDate, AccquiredFrom, Description, "
    "Notes FROM tblItems ORDER BY ID";

} // namespace

class tst_ItemsCsv : public QObject {
    Q_OBJECT

private slots:
    void exportFormat();
    void roundTripKeepsEveryText();
    void oneBadRowAmongThousandsStoresNothing();
    void everyRuleOfTheAddWindow_data();
    void everyRuleOfTheAddWindow();
    void everyBadRowIsNamedWithItsLine();
    void headerByNameInAnyCase();
    void headerProblemsRefuseTheFile();
    void numberingContinuesInOneTransaction();
    void failingStoreKeepsNothing();
    void reimportMatchesByItemId_data();
    void reimportMatchesByItemId();
    void spreadsheetAmountsAndDateAdded_data();
    void spreadsheetAmountsAndDateAdded();
    void storeImportsWhatThePlanChecked_data();
    void storeImportsWhatThePlanChecked();
    void cancelLeavesEverythingAsItWas_data();
    void cancelLeavesEverythingAsItWas();
    void recordsAcrossPiecesOfALargeFile();
    void problemsBeyondTheFirstHundredAreCounted();
    void killDuringExportLeavesNoPartialFile();
    void fullDiskDuringExport();
};

void tst_ItemsCsv::exportFormat() {
    TestInstall install;
    QVERIFY(install.exec(
        "INSERT INTO tblItems (ItemID, ItemName, RoomName, Cost, CurValue, BuyDate, Description, "
        "AddDate, ModDate) VALUES ('A-1', 'Lamp', 'Den', 12.5, 0, '2005-03-01', 'Say \"hi\", "
        "then\nleave', '2026-12-06 07:05:12', '2026-12-07 08:00:00')"));
    QTemporaryDir out;
    QCOMPARE(Riri::ItemsCsv::exportItems(out.filePath("items.csv")), 1);
    QCOMPARE(readFile(out.filePath("items.csv")),
             "\xEF\xBB\xBF" + kHeader +
                 "\r\nA-1,Lamp,,,Den,12.50,0.00,,2005-03-01,\"Say \"\"hi\"\", then\nleave\",,"
                 "2026-12-06T07:05:12,2026-12-07T08:00:00\r\n");
    QCOMPARE(folderEntries(out.path()), QStringList{"items.csv"});
}

void tst_ItemsCsv::roundTripKeepsEveryText() {
    MsgResponder boxes;
    QTemporaryDir out;
    const QString csv = out.filePath("items.csv");
    QString longText;
    while (longText.size() < 250) {
        longText += QString::fromUtf8("Ærø \"quoted\", comma\r\nnew line\n日本 ");
    }
    longText.truncate(250);
    longText[249] = QLatin1Char('.'); // the writers trim blanks at the ends
    QList<QVariantList> original;
    {
        TestInstall install;
        Riri::dllHome home;
        const QList<QStringList> texts{{"A-1", "O'Brien's \"best\" lamp, brass", "SN,1;\"x\"",
                                        QString::fromUtf8("Ünïcødé 日本 🎉"), "Master Bedroom",
                                        "Bob's, \"Store\"", longText, "line 1\nline 2\n\n\"end\""},
                                       {"A-2", "Plain", "", "", "Attic", "", "", ""},
                                       {"A-3", QString(35, QChar(0x00E9)), QString(35, 'S'),
                                        QString(30, 'M'), "Other", QString(34, 'F'), "\"", ","}};
        const std::vector<std::vector<double>> money{
            {12.35, 99999.99}, {0, 0}, {9999999999999.99, -9999999999999.99}};
        for (int i = 0; i < texts.size(); ++i) {
            ItemArgs args(texts[i][0]);
            args.text = texts[i];
            args.money = money[static_cast<size_t>(i)];
            args.date = QDateTime(QDate(1999, 12, 31).addDays(i), QTime(0, 0));
            QVERIFY(home.AddItems(args.text, args.money, args.date));
        }
        original = install.query(kCompared);
        QCOMPARE(Riri::ItemsCsv::exportItems(csv), 3);
    }
    TestInstall install;
    const Riri::ItemsCsv::ImportResult result = Riri::ItemsCsv::importItems(csv);
    QVERIFY2(result.ok(), qPrintable(result.problems.join('\n')));
    QCOMPARE(result.stored, 3);
    QVERIFY(result.unknownColumns.isEmpty());
    const QList<QVariantList> imported = install.query(kCompared);
    QCOMPARE(imported.size(), original.size());
    for (int row = 0; row < original.size(); ++row) {
        for (int column = 0; column < original[row].size(); ++column) {
            QCOMPARE(imported[row][column], original[row][column]);
        }
    }
    QCOMPARE(install.query("SELECT ItemID FROM tblItems ORDER BY ID"),
             (QList<QVariantList>{{"A-1"}, {"A-2"}, {"A-3"}}));
    QCOMPARE(imported[0][8].toString(), longText);
}

void tst_ItemsCsv::oneBadRowAmongThousandsStoresNothing() {
    TestInstall install;
    QVERIFY(seedItems(install, 3));
    QTemporaryDir out;
    QByteArray bytes = goodRows(5000);
    bytes.replace("Thing 3217,Den,", "Thing 3217,Kitchn,");
    writeFile(out.filePath("many.csv"), bytes);
    const Riri::ItemsCsv::ImportResult result =
        Riri::ItemsCsv::importItems(out.filePath("many.csv"));
    QCOMPARE(result.stored, 0);
    QCOMPARE(result.problems,
             QStringList{"Line 3218: Room \"Kitchn\" is not one of the 35 rooms."});
    QCOMPARE(install.scalar("SELECT count(*) FROM tblItems").toInt(), 3);
    // Nothing was going to change: no copy was made either.
    QVERIFY(!QFileInfo::exists(Riri::AutoBackups::folder()));

    bytes.replace("Thing 3217,Kitchn,", "Thing 3217,kitchen,");
    writeFile(out.filePath("many.csv"), bytes);
    QCOMPARE(Riri::ItemsCsv::importItems(out.filePath("many.csv")).stored, 5000);
    QCOMPARE(install.scalar("SELECT count(*) FROM tblItems").toInt(), 5003);
    QCOMPARE(
        install.scalar("SELECT RoomName FROM tblItems WHERE ItemName = 'Thing 3217'").toString(),
        QString("Kitchen"));
    QCOMPARE(install.scalar("SELECT Cost FROM tblItems WHERE ItemName = 'Thing 3217'").toDouble(),
             3217.5);
}

void tst_ItemsCsv::everyRuleOfTheAddWindow_data() {
    QTest::addColumn<QByteArray>("row");
    QTest::addColumn<QString>("reason");
    const QByteArray tomorrow = QDate::currentDate().addDays(1).toString(Qt::ISODate).toLatin1();
    QTest::newRow("name missing") << QByteArray("  ,Den,,,,") << "Item Name is missing";
    QTest::newRow("name too long") << QByteArray(36, 'n') + ",Den,,,,"
                                   << "Item Name is longer than 35";
    QTest::newRow("room missing") << QByteArray("Lamp,,,,,") << "Room is missing";
    QTest::newRow("room unknown") << QByteArray("Lamp,Cellar,,,,") << "Room \"Cellar\" is not one";
    QTest::newRow("cost in parentheses")
        << QByteArray("Lamp,Den,(12.50),,,") << "Original Cost \"(12.50)\"";
    QTest::newRow("cost letters") << QByteArray("Lamp,Den,12abc,,,") << "Original Cost \"12abc\"";
    QTest::newRow("value too large") << QByteArray("Lamp,Den,,1") + QByteArray(40, '0') + ",,"
                                     << "Current Value";
    QTest::newRow("date tomorrow") << QByteArray("Lamp,Den,,,") + tomorrow + ","
                                   << "is after today";
    QTest::newRow("date garbled") << QByteArray("Lamp,Den,,,31/12/2005,") << "is not a date";
    QTest::newRow("date before 1900")
        << QByteArray("Lamp,Den,,,1899-12-31,") << "is before 1900-01-01";
    QTest::newRow("notes too long")
        << QByteArray("Lamp,Den,,,,") + QByteArray(251, 'x') << "Notes is longer than 250";
    QTest::newRow("too many fields")
        << QByteArray("Lamp,Den,,,,,") << "it has 7 fields, the header has 6";
    QTest::newRow("quote not closed") << QByteArray("Lamp,Den,,,,\"open") << "not closed";
}

void tst_ItemsCsv::everyRuleOfTheAddWindow() {
    QFETCH(QByteArray, row);
    QFETCH(QString, reason);
    TestInstall install;
    QTemporaryDir out;
    writeFile(
        out.filePath("one.csv"),
        "Item Name,Room,Original Cost,Current Value,Date Accquired,Notes\r\nGood,Den,,,,\r\n" +
            row + "\r\n");
    const Riri::ItemsCsv::ImportResult result =
        Riri::ItemsCsv::importItems(out.filePath("one.csv"));
    QCOMPARE(result.problems.size(), 1);
    QVERIFY2(result.problems.first().startsWith("Line 3: "), qPrintable(result.problems.first()));
    QVERIFY2(result.problems.first().contains(reason), qPrintable(result.problems.first()));
    QCOMPARE(install.scalar("SELECT count(*) FROM tblItems").toInt(), 0);
}

void tst_ItemsCsv::everyBadRowIsNamedWithItsLine() {
    TestInstall install;
    QTemporaryDir out;
    writeFile(out.filePath("bad.csv"), "Item Name,Room,Description\n"
                                       "One,Den,\"three\nline\ntext\"\n"
                                       ",Den,\n"
                                       "Three,Nowhere,\n"
                                       "\n"
                                       "Five,Den,fine\n"
                                       ",,\n");
    const Riri::ItemsCsv::ImportResult result =
        Riri::ItemsCsv::importItems(out.filePath("bad.csv"));
    QCOMPARE(result.problems, (QStringList{"Line 5: Item Name is missing.",
                                           "Line 6: Room \"Nowhere\" is not one of the 35 rooms.",
                                           "Line 9: Item Name is missing; Room is missing."}));
    QCOMPARE(install.scalar("SELECT count(*) FROM tblItems").toInt(), 0);
}

void tst_ItemsCsv::headerByNameInAnyCase() {
    TestInstall install;
    QTemporaryDir out;
    writeFile(out.filePath("any.csv"),
              "ROOM,colour,item name, current value ,DATE ACCQUIRED,Item ID\r\n"
              "garage,red,Bike,150.456,2020-02-29,X-99\r\n");
    const Riri::ItemsCsv::ImportResult result =
        Riri::ItemsCsv::importItems(out.filePath("any.csv"));
    QVERIFY2(result.ok(), qPrintable(result.problems.join('\n')));
    QCOMPARE(result.unknownColumns, QStringList{"colour"});
    QCOMPARE(install.query("SELECT ItemID, ItemName, RoomName, Cost, CurValue, BuyDate, Notes "
                           "FROM tblItems"),
             (QList<QVariantList>{{"A-1", "Bike", "Garage", 0.0, 150.46, "2020-02-29", ""}}));
}

void tst_ItemsCsv::headerProblemsRefuseTheFile() {
    TestInstall install;
    QTemporaryDir out;
    const auto problems = [&](const QByteArray& bytes) {
        writeFile(out.filePath("h.csv"), bytes);
        return Riri::ItemsCsv::importItems(out.filePath("h.csv")).problems;
    };
    QCOMPARE(problems("Name,Room\r\nLamp,Den\r\n"),
             (QStringList{"Line 1: the header has no Item Name column."}));
    QCOMPARE(problems("Item Name,item name\r\nLamp,Lamp\r\n"),
             (QStringList{"Line 1: the column item name appears twice."}));
    QCOMPARE(problems(""), (QStringList{"Line 1: the file is empty; a header row is needed."}));
    QCOMPARE(problems("Item Name,Room\r\nL\xE4mp,Den\r\n"),
             (QStringList{"The file is not UTF-8 text."}));
    QCOMPARE(install.scalar("SELECT count(*) FROM tblItems").toInt(), 0);
    try {
        Riri::ItemsCsv::importItems(out.filePath("missing.csv"));
        QFAIL("a missing file was imported");
    } catch (const Riri::Error& error) {
        QVERIFY(error.description().contains("missing.csv"));
    }
}

void tst_ItemsCsv::numberingContinuesInOneTransaction() {
    TestInstall install;
    QVERIFY(seedItems(install, 7));
    QVERIFY(install.exec("DELETE FROM tblItems WHERE ItemID = 'A-7'"));
    QTemporaryDir out;
    writeFile(out.filePath("three.csv"), goodRows(3));
    const Riri::ItemsCsv::ImportResult result =
        Riri::ItemsCsv::importItems(out.filePath("three.csv"));
    QCOMPARE(result.stored, 3);
    QCOMPARE(install.query("SELECT ItemID, ID, AddDate = (SELECT max(AddDate) FROM tblItems) "
                           "FROM tblItems WHERE ItemName LIKE 'Thing%' ORDER BY ID"),
             (QList<QVariantList>{{"A-7", 8LL, 1LL}, {"A-8", 9LL, 1LL}, {"A-9", 10LL, 1LL}}));
    QVERIFY(install.scalar("SELECT count(*) FROM tblItems WHERE ModDate IS NOT NULL").toInt() == 0);
    // The inventory as it was before the import is kept.
    const QStringList copies = QDir(Riri::AutoBackups::folder()).entryList(QDir::Files);
    QCOMPARE(copies.size(), 1);
    QVERIFY(copies.first().endsWith("-before-import.inv"));
}

void tst_ItemsCsv::failingStoreKeepsNothing() {
    TestInstall install;
    // The 501st row breaks a rule of the file (an index of the test's own).
    QVERIFY(install.exec("CREATE UNIQUE INDEX refuse ON tblItems (RoomName) WHERE ItemName IN "
                         "('Thing 500', 'Thing 501')"));
    QTemporaryDir out;
    writeFile(out.filePath("many.csv"), goodRows(1000));
    try {
        Riri::ItemsCsv::importItems(out.filePath("many.csv"));
        QFAIL("a failing store was reported as done");
    } catch (const Riri::Error& error) {
        QVERIFY2(error.description().contains("UNIQUE constraint failed"),
                 qPrintable(error.description()));
    }
    QCOMPARE(install.scalar("SELECT count(*) FROM tblItems").toInt(), 0);
}

void tst_ItemsCsv::reimportMatchesByItemId_data() {
    QTest::addColumn<QByteArray>("rows"); // after the full header
    QTest::addColumn<QString>("counts");
    QTest::addColumn<QString>("history");   // the Fields the import's history holds
    QTest::addColumn<QStringList>("items"); // ItemID|ItemName|SN|Cost after
    const QStringList asSeeded{"A-1|Item 1|SN-1|1.25", "A-2|Item 2|SN-2|2.5"};
    QTest::newRow("own export unchanged")
        << QByteArray() << "0 new items, 0 changed items, 2 unchanged rows" << QString()
        << asSeeded;
    // The history's text is the one the item trigger writes for the change.
    QTest::newRow("only differing fields written")
        << QByteArray("A-2,Item 2,SN-9,Model 2,Kitchen,\"2,500.00\",2.00,Shop 2,2005-03-01,"
                      "A description of item number 2 that is long enough,Notes 2,"
                      "2026-01-01T10:00:00,\r\n")
        << "0 new items, 1 changed item, 0 unchanged rows"
        << "SN='SN-2'>'SN-9'\nCost=2.5>2500.0\n"
        << QStringList{"A-1|Item 1|SN-1|1.25", "A-2|Item 2|SN-9|2500.0"};
    QTest::newRow("no or unknown Item ID adds")
        << QByteArray(",Rug,,,Den,,,,,,,,\r\nZ-1,Vase,,,Den,,,,,,,,\r\n")
        << "2 new items, 0 changed items, 0 unchanged rows" << QString()
        << QStringList{"A-1|Item 1|SN-1|1.25", "A-2|Item 2|SN-2|2.5", "A-3|Rug||0.0",
                       "A-4|Vase||0.0"};
}

// The inventory's own export, then the rows given, imported back.
void tst_ItemsCsv::reimportMatchesByItemId() {
    QFETCH(QByteArray, rows);
    QFETCH(QString, counts);
    QFETCH(QString, history);
    QFETCH(QStringList, items);
    TestInstall install;
    QVERIFY(seedItems(install, 2));
    QTemporaryDir out;
    const QString csv = out.filePath("items.csv");
    if (rows.isEmpty()) {
        QCOMPARE(Riri::ItemsCsv::exportItems(csv), 2);
    } else {
        writeFile(csv, kHeader + "\r\n" + rows);
    }
    const Riri::ItemsCsv::ImportResult result = Riri::ItemsCsv::importItems(csv);
    QVERIFY2(result.ok(), qPrintable(result.problems.join('\n')));
    QCOMPARE(result.counts(), counts);
    QCOMPARE(install
                 .scalar("SELECT group_concat(Fields, '') FROM tblHistory WHERE Action = "
                         "'changed' AND Source = 'Import'")
                 .toString(),
             history);
    QStringList stored;
    for (const QVariantList& row :
         install.query("SELECT ItemID || '|' || ItemName || '|' || ifnull(SN, '') || '|' || "
                       "ifnull(Cost, 0) FROM tblItems ORDER BY ID")) {
        stored.append(row.first().toString());
    }
    QCOMPARE(stored, items);
    QCOMPARE(install.scalar("SELECT count(*) FROM tblItems WHERE ModDate IS NOT NULL").toInt(),
             history.isEmpty() ? 0 : 1);
}

void tst_ItemsCsv::spreadsheetAmountsAndDateAdded_data() {
    QTest::addColumn<QByteArray>("cost");
    QTest::addColumn<QByteArray>("added");
    QTest::addColumn<QString>("stored"); // Cost|AddDate, or the problem
    QTest::newRow("grouped") << QByteArray("\"1,234.50\"") << QByteArray("2020-05-06")
                             << "1234.5|2020-05-06";
    QTest::newRow("dollar") << QByteArray("\"$1,234.50\"") << QByteArray("2020-05-06T07:08:09")
                            << "1234.5|2020-05-06 07:08:09";
    QTest::newRow("blanks and minus")
        << QByteArray("\" -$ 1,234.567 \"") << QByteArray("2020-05-06 07:08:09")
        << "-1234.57|2020-05-06 07:08:09";
    QTest::newRow("sign after") << QByteArray("12.50 $") << QByteArray("1999-12-31")
                                << "12.5|1999-12-31";
    QTest::newRow("exponent as typed")
        << QByteArray("1.5e3") << QByteArray("1999-12-31") << "1500.0|1999-12-31";
    QTest::newRow("bad date added") << QByteArray("1") << QByteArray("06/05/2020")
                                    << "Line 2: Date Added \"06/05/2020\" is not a date";
    QTest::newRow("parentheses refused") << QByteArray("(1.00)") << QByteArray()
                                         << "Line 2: Original Cost \"(1.00)\" is not an amount";
}

void tst_ItemsCsv::spreadsheetAmountsAndDateAdded() {
    QFETCH(QByteArray, cost);
    QFETCH(QByteArray, added);
    QFETCH(QString, stored);
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    TestInstall install;
    QTemporaryDir out;
    writeFile(out.filePath("one.csv"),
              "Item Name,Room,Original Cost,Date Added\r\nLamp,Den," + cost + "," + added + "\r\n");
    const Riri::ItemsCsv::ImportResult result =
        Riri::ItemsCsv::importItems(out.filePath("one.csv"));
    QLocale::setDefault(previous);
    if (!result.ok()) {
        QVERIFY2(result.problems.first().startsWith(stored), qPrintable(result.problems.first()));
        return;
    }
    QCOMPARE(install.scalar("SELECT Cost || '|' || AddDate FROM tblItems").toString(), stored);
}

void tst_ItemsCsv::storeImportsWhatThePlanChecked_data() {
    QTest::addColumn<int>("between");    // what happens after the plan
    QTest::addColumn<QString>("stored"); // the items' names after, or the store's error
    QTest::newRow("file rewritten") << 0 << "Chair|Desk";
    QTest::newRow("file removed") << 1 << "Chair|Desk";
    QTest::newRow("Item ID taken in the inventory")
        << 2 << "items.csv was checked; nothing was imported.";
}

void tst_ItemsCsv::storeImportsWhatThePlanChecked() {
    QFETCH(int, between);
    QFETCH(QString, stored);
    TestInstall install;
    QTemporaryDir out;
    const QString csv = out.filePath("items.csv");
    writeFile(csv, "Item ID,Item Name,Room\r\nA-9,Chair,Den\r\n,Desk,Den\r\n");
    const Riri::ItemsCsv::ImportResult plan = Riri::ItemsCsv::planImport(csv);
    QCOMPARE(plan.counts(), "2 new items, 0 changed items, 0 unchanged rows");
    switch (between) {
    case 0:
        writeFile(csv, "Item Name,Room\r\nBad row\r\n");
        break;
    case 1:
        QVERIFY(QFile::remove(csv));
        break;
    default:
        QVERIFY(install.exec(
            "INSERT INTO tblItems (ItemID, ItemName, RoomName) VALUES ('A-9', 'Vase', 'Den')"));
    }
    QString outcome;
    try {
        QCOMPARE(Riri::ItemsCsv::storeImport(plan).stored, 2);
        QStringList names;
        for (const QVariantList& row : install.query("SELECT ItemName FROM tblItems ORDER BY ID")) {
            names.append(row.first().toString());
        }
        outcome = names.join('|');
    } catch (const Riri::Error& error) {
        outcome = error.description();
        QCOMPARE(install.scalar("SELECT group_concat(ItemName) FROM tblItems").toString(), "Vase");
    }
    QVERIFY2(outcome.contains(stored), qPrintable(outcome));
    // The checked rows were kept in a file without a name: nothing is left.
    QCOMPARE(folderEntries(QFileInfo(install.databasePath()).absolutePath()),
             (QStringList{"backups", "inv.inv"}));
}

void tst_ItemsCsv::cancelLeavesEverythingAsItWas_data() {
    QTest::addColumn<bool>("import");
    QTest::addColumn<int>("cancelAt"); // the progress call that cancels
    QTest::newRow("import at once") << true << 1;
    QTest::newRow("import near the end") << true << 5;
    QTest::newRow("export at once") << false << 1;
    QTest::newRow("export near the end") << false << 5;
}

void tst_ItemsCsv::cancelLeavesEverythingAsItWas() {
    QFETCH(bool, import);
    QFETCH(int, cancelAt);
    TestInstall install;
    QVERIFY(seedItems(install, 3000));
    QTemporaryDir out;
    const QString csv = out.filePath("items.csv");
    writeFile(csv, goodRows(3000));
    const QByteArray before = fileHash(install.databasePath());
    int calls = 0;
    QList<qint64> totals;
    const Riri::Progress progress = [&](qint64, qint64 total) {
        totals.append(total);
        return ++calls < cancelAt;
    };
    try {
        if (import) {
            Riri::ItemsCsv::storeImport(Riri::ItemsCsv::planImport(csv), progress);
        } else {
            QFile::remove(csv);
            Riri::ItemsCsv::exportItems(csv, progress);
        }
        QFAIL("a cancelled operation was reported as done");
    } catch (const Riri::Error& error) {
        QCOMPARE(error.number(), Riri::ErrorNumber::Cancelled);
    }
    QCOMPARE(calls, cancelAt);
    QCOMPARE(totals, QList<qint64>(cancelAt, 3000)); // rows of the whole
    QCOMPARE(fileHash(install.databasePath()), before);
    QCOMPARE(folderEntries(out.path()), import ? QStringList{"items.csv"} : QStringList());
}

void tst_ItemsCsv::recordsAcrossPiecesOfALargeFile() {
    TestInstall install;
    QTemporaryDir out;
    // Quoted fields with line breaks and quotes, so that the pieces the file
    // is read in end inside fields, inside "" and between CR and LF.
    QByteArray bytes = "\xEF\xBB\xBFItem Name,Room,Notes\r\n";
    const int rows = 20000;
    for (int i = 1; i <= rows; ++i) {
        bytes += "Thing " + QByteArray::number(i) + ",Den,\"a \"\"b\"\",\r\nc\r\n" +
                 QByteArray(i % 13, 'x') + "\"\r\n";
    }
    writeFile(out.filePath("big.csv"), bytes);
    const Riri::ItemsCsv::ImportResult result =
        Riri::ItemsCsv::importItems(out.filePath("big.csv"));
    QVERIFY2(result.ok(), qPrintable(result.problems.mid(0, 3).join('\n')));
    QCOMPARE(result.stored, rows);
    QCOMPARE(install
                 .scalar("SELECT count(*) FROM tblItems WHERE Notes = 'a \"b\",' || "
                         "char(13, 10) || 'c' || char(13, 10) || substr('xxxxxxxxxxxxx', 1, "
                         "CAST(substr(ItemName, 7) AS INTEGER) % 13)")
                 .toInt(),
             rows);
}

void tst_ItemsCsv::problemsBeyondTheFirstHundredAreCounted() {
    TestInstall install;
    QTemporaryDir out;
    QByteArray bytes = "Item Name,Room\r\n";
    for (int i = 0; i < 250; ++i) {
        bytes += "Lamp,Hall\r\n";
    }
    writeFile(out.filePath("bad.csv"), bytes);
    const Riri::ItemsCsv::ImportResult result =
        Riri::ItemsCsv::importItems(out.filePath("bad.csv"));
    QCOMPARE(result.problems.size(), Riri::ItemsCsv::kListedProblems);
    QCOMPARE(result.unlistedProblems, 150);
    QVERIFY(result.problems.last().startsWith("Line 101: "));
}

void tst_ItemsCsv::killDuringExportLeavesNoPartialFile() {
    TestInstall install;
    QVERIFY(seedItems(install, 40000));
    QTemporaryDir out;
    const QString target = out.filePath("items.csv");
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(inChild([&] { return Riri::ItemsCsv::exportItems(target) == 40000 ? 0 : 1; }), 0);
    const qint64 whole = std::max<qint64>(timer.nsecsElapsed() / 1000, 2000);
    const QByteArray complete = readFile(target);
    QFile::remove(target);
    int completed = 0;
    for (int round = 0; round < 25; ++round) {
        const qint64 after = QRandomGenerator::global()->bounded(whole);
        inChild([&] { return Riri::ItemsCsv::exportItems(target) == 40000 ? 0 : 1; },
                [&](pid_t pid) {
                    ::usleep(static_cast<useconds_t>(after));
                    ::kill(pid, SIGKILL);
                });
        if (QFile::exists(target)) {
            QCOMPARE(readFile(target), complete);
            ++completed;
            QFile::remove(target);
        }
        for (const QString& name : folderEntries(out.path())) {
            QVERIFY2(name.startsWith(".items.csv.part-"), qPrintable(name));
            QFile::remove(out.filePath(name));
        }
    }
    qInfo("%d of 25 killed exports had completed", completed);
}

void tst_ItemsCsv::fullDiskDuringExport() {
    TestInstall install;
    QVERIFY(seedItems(install, 5000));
    const QByteArray before = fileHash(install.databasePath());
    QTemporaryDir out;
    const int status = inChild([&] {
        limitFileSize(100 * 1024);
        try {
            Riri::ItemsCsv::exportItems(out.filePath("items.csv"));
            return 1;
        } catch (const Riri::Error& error) {
            std::fprintf(stderr, "%s\n", qPrintable(error.description()));
            return error.description().startsWith("The disk is full") ? 0 : 2;
        }
    });
    QCOMPARE(status, 0);
    QVERIFY(folderEntries(out.path()).isEmpty());
    QCOMPARE(fileHash(install.databasePath()), before);
}

QTEST_GUILESS_MAIN(tst_ItemsCsv)
#include "tst_itemscsv.moc"
