// The add item window: identifiers, amounts, what is stored, and what
// follows a save.
#include "ItemTestSupport.h"
#include "items/ItemFieldSet.h"
#include "items/frmAddItem.h"

#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTextEdit>

namespace {

// Types a name, picks a room and saves, answering the add-another question.
void addItem(Fixture& fx, frmAddItem& w, const QString& name, int answer = Riri::vbYes) {
    ItemFieldSet& f = w.fields();
    f.txtBox[0]->setFocus();
    QTest::keyClicks(f.txtBox[0], name);
    f.cboBox->setCurrentIndex(f.cboBox->findText(QStringLiteral("Den")));
    fx.boxes.expect(answer);
    QTest::mouseClick(f.cmdSave, Qt::LeftButton);
}

QStringList column(const Fixture& fx, const char* sql) {
    QStringList texts;
    for (const QVariantList& row : fx.install.query(QString::fromLatin1(sql))) {
        texts << row.value(0).toString();
    }
    return texts;
}

} // namespace

class tst_additem : public QObject {
    Q_OBJECT
private slots:
    void identifiersFollowTheLargestId() {
        Fixture fx;
        frmAddItem w;
        QVERIFY(showActive(w));
        shoot(w, QStringLiteral("frmAddItem"));
        for (const char* name : {"One", "Two", "Three"}) {
            addItem(fx, w, QString::fromLatin1(name));
        }
        QCOMPARE(column(fx, "SELECT ItemID FROM tblItems ORDER BY ID"),
                 (QStringList{"A-1", "A-2", "A-3"}));
        // Deleting the item with the largest ID frees its number again.
        QVERIFY(fx.install.exec("DELETE FROM tblItems WHERE ItemID = 'A-3'"));
        addItem(fx, w, QStringLiteral("Four"));
        QCOMPARE(fx.install.query("SELECT ID, ItemID FROM tblItems WHERE ItemName = 'Four'"),
                 (QList<QVariantList>{{qint64(4), QStringLiteral("A-3")}}));
        // The number follows the largest ID, whatever the identifiers are.
        QVERIFY(fx.install.exec("INSERT INTO tblItems (ID, ItemID) VALUES (41, 'X-9')"));
        addItem(fx, w, QStringLiteral("Five"));
        QCOMPARE(column(fx, "SELECT ItemID FROM tblItems WHERE ItemName = 'Five'"),
                 QStringList{"A-42"});
    }

    void everyFieldIsStoredWithAmountsRoundedToCents() {
        Fixture fx;
        frmAddItem w;
        QVERIFY(showActive(w));
        ItemFieldSet& f = w.fields();
        f.txtBox[1]->setText(QStringLiteral("SN 77"));
        f.txtBox[2]->setText(QStringLiteral("X1"));
        f.txtBox[3]->setText(QStringLiteral("12.346"));
        f.txtBox[4]->setText(QStringLiteral("1,234.50"));
        f.txtBox[5]->setText(QStringLiteral("Bob's Store"));
        f.datBox->setDate(QDate(2005, 3, 1));
        f.rtBox[0]->setPlainText(QStringLiteral("Brass\nsecond line"));
        f.rtBox[1]->setPlainText(QStringLiteral("'; DROP TABLE tblItems; --"));
        addItem(fx, w, QStringLiteral("O'Brien's lamp"), Riri::vbNo);
        const QVariantList expected{"A-1",
                                    "O'Brien's lamp",
                                    "SN 77",
                                    "X1",
                                    "Den",
                                    12.35,
                                    1234.5,
                                    "2005-03-01",
                                    "Bob's Store",
                                    "Brass\nsecond line",
                                    "'; DROP TABLE tblItems; --",
                                    QVariant()};
        QCOMPARE(fx.install.query("SELECT ItemID, ItemName, SN, Model, RoomName, Cost, CurValue, "
                                  "BuyDate, AccquiredFrom, Description, Notes, ModDate "
                                  "FROM tblItems"),
                 QList<QVariantList>{expected});
        QVERIFY(!w.isVisible()); // No closed the window
    }

