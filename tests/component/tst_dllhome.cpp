#include "ItemArgs.h"
#include "TestSupport.h"

#include <Riri/ComponentFolder.h>
#include <Riri/Formats.h>
#include <Riri/MsgBox.h>
#include <Riri/dllHome.h>

#include <QDir>
#include <QFile>
#include <QTest>

namespace {

QDateTime nowToSecond() {
    QDateTime now = QDateTime::currentDateTime();
    now.setTime(QTime(now.time().hour(), now.time().minute(), now.time().second()));
    return now;
}

bool add(Riri::dllHome& home, const QString& id, const QString& name = "Lamp") {
    ItemArgs item(id, name);
    return home.AddItems(item.text, item.money, item.date);
}

} // namespace

class tst_dllhome : public QObject {
    Q_OBJECT
private slots:
    void connectionString() {
        TestInstall install;
        Riri::dllHome home;
        QCOMPARE(home.strConnect, "Provider=SQLite3;User ID=;Data Source=" + install.folder() +
                                      "/home/inv.inv;Persist Security Info=False;");
        QVERIFY(home.conDataBase);
        QVERIFY(!home.conDataBase->isOpen());
        QVERIFY(home.strFunction.isEmpty());

        // A folder whose name holds a semicolon still names the right file.
        const QString odd = install.folder() + "/my;stuff \"x\"";
        QVERIFY(QDir().mkpath(odd + "/home"));
        QVERIFY(QFile::copy(install.databasePath(), odd + "/home/inv.inv"));
        Riri::setComponentFolder(odd);
        Riri::dllHome other;
        QCOMPARE(other.conDataBase->dataSource(), odd + "/home/inv.inv");
        QVERIFY(add(other, "A-1"));
        QCOMPARE(install.scalar("SELECT COUNT(*) FROM tblItems").toInt(), 0);
    }

    void numbering() {
        TestInstall install;
        MsgResponder boxes;
        Riri::dllHome home;
        auto rs = home.GetNewItemID();
        QVERIFY(rs);
        QCOMPARE(rs->columns(), QStringList{"NewItemID"});
        QCOMPARE(rs->rowCount(), 1);
        QVERIFY(rs->isNull("NewItemID"));
        QCOMPARE(rs->Field("NewItemID"), QString());

        for (int n = 1; n <= 3; ++n) {
            QVERIFY(add(home, QString("A-%1").arg(n)));
        }
        QCOMPARE(home.GetNewItemID()->Field("NewItemID"), "3");
        boxes.expect(Riri::vbYes);
        QString id = "A-3";
        QVERIFY(home.DeleteItem(id));
        QCOMPARE(home.GetNewItemID()->Field("NewItemID"), "2");
        // The reused identifier gets a fresh row number.
        QVERIFY(add(home, "A-3"));
        QCOMPARE(install.scalar("SELECT ID FROM tblItems WHERE ItemID = 'A-3'").toInt(), 4);
        QCOMPARE(home.GetNewItemID()->Field("NewItemID"), "4");
    }

    void itemStamps() {
        TestInstall install;
        MsgResponder boxes;
        Riri::dllHome home;
        ItemArgs item("A-1", "  O'Brien's lamp  ");
        item.money = {0.f, -12.5f};
        const QDateTime before = nowToSecond();
        QVERIFY(home.AddItems(item.text, item.money, item.date));
        const QDateTime after = QDateTime::currentDateTime();
        QCOMPARE(item.text[1], "  O''Brien''s lamp  "); // the caller's array is cleaned
        QCOMPARE(item.text[5], "Bob''s Store");

        const char* const columns = "SELECT ItemName,AccquiredFrom,Cost,CurValue,BuyDate,AddDate,"
                                    "ModDate,SN,Model,RoomName,Description,Notes FROM tblItems";
        QVariantList row = install.query(columns).value(0);
        QCOMPARE(row.mid(0, 5),
                 (QVariantList{"O'Brien's lamp", "Bob's Store", 0.0, -12.5, "2005-03-01"}));
        QCOMPARE(row.mid(7), (QVariantList{"SN-1", "X1", "Kitchen", "A lamp", "None"}));
        const QDateTime added = Riri::parseSqlDateTime(row[5].toString());
        QVERIFY2(added >= before && added <= after, qPrintable(row[5].toString()));
        QVERIFY(row[6].toString().isEmpty());

        // The update stamps ModDate and leaves AddDate alone.
        QVERIFY(install.exec("UPDATE tblItems SET AddDate = '2001-02-03 04:05:06'"));
        ItemArgs changed("A-1", "Chair");
        changed.text = QStringList{"A-1", "Chair", "S2", "M2", "Attic", "Shop", "Old", "N2"};
        changed.money = {1234567.89, 0.5};
        changed.date = QDateTime(QDate(2010, 7, 9), QTime(14, 30));
        const QDateTime before2 = nowToSecond();
        QVERIFY(home.UpdateItems(changed.text, changed.money, changed.date));
        row = install.query(columns).value(0);
        QCOMPARE(row.mid(0, 6), (QVariantList{"Chair", "Shop", 1234567.89, 0.5,
                                              "2010-07-09 14:30:00", "2001-02-03 04:05:06"}));
        QCOMPARE(row.mid(7), (QVariantList{"S2", "M2", "Attic", "Old", "N2"}));
        const QDateTime modified = Riri::parseSqlDateTime(row[6].toString());
        QVERIFY2(modified >= before2 && modified <= QDateTime::currentDateTime(),
                 qPrintable(row[6].toString()));
        QCOMPARE(install.scalar("SELECT ItemID FROM tblItems").toString(), "A-1");
    }

