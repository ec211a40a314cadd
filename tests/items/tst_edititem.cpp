// The edit item window: its list, choosing a row, sorting, and saving.
#include "ItemTestSupport.h"
#include "items/ItemFieldSet.h"
#include "items/ItemListView.h"
#include "items/frmEditItem.h"
#include "shared/modGlobal.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextEdit>

namespace {

const char* const kAllColumns = "SELECT ItemID, ItemName, SN, Model, RoomName, Cost, CurValue, "
                                "BuyDate, AccquiredFrom, Description, Notes, AddDate "
                                "FROM tblItems ORDER BY ID";

StoredItem lamp(const QString& id = QStringLiteral("A-1")) {
    return StoredItem{
        id,    "Brass lamp", "SN-77",       "X1",           "Living Room",     "1234.5",
        "999", "2007-05-04", "Bob's Store", "Brass\nshade", "From grandmother"};
}

QStringList column(const ItemListView* view, int c) {
    QStringList texts;
    for (int r = 0; r < view->items()->rowCount(); ++r) {
        texts << view->items()->text(r, c);
    }
    return texts;
}

void save(Fixture& fx, frmEditItem& w, int answer) {
    fx.boxes.expect(answer);
    QTest::mouseClick(w.fields().cmdSave, Qt::LeftButton);
}

} // namespace