    // Amounts keep every digit the boxes take, with their cents (a single
    // precision amount kept seven digits: 123456.8, 1234568).
    void largeAmountsKeepTheirCents() {
        Fixture fx;
        frmAddItem w;
        QVERIFY(showActive(w));
        ItemFieldSet& f = w.fields();
        f.txtBox[3]->setText(QStringLiteral("123,456.78"));
        f.txtBox[4]->setText(QStringLiteral("1234567.89"));
        addItem(fx, w, QStringLiteral("Piano"), Riri::vbYes);
        f.txtBox[3]->setText(QStringLiteral("9999999.99"));
        f.txtBox[4]->setText(QStringLiteral("-99999.995"));
        addItem(fx, w, QStringLiteral("Estate"), Riri::vbNo);
        QCOMPARE(fx.install.query("SELECT CAST(Cost AS TEXT), CAST(CurValue AS TEXT) FROM tblItems "
                                  "ORDER BY ID"),
                 (QList<QVariantList>{{"123456.78", "1234567.89"}, {"9999999.99", "-100000.0"}}));
    }

    void yesEmptiesTheWindowForTheNextItem() {
        Fixture fx;
        frmAddItem w;
        QVERIFY(showActive(w));
        ItemFieldSet& f = w.fields();
        f.rtBox[1]->setPlainText(QStringLiteral("note"));
        f.datBox->setDate(QDate(2010, 1, 1));
        addItem(fx, w, QStringLiteral("Lamp"), Riri::vbYes);
        QCOMPARE(fx.boxes.last().prompt,
                 QStringLiteral("New Item Record Saved!\r\n\r\nDo you want to add another Item? "));
        QCOMPARE(fx.boxes.last().title, QStringLiteral("Record Saved Successfully"));
        QCOMPARE(fx.boxes.last().flags, Riri::vbQuestion | Riri::vbYesNo | Riri::vbDefaultButton2);
        QVERIFY(w.isVisible());
        QCOMPARE(f.txtBox[0]->text() + f.rtBox[1]->toPlainText(), QString());
        QCOMPARE(f.cboBox->currentIndex(), -1);
        QCOMPARE(f.datBox->date(), QDate::currentDate());
        QCOMPARE(QApplication::focusWidget(), f.txtBox[0]);
        QCOMPARE(fx.install.scalar("SELECT Cost FROM tblItems").toDouble(), 0.0);
    }

    void aFailedSaveKeepsTheEntries() {
        Fixture fx;
        QVERIFY(fx.install.exec("CREATE TRIGGER refuse BEFORE INSERT ON tblItems "
                                "BEGIN SELECT RAISE(ABORT, 'refused'); END;"));
        frmAddItem w;
        QVERIFY(showActive(w));
        ItemFieldSet& f = w.fields();
        f.rtBox[0]->setPlainText(QStringLiteral("typed with care"));
        fx.boxes.expect(Riri::vbOK); // the component's own report
        addItem(fx, w, QStringLiteral("Lamp"), Riri::vbOK);
        QCOMPARE(fx.boxes.count(), 2);
        QCOMPARE(fx.boxes.shown().at(0).title, QStringLiteral("Riri"));
        QCOMPARE(fx.boxes.last().prompt, QStringLiteral("Item Record NOT Saved"));
        QCOMPARE(fx.boxes.last().title, QStringLiteral(" ERROR"));
        QCOMPARE(fx.boxes.last().flags, Riri::vbCritical | Riri::vbOKOnly);
        QCOMPARE(f.txtBox[0]->text(), QStringLiteral("Lamp"));
        QCOMPARE(f.cboBox->currentText(), QStringLiteral("Den"));
        QCOMPARE(f.rtBox[0]->toPlainText(), QStringLiteral("typed with care"));
        // Once the cause is gone, the same entries are saved.
        QVERIFY(fx.install.exec("DROP TRIGGER refuse"));
        fx.boxes.expect(Riri::vbNo);
        QTest::mouseClick(f.cmdSave, Qt::LeftButton);
        QCOMPARE(column(fx, "SELECT Description FROM tblItems"), QStringList{"typed with care"});

        // Without a database the identifier cannot be made: nothing is saved.
        QVERIFY(QFile::remove(fx.install.databasePath()));
        frmAddItem again;
        QVERIFY(showActive(again));
        addItem(fx, again, QStringLiteral("Chair"), Riri::vbOK);
        QCOMPARE(fx.boxes.last().prompt, QStringLiteral("Item Record NOT Saved"));
        QCOMPARE(again.fields().txtBox[0]->text(), QStringLiteral("Chair"));
    }
};

QTEST_MAIN(tst_additem)
#include "tst_additem.moc"