    void ownerWrites() {
        TestInstall install;
        MsgResponder boxes;
        Riri::dllHome home;
        QStringList text{"O'Brien", "Ann",           "M",  "1 Main St", "Springfield", "IL",
                         "62701",   "Ann M O'Brien", "O-1"};
        QVERIFY(home.AddOwner(text));
        QCOMPARE(text[0], "O''Brien");
        const char* const columns =
            "SELECT OwnerID,LName,FName,MName,FullName,Address,City,State,Zip,AddDate,ModDate "
            "FROM tblOwner ORDER BY OwnerID";
        QVariantList row = install.query(columns).value(0);
        QCOMPARE(row.mid(0, 9), (QVariantList{"O-1", "O'Brien", "Ann", "M", "Ann M O'Brien",
                                              "1 Main St", "Springfield", "IL", "62701"}));
        QVERIFY(Riri::parseSqlDateTime(row[9].toString()).isValid());
        QVERIFY(row[10].toString().isEmpty());

        // The update has no condition: every owner row gets the same values.
        QVERIFY(install.exec("INSERT INTO tblOwner (OwnerID,LName,AddDate) "
                             "VALUES ('O-2','Other','2001-02-03 04:05:06')"));
        QStringList update{"Smith", "Bob", "", "2 Oak", "Shelbyville", "IN", "46176", "Bob Smith"};
        QVERIFY(home.UpdateOwner(update));
        const QList<QVariantList> rows = install.query(columns);
        QCOMPARE(rows.size(), 2);
        for (int r = 0; r < 2; ++r) {
            QCOMPARE(rows[r].mid(1, 8), (QVariantList{"Smith", "Bob", "", "Bob Smith", "2 Oak",
                                                      "Shelbyville", "IN", "46176"}));
            QVERIFY(Riri::parseSqlDateTime(rows[r][10].toString()).isValid());
        }
        QCOMPARE(rows[0][0], "O-1");
        QCOMPARE(rows[1][0], "O-2");

        // Without an owner row nothing is stored: false, with nothing shown
        // or logged, as for an item identifier that matches no row.
        QVERIFY(install.exec("DELETE FROM tblOwner"));
        QVERIFY(!home.UpdateOwner(update));
        QCOMPARE(install.scalar("SELECT COUNT(*) FROM tblOwner").toInt(), 0);
        QVERIFY(!QFile::exists(install.logPath()));
        QCOMPARE(rows[1][9], "2001-02-03 04:05:06");
        QCOMPARE(row[9], rows[0][9]);
    }

    void deleteItem() {
        TestInstall install;
        MsgResponder boxes;
        Riri::dllHome home;
        QVERIFY(add(home, "A-1"));
        QVERIFY(add(home, "A-2"));
        QString id = "A-1";
        boxes.expect(Riri::vbNo);
        QVERIFY(!home.DeleteItem(id));
        QCOMPARE(boxes.count(), 1);
        QCOMPARE(boxes.last().prompt,
                 "Delete this Item Record?\r\n\r\nOnce deleted it can't be recovered!");
        QCOMPARE(boxes.last().title, "** WARNING **");
        QCOMPARE(boxes.last().flags, Riri::vbQuestion | Riri::vbYesNo | Riri::vbDefaultButton2);
        QCOMPARE(install.scalar("SELECT COUNT(*) FROM tblItems").toInt(), 2);
        QVERIFY(!home.conDataBase->isOpen());

        boxes.expect(Riri::vbYes);
        QVERIFY(home.DeleteItem(id));
        QCOMPARE(install.scalar("SELECT group_concat(ItemID) FROM tblItems").toString(), "A-2");

        // No row carries the identifier: asked all the same, nothing deleted.
        QString unknown = "A-9";
        boxes.expect(Riri::vbYes);
        QVERIFY(home.DeleteItem(unknown));
        QCOMPARE(boxes.count(), 3);
        QCOMPARE(install.scalar("SELECT COUNT(*) FROM tblItems").toInt(), 1);
        QVERIFY(!QFile::exists(install.logPath()));
    }