class tst_edititem : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        // A locale whose own short date has a two-digit year.
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }

    void aRowClickFillsTheFieldsAndAnUnchangedSaveKeepsTheRow() {
        Fixture fx;
        StoredItem other = lamp(QStringLiteral("A-2"));
        other.room = QStringLiteral("Garage");
        other.name = QString(40, QLatin1Char('n')); // longer than the box lets one type
        other.notes = QString(300, QLatin1Char('x'));
        QVERIFY(storeItem(fx.install, lamp()) && storeItem(fx.install, other));
        const QList<QVariantList> before = fx.install.query(kAllColumns);
        frmEditItem w;
        QVERIFY(showActive(w));
        shoot(w, QStringLiteral("frmEditItem"));
        QCOMPARE(column(w.lvItems, 0), (QStringList{"A-1", "A-2"}));
        const QStringList shown{
            "A-1", "Brass lamp",  "SN-77",    "Living Room",  "1,234.50",        "999.00",
            "X1",  "Bob's Store", "5/4/2007", "Brass\nshade", "From grandmother"};
        for (int c = 0; c < 11; ++c) {
            QCOMPARE(w.lvItems->items()->text(0, c), shown[c]);
        }
        ItemFieldSet& f = w.fields();
        clickRow(w.lvItems, 1);
        f.txtBox[1]->setText(QStringLiteral("typed over"));
        clickRow(w.lvItems, 0);
        QCOMPARE(w.lblID->text(), QStringLiteral("A-1"));
        QVERIFY(!w.lblID->isVisible());
        QCOMPARE((QStringList{f.txtBox[0]->text(), f.txtBox[1]->text(), f.txtBox[2]->text(),
                              f.cboBox->currentText(), f.txtBox[3]->text(), f.txtBox[4]->text(),
                              f.txtBox[5]->text(), f.rtBox[0]->toPlainText(),
                              f.rtBox[1]->toPlainText()}),
                 (QStringList{"Brass lamp", "SN-77", "X1", "Living Room", "1,234.50", "999.00",
                              "Bob's Store", "Brass\nshade", "From grandmother"}));
        QCOMPARE(f.datBox->date(), QDate(2007, 5, 4));
        QCOMPARE(itmData.row(), 0);
        save(fx, w, Riri::vbYes);
        QCOMPARE(
            fx.boxes.last().prompt,
            QStringLiteral("New Item Record Updated!\r\n\r\nDo you want to edit another Item? "));
        QCOMPARE(fx.boxes.last().title, QStringLiteral("Record Saved Successfully"));
        QCOMPARE(fx.boxes.last().flags, Riri::vbQuestion | Riri::vbYesNo | Riri::vbDefaultButton2);
        // Texts longer than the boxes let one type are kept whole.
        clickRow(w.lvItems, 1);
        QCOMPARE(f.txtBox[0]->text(), other.name);
        save(fx, w, Riri::vbNo);
        QCOMPARE(fx.install.query(kAllColumns), before);
        QCOMPARE(fx.install.scalar("SELECT COUNT(*) FROM tblItems WHERE ModDate IS NULL").toInt(),
                 0);
        QVERIFY(!w.isVisible());
    }

    void typedAmountsAreRoundedToCents() {
        Fixture fx;
        StoredItem item = lamp();
        item.cost = QStringLiteral("NULL");
        QVERIFY(storeItem(fx.install, item));
        frmEditItem w;
        QVERIFY(showActive(w));
        clickRow(w.lvItems, 0);
        QCOMPARE(w.fields().txtBox[3]->text(), QString());
        w.fields().txtBox[4]->setText(QStringLiteral("12.346"));
        save(fx, w, Riri::vbYes);
        QCOMPARE(fx.install.query("SELECT Cost, CurValue FROM tblItems"),
                 (QList<QVariantList>{{0.0, 12.35}}));
        // Yes empties the fields and reads the list again.
        QCOMPARE(w.lblID->text() + w.fields().txtBox[0]->text(), QString());
        QCOMPARE(w.lvItems->items()->text(0, ItemListModel::ValueColumn), QStringLiteral("12.35"));
        QCOMPARE(w.lvItems->selectedRow(), -1);
    }

    // Every amount of the range goes to the database with its exact cents and
    // comes back unchanged into the list and the fields.
    void amountsAtTheRangeEndsKeepTheirCents() {
        Fixture fx;
        // Longer than the boxes let the user type: stored by other means.
        StoredItem item = lamp();
        item.cost = QStringLiteral("9999999999999.99");
        item.value = QStringLiteral("-9999999999999.99");
        QVERIFY(storeItem(fx.install, item));
        frmEditItem w;
        QVERIFY(showActive(w));
        const ItemListModel& list = *w.lvItems->items();
        QCOMPARE(list.text(0, ItemListModel::CostColumn), QStringLiteral("9,999,999,999,999.99"));
        QCOMPARE(list.text(0, ItemListModel::ValueColumn), QStringLiteral("-9,999,999,999,999.99"));
        clickRow(w.lvItems, 0);
        QCOMPARE(w.fields().txtBox[3]->text(), QStringLiteral("9,999,999,999,999.99"));
        QCOMPARE(w.fields().txtBox[4]->text(), QStringLiteral("-9,999,999,999,999.99"));
        // Saved again, the unchanged one stays what it is.
        w.fields().txtBox[4]->setText(QStringLiteral("123,456.78"));
        save(fx, w, Riri::vbYes);
        QCOMPARE(
            fx.install.query("SELECT CAST(Cost AS TEXT), CAST(CurValue AS TEXT) FROM tblItems"),
            (QList<QVariantList>{{"9999999999999.99", "123456.78"}}));
    }

    void headerClicksSortWithOneDirection() {
        Fixture fx;
        for (int i = 1; i <= 10; ++i) {
            QVERIFY(storeItem(
                fx.install,
                makeItem(QStringLiteral("A-%1").arg(i), QStringLiteral("Item %1").arg(i % 4), {},
                         i == 3 ? QStringLiteral("1234.5") : QString::number(i * 100 - 1))));
        }
        frmEditItem w;
        QVERIFY(showActive(w));
        clickRow(w.lvItems, 4);
        clickHeader(w.lvItems, ItemListModel::ItemIdColumn);
        QCOMPARE(column(w.lvItems, 0), (QStringList{"A-1", "A-10", "A-2", "A-3", "A-4", "A-5",
                                                    "A-6", "A-7", "A-8", "A-9"}));
        QCOMPARE(w.lvItems->items()->key(w.lvItems->selectedRow()), QStringLiteral("A-5"));
        clickHeader(w.lvItems, ItemListModel::ItemIdColumn);
        QCOMPARE(column(w.lvItems, 0).first(), QStringLiteral("A-9"));
        clickHeader(w.lvItems, ItemListModel::CostColumn); // ascending again, by amount
        QCOMPARE(column(w.lvItems, ItemListModel::CostColumn),
                 (QStringList{"99.00", "199.00", "399.00", "499.00", "599.00", "699.00", "799.00",
                              "899.00", "999.00", "1,234.50"}));
        clickHeader(w.lvItems, ItemListModel::NameColumn); // descending
        QCOMPARE(column(w.lvItems, ItemListModel::NameColumn).first(), QStringLiteral("Item 3"));
        // A row click reads the row shown there.
        clickRow(w.lvItems, 0);
        QCOMPARE(w.lblID->text(), w.lvItems->items()->key(0));
        // Saving with Yes reads the list again, in delivery order.
        w.fields().cboBox->setCurrentIndex(0);
        save(fx, w, Riri::vbYes);
        QCOMPARE(column(w.lvItems, 0).first(), QStringLiteral("A-1"));
        QCOMPARE(column(w.lvItems, 0).last(), QStringLiteral("A-10"));
    }

    void savingWithoutAStoredItemFailsAndKeepsTheEntries() {
        Fixture fx;
        QVERIFY(storeItem(fx.install, lamp()));
        const QList<QVariantList> before = fx.install.query(kAllColumns);
        frmEditItem w;
        QVERIFY(showActive(w));
        ItemFieldSet& f = w.fields();
        const auto failedSave = [&] {
            save(fx, w, Riri::vbOK);
            QCOMPARE(fx.boxes.last().prompt, QStringLiteral("Item Record NOT Updated"));
            QCOMPARE(fx.boxes.last().title, QStringLiteral(" ERROR"));
            QCOMPARE(fx.boxes.last().flags, Riri::vbCritical | Riri::vbOKOnly);
            QCOMPARE(f.txtBox[0]->text(), QStringLiteral("Chair"));
            QCOMPARE(f.cboBox->currentIndex(), 2);
        };
        // No row chosen yet.
        f.txtBox[0]->setText(QStringLiteral("Chair"));
        f.cboBox->setCurrentIndex(2);
        failedSave();
        // A row chosen, then Clear.
        clickRow(w.lvItems, 0);
        QTest::mouseClick(f.cmdClear, Qt::LeftButton);
        QCOMPARE(w.lblID->text(), QString());
        QCOMPARE(w.lvItems->items()->rowCount(), 1);
        f.txtBox[0]->setText(QStringLiteral("Chair"));
        f.cboBox->setCurrentIndex(2);
        failedSave();
        QCOMPARE(fx.install.query(kAllColumns), before);
        // A row chosen whose item is deleted meanwhile: said as such, and the
        // entries stay.
        clickRow(w.lvItems, 0);
        QVERIFY(fx.install.exec("DELETE FROM tblItems"));
        f.txtBox[0]->setText(QStringLiteral("Chair"));
        f.cboBox->setCurrentIndex(2);
        save(fx, w, Riri::vbOK);
        QCOMPARE(fx.boxes.last().prompt,
                 QStringLiteral("This item no longer exists in the inventory; it was not saved."));
        QCOMPARE(f.txtBox[0]->text(), QStringLiteral("Chair"));
        QCOMPARE(w.lblID->text(), QStringLiteral("A-1"));
        QCOMPARE(fx.count(), 0);
        QCOMPARE(fx.boxes.count(), 3);
    }

    void unknownRoomsAndDatesAreNotCarriedOver() {
        Fixture fx;
        QVERIFY(storeItem(fx.install, lamp()));
        QVERIFY(storeItem(fx.install, makeItem("A-2", "Odd", "Cellar", "1", "sometime")));
        QVERIFY(storeItem(fx.install, makeItem("A-3", "Odd", "kitchen", "1", "1850-01-01")));
        frmEditItem w;
        QVERIFY(showActive(w));
        ItemFieldSet& f = w.fields();
        for (int row : {1, 2}) {
            clickRow(w.lvItems, 0);
            QCOMPARE(f.datBox->date(), QDate(2007, 5, 4));
            clickRow(w.lvItems, row);
            QCOMPARE(f.txtBox[0]->text(), QStringLiteral("Odd"));
            QCOMPARE(f.cboBox->currentIndex(), -1);
            QCOMPARE(f.datBox->date(), QDate::currentDate());
        }
        save(fx, w, Riri::vbOK);
        QCOMPARE(fx.boxes.last().prompt, QStringLiteral("Location is missing! "));
    }
};

QTEST_MAIN(tst_edititem)
#include "tst_edititem.moc"