    // Nothing was stored, so no success; and nothing failed: no log, no box.
    void updateUnknownItem() {
        TestInstall install;
        MsgResponder boxes;
        Riri::dllHome home;
        QVERIFY(add(home, "A-1"));
        ItemArgs item("A-9", "Other");
        QVERIFY(!home.UpdateItems(item.text, item.money, item.date));
        QCOMPARE(boxes.count(), 0);
        QVERIFY(!QFile::exists(install.logPath()));
        QVERIFY(home.strFunction.isEmpty());
        QCOMPARE(install.scalar("SELECT group_concat(ItemID || ItemName) FROM tblItems"),
                 "A-1Lamp");
        QVERIFY(add(home, "A-2")); // the connection was closed
    }

    // Identifiers are written as they are, but can never break a statement.
    void identifiersWithQuotes() {
        TestInstall install;
        MsgResponder boxes;
        Riri::dllHome home;
        const QString odd = "A-1' OR ItemID <> '";
        QVERIFY(add(home, odd));
        QVERIFY(add(home, "A-2"));
        QCOMPARE(install.scalar("SELECT ItemID FROM tblItems WHERE ID = 1"), odd);

        ItemArgs item(odd, "Changed");
        QVERIFY(home.UpdateItems(item.text, item.money, item.date));
        QCOMPARE(item.text[0], odd);
        QCOMPARE(install.scalar("SELECT group_concat(ItemName) FROM tblItems ORDER BY ID"),
                 "Changed,Lamp");
        QString id = odd;
        boxes.expect(Riri::vbYes);
        QVERIFY(home.DeleteItem(id));
        QCOMPARE(install.scalar("SELECT group_concat(ItemID) FROM tblItems"), "A-2");

        // A NUL character is dropped, as Clean drops it from the other texts,
        // instead of cutting the statement short.
        QVERIFY(add(home, QStringLiteral("A-3") + QChar(u'\0') + "x"));
        QCOMPARE(install.scalar("SELECT count(*) FROM tblItems WHERE ItemID = 'A-3x'"), 1);

        QStringList owner{"L", "F", "M", "A", "C", "S", "Z", "F M L", "O'1"};
        QVERIFY(home.AddOwner(owner));
        QCOMPARE(install.scalar("SELECT OwnerID FROM tblOwner"), "O'1");
    }

    void recordSetOutlivesObject() {
        TestInstall install;
        MsgResponder boxes;
        std::shared_ptr<Riri::Recordset> items, ids, owners, edit;
        {
            Riri::dllHome home;
            QVERIFY(add(home, "A-1", "First"));
            QVERIFY(add(home, "A-2", "Second"));
            items = home.LoadItems();
            ids = home.RefreshItems();
            owners = home.RefreshOwner();
            edit = home.LoadEditItem();
        }
        QVERIFY(items && ids && owners && edit);
        QCOMPARE(items->rowCount(), 2);
        QCOMPARE(edit->columns(), items->columns());
        QCOMPARE(ids->columns(), QStringList{"ItemID"});
        QVERIFY(owners->IsEOF() && owners->IsBOF());

        items->MoveFirst();
        QVERIFY(!items->IsEOF() && !items->IsBOF());
        QCOMPARE(items->Field("ItemName"), "First");
        QCOMPARE(items->Field("itemname"), "First");
        QCOMPARE(items->Field("ModDate"), QString());
        QCOMPARE(items->Field("NoSuchColumn"), QString());
        items->MoveNext();
        QCOMPARE(items->Field("ItemID"), "A-2");
        QCOMPARE(items->Field("CurValue").toDouble(), 12.5);
        items->MoveNext();
        QVERIFY(items->IsEOF());
        QCOMPARE(items->Field("ItemID"), QString());

        QVERIFY(items->Close());
        QVERIFY(!items->Close());
        QVERIFY(items->IsEOF() && items->IsBOF());
    }

    // A failing LoadOwner or LoadEditItem raises, and the next operation of
    // the same object starts from a closed connection.
    void loadFailureLeavesNoConnection() {
        TestInstall install;
        MsgResponder boxes;
        Riri::dllHome home;
        QVERIFY(add(home, "A-1"));
        QVERIFY(install.exec("ALTER TABLE tblOwner RENAME TO tblGone"));
        QVERIFY_THROWS_EXCEPTION(Riri::Error, home.LoadOwner());
        QVERIFY(!home.conDataBase->isOpen());
        QVERIFY(install.exec("ALTER TABLE tblGone RENAME TO tblOwner"));
        QVERIFY(home.LoadOwner());

        QVERIFY(install.exec("ALTER TABLE tblItems RENAME TO tblGone"));
        QVERIFY_THROWS_EXCEPTION(Riri::Error, home.LoadEditItem());
        QVERIFY(!home.LoadItems()); // skips its failures and returns nothing
        QVERIFY(install.exec("ALTER TABLE tblGone RENAME TO tblItems"));
        QCOMPARE(home.LoadEditItem()->rowCount(), 1);
        QVERIFY(add(home, "A-2"));
        QCOMPARE(boxes.count(), 0);
    }
};

QTEST_GUILESS_MAIN(tst_dllhome)
#include "tst_dllhome.moc"
