// The edit item window: its list, choosing a row, sorting, and saving.
#include "ItemTestSupport.h"
#include "MsgBox.h"
#include "items/ItemFieldSet.h"
#include "items/ItemListView.h"
#include "items/frmEditItem.h"
#include "modGlobal.h"
#include "platform/Twips.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextEdit>
#include <memory>

namespace {

const char* const kAllColumns = "SELECT ItemID, ItemName, SN, Model, RoomName, Cost, CurValue, "
                                "BuyDate, AccquiredFrom, Description, Notes, AddDate "
                                "FROM tblItems ORDER BY ID";

StoredItem lamp() {
    StoredItem item;
    item.itemId = QStringLiteral("A-1");
    item.name = QStringLiteral("Brass lamp");
    item.sn = QStringLiteral("SN-77");
    item.model = QStringLiteral("X1");
    item.room = QStringLiteral("Living Room");
    item.cost = QStringLiteral("1234.5");
    item.value = QStringLiteral("999");
    item.bought = QStringLiteral("2007-05-04");
    item.from = QStringLiteral("Bob's Store");
    item.description = QStringLiteral("Brass, with shade\nsecond line");
    item.notes = QStringLiteral("From grandmother");
    return item;
}

QStringList columnTexts(const ItemListModel& model, int column) {
    QStringList texts;
    for (int r = 0; r < model.rowCount(); ++r) {
        texts << model.text(r, column);
    }
    return texts;
}

} // namespace

class tst_edititem : public QObject {
    Q_OBJECT

    std::unique_ptr<TestInstall> install;
    std::unique_ptr<MsgResponder> boxes;

private slots:
    void initTestCase() {
        // A locale whose own short date has a two-digit year.
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }
    void init() {
        install = std::make_unique<TestInstall>();
        QVERIFY(install->isValid());
        boxes = std::make_unique<MsgResponder>();
    }
    void cleanup() {
        boxes.reset();
        install.reset();
    }

    void listShowsEveryItemInDeliveryOrder() {
        QVERIFY(storeItem(*install, lamp()));
        StoredItem bare;
        bare.itemId = QStringLiteral("A-2");
        bare.name = QStringLiteral("Chair");
        QVERIFY(storeItem(*install, bare));
        frmEditItem w;
        QVERIFY(showActive(w));
        QCOMPARE(w.size(), Twips::Size(6255, 8235));
        QCOMPARE(w.lvItems->geometry(), Twips::Rect(120, 600, 6015, 1335));
        QCOMPARE(w.fields().txtBox[0]->geometry(), Twips::Rect(2100, 2040, 4035, 315));
        QCOMPARE(w.fields().txtBox[2]->geometry(), Twips::Rect(2100, 2760, 4095, 315));
        QCOMPARE(w.fields().cmdSave->geometry(), Twips::Rect(120, 7740, 1215, 375));
        QCOMPARE(w.Label30->text(), QStringLiteral("Edit Item"));
        QCOMPARE(w.Label30->palette().color(QPalette::WindowText), QColor(0, 0, 255));
        QVERIFY(!w.lblID->isVisible());
        QCOMPARE(w.lblID->text(), QString());

        const ItemListModel& list = *w.lvItems->items();
        const QStringList headers{"Item ID",   "Item Name",   "Serial Number", "Room Location",
                                  "Cost",      "Value",       "Model",         "Accquired From",
                                  "Accquired", "Description", "Notes"};
        const int widths[11] = {1500, 2500, 1500, 2200, 1200, 1200, 1500, 2500, 1500, 2500, 2500};
        for (int c = 0; c < 11; ++c) {
            QCOMPARE(list.headerData(c, Qt::Horizontal).toString(), headers[c]);
            QCOMPARE(w.lvItems->header()->sectionSize(c), Twips::ToPixels(widths[c]));
        }
        QCOMPARE(list.rowCount(), 2);
        const QStringList first{"A-1",
                                "Brass lamp",
                                "SN-77",
                                "Living Room",
                                "1,234.50",
                                "999.00",
                                "X1",
                                "Bob's Store",
                                "5/4/2007",
                                "Brass, with shade\nsecond line",
                                "From grandmother"};
        const QStringList second{"A-2", "Chair", "", "", "", "", "", "", "", "", ""};
        for (int c = 0; c < 11; ++c) {
            QCOMPARE(list.text(0, c), first[c]);
            QCOMPARE(list.text(1, c), second[c]);
        }
        QCOMPARE(list.key(0), QStringLiteral("A-1"));
        QCOMPARE(w.lvItems->selectedRow(), -1);
        QVERIFY(!rsData);
        QCOMPARE(shoot(w, QStringLiteral("frmEditItem")).size(), w.size());
    }

    void aRowClickFillsTheFieldsAndAnUnchangedSaveKeepsTheRow() {
        StoredItem other = lamp();
        other.itemId = QStringLiteral("A-2");
        other.name = QStringLiteral("Other");
        other.room = QStringLiteral("Garage");
        other.bought = QStringLiteral("1999-12-31");
        QVERIFY(storeItem(*install, other));
        QVERIFY(storeItem(*install, lamp()));
        const QList<QVariantList> before = install->query(kAllColumns);
        frmEditItem w;
        QVERIFY(showActive(w));
        ItemFieldSet& f = w.fields();
        clickRow(w.lvItems, 0);
        f.txtBox[0]->setText(QStringLiteral("typed over"));
        clickRow(w.lvItems, 1);
        QCOMPARE(w.lblID->text(), QStringLiteral("A-1"));
        QVERIFY(!w.lblID->isVisible());
        QCOMPARE(f.txtBox[0]->text(), QStringLiteral("Brass lamp"));
        QCOMPARE(f.txtBox[1]->text(), QStringLiteral("SN-77"));
        QCOMPARE(f.txtBox[2]->text(), QStringLiteral("X1"));
        QCOMPARE(f.cboBox->currentText(), QStringLiteral("Living Room"));
        QCOMPARE(f.txtBox[3]->text(), QStringLiteral("1,234.50"));
        QCOMPARE(f.txtBox[4]->text(), QStringLiteral("999.00"));
        QCOMPARE(f.txtBox[5]->text(), QStringLiteral("Bob's Store"));
        QCOMPARE(f.datBox->date(), QDate(2007, 5, 4));
        QCOMPARE(f.rtBox[0]->toPlainText(), QStringLiteral("Brass, with shade\nsecond line"));
        QCOMPARE(f.rtBox[1]->toPlainText(), QStringLiteral("From grandmother"));
        QCOMPARE(itmData.row(), 1);

        boxes->expect(Riri::vbNo);
        QTest::mouseClick(f.cmdSave, Qt::LeftButton);
        QCOMPARE(
            boxes->last().prompt,
            QStringLiteral("New Item Record Updated!\r\n\r\nDo you want to edit another Item? "));
        QCOMPARE(boxes->last().title, QStringLiteral("Record Saved Successfully"));
        QCOMPARE(boxes->last().flags, Riri::vbQuestion | Riri::vbYesNo | Riri::vbDefaultButton2);
        QCOMPARE(install->query(kAllColumns), before);
        QVERIFY(!install->scalar("SELECT ModDate FROM tblItems WHERE ItemID = 'A-1'").isNull());
        QVERIFY(install->scalar("SELECT ModDate FROM tblItems WHERE ItemID = 'A-2'").isNull());
        QVERIFY(!w.isVisible());
    }

    void enterOnARowChosenWithTheKeyboardReadsIt() {
        QVERIFY(storeItem(*install, lamp()));
        StoredItem other = lamp();
        other.itemId = QStringLiteral("A-2");
        other.name = QStringLiteral("Other");
        QVERIFY(storeItem(*install, other));
        frmEditItem w;
        QVERIFY(showActive(w));
        QCOMPARE(QApplication::focusWidget(), w.lvItems);
        QTest::keyClick(w.lvItems, Qt::Key_Down);
        QTest::keyClick(w.lvItems, Qt::Key_Down);
        QCOMPARE(w.fields().txtBox[0]->text(), QString());
        QTest::keyClick(w.lvItems, Qt::Key_Return);
        QCOMPARE(w.lblID->text(), QStringLiteral("A-2"));
        QCOMPARE(w.fields().txtBox[0]->text(), QStringLiteral("Other"));
    }

    void textsLongerThanTheBoxesAreKept() {
        StoredItem item = lamp();
        item.name = QString(40, QLatin1Char('n'));
        item.model = QString(50, QLatin1Char('m'));
        item.notes = QString(300, QLatin1Char('x'));
        QVERIFY(storeItem(*install, item));
        const QList<QVariantList> before = install->query(kAllColumns);
        frmEditItem w;
        QVERIFY(showActive(w));
        clickRow(w.lvItems, 0);
        QCOMPARE(w.fields().txtBox[0]->text(), item.name);
        QCOMPARE(w.fields().rtBox[1]->toPlainText(), item.notes);
        boxes->expect(Riri::vbYes);
        QTest::mouseClick(w.fields().cmdSave, Qt::LeftButton);
        QCOMPARE(install->query(kAllColumns), before);
        // After Clear the boxes take no more than their limits again.
        QCOMPARE(w.fields().txtBox[0]->maxLength(), 34);
    }

    void typedAmountsAreStoredAsTheyAre() {
        StoredItem item = lamp();
        item.cost = QStringLiteral("NULL");
        QVERIFY(storeItem(*install, item));
        frmEditItem w;
        QVERIFY(showActive(w));
        QCOMPARE(w.lvItems->items()->text(0, ItemListModel::CostColumn), QString());
        clickRow(w.lvItems, 0);
        QCOMPARE(w.fields().txtBox[3]->text(), QString());
        w.fields().txtBox[4]->setText(QStringLiteral("12.346"));
        boxes->expect(Riri::vbYes);
        QTest::mouseClick(w.fields().cmdSave, Qt::LeftButton);
        QCOMPARE(install->query("SELECT Cost, CurValue FROM tblItems").first(),
                 (QVariantList{0.0, 12.346}));
        // Yes: the fields are empty and the list is read again.
        QCOMPARE(w.lblID->text(), QString());
        QCOMPARE(w.fields().txtBox[0]->text(), QString());
        QCOMPARE(w.fields().cboBox->currentIndex(), -1);
        QCOMPARE(w.lvItems->items()->text(0, ItemListModel::ValueColumn), QStringLiteral("12.35"));
        QCOMPARE(w.lvItems->items()->text(0, ItemListModel::CostColumn), QStringLiteral("0.00"));
        QCOMPARE(w.lvItems->selectedRow(), -1);
        QVERIFY(w.isVisible());
    }

    void headerClicksSortByTextWithOneDirection() {
        for (int i = 1; i <= 10; ++i) {
            StoredItem item;
            item.itemId = QStringLiteral("A-%1").arg(i);
            item.name = QStringLiteral("Item %1").arg(QChar(u'a' + (i * 7) % 10));
            item.cost = i == 3 ? QStringLiteral("1234.5") : QString::number(i * 100 - 1);
            QVERIFY(storeItem(*install, item));
        }
        frmEditItem w;
        QVERIFY(showActive(w));
        ItemListView* view = w.lvItems;
        const ItemListModel& list = *view->items();
        clickRow(view, 4);
        clickHeader(view, ItemListModel::ItemIdColumn);
        QCOMPARE(columnTexts(list, 0), (QStringList{"A-1", "A-10", "A-2", "A-3", "A-4", "A-5",
                                                    "A-6", "A-7", "A-8", "A-9"}));
        // The chosen row stays chosen.
        QCOMPARE(list.key(view->selectedRow()), QStringLiteral("A-5"));
        clickHeader(view, ItemListModel::ItemIdColumn);
        QCOMPARE(columnTexts(list, 0).first(), QStringLiteral("A-9"));
        QCOMPARE(columnTexts(list, 0).last(), QStringLiteral("A-1"));
        // Another column takes the direction flipped once more: ascending.
        clickHeader(view, ItemListModel::CostColumn);
        QCOMPARE(columnTexts(list, ItemListModel::CostColumn),
                 (QStringList{"1,234.50", "199.00", "399.00", "499.00", "599.00", "699.00",
                              "799.00", "899.00", "99.00", "999.00"}));
        clickHeader(view, ItemListModel::NameColumn);
        QStringList names = columnTexts(list, ItemListModel::NameColumn);
        QStringList sorted = names;
        std::sort(sorted.begin(), sorted.end(), std::greater<>());
        QCOMPARE(names, sorted);
        // A row click after sorting reads the row shown there.
        clickRow(view, 0);
        QCOMPARE(w.fields().txtBox[0]->text(), names.first());
        QCOMPARE(w.lblID->text(), list.key(0));

        // Saving with Yes reads the list again in delivery order.
        w.fields().cboBox->setCurrentIndex(0);
        boxes->expect(Riri::vbYes);
        QTest::mouseClick(w.fields().cmdSave, Qt::LeftButton);
        QCOMPARE(columnTexts(list, 0), (QStringList{"A-1", "A-2", "A-3", "A-4", "A-5", "A-6", "A-7",
                                                    "A-8", "A-9", "A-10"}));
    }

    void savingWithoutAStoredItemFails() {
        QVERIFY(storeItem(*install, lamp()));
        const QList<QVariantList> before = install->query(kAllColumns);
        frmEditItem w;
        QVERIFY(showActive(w));
        ItemFieldSet& f = w.fields();
        // No row chosen yet.
        f.txtBox[0]->setText(QStringLiteral("Chair"));
        f.cboBox->setCurrentIndex(2);
        boxes->expect(Riri::vbOK);
        QTest::mouseClick(f.cmdSave, Qt::LeftButton);
        QCOMPARE(boxes->count(), 1);
        QCOMPARE(boxes->last().prompt, QStringLiteral("Item Record NOT Updated"));
        QCOMPARE(boxes->last().title, QStringLiteral(" ERROR"));
        QCOMPARE(boxes->last().flags, Riri::vbCritical | Riri::vbOKOnly);
        QCOMPARE(f.txtBox[0]->text(), QStringLiteral("Chair"));
        QCOMPARE(f.cboBox->currentIndex(), 2);

        // A row chosen, then Clear.
        clickRow(w.lvItems, 0);
        QTest::mouseClick(f.cmdClear, Qt::LeftButton);
        QCOMPARE(w.lblID->text(), QString());
        QCOMPARE(w.lvItems->items()->rowCount(), 1);
        f.txtBox[0]->setText(QStringLiteral("Chair"));
        f.cboBox->setCurrentIndex(2);
        boxes->expect(Riri::vbOK);
        QTest::mouseClick(f.cmdSave, Qt::LeftButton);
        QCOMPARE(boxes->last().prompt, QStringLiteral("Item Record NOT Updated"));
        QCOMPARE(install->query(kAllColumns), before);

        // A row chosen whose item is deleted meanwhile.
        clickRow(w.lvItems, 0);
        QVERIFY(install->exec("DELETE FROM tblItems WHERE ItemID = 'A-1'"));
        f.txtBox[1]->setText(QStringLiteral("changed"));
        boxes->expect(Riri::vbOK);
        QTest::mouseClick(f.cmdSave, Qt::LeftButton);
        QCOMPARE(boxes->last().prompt, QStringLiteral("Item Record NOT Updated"));
        QCOMPARE(f.txtBox[1]->text(), QStringLiteral("changed"));
        QCOMPARE(w.lblID->text(), QStringLiteral("A-1"));
        QCOMPARE(install->scalar("SELECT COUNT(*) FROM tblItems").toInt(), 0);
        QCOMPARE(boxes->count(), 3);
    }

    void unknownRoomsAndDatesAreNotCarriedOver() {
        QVERIFY(storeItem(*install, lamp()));
        StoredItem odd;
        odd.itemId = QStringLiteral("A-2");
        odd.name = QStringLiteral("Odd");
        odd.room = QStringLiteral("Cellar");
        odd.bought = QStringLiteral("sometime");
        QVERIFY(storeItem(*install, odd));
        StoredItem early = odd;
        early.itemId = QStringLiteral("A-3");
        early.room = QStringLiteral("kitchen");
        early.bought = QStringLiteral("1850-01-01");
        QVERIFY(storeItem(*install, early));
        frmEditItem w;
        QVERIFY(showActive(w));
        ItemFieldSet& f = w.fields();
        QCOMPARE(w.lvItems->items()->text(1, ItemListModel::BoughtColumn),
                 QStringLiteral("sometime"));
        for (int row : {1, 2}) {
            clickRow(w.lvItems, 0);
            QCOMPARE(f.cboBox->currentText(), QStringLiteral("Living Room"));
            clickRow(w.lvItems, row);
            QCOMPARE(f.txtBox[0]->text(), QStringLiteral("Odd"));
            QCOMPARE(f.cboBox->currentIndex(), -1);
            QCOMPARE(f.datBox->date(), QDate::currentDate());
        }
        // The room must be chosen before such an item can be saved.
        boxes->expect(Riri::vbOK);
        QTest::mouseClick(f.cmdSave, Qt::LeftButton);
        QCOMPARE(boxes->last().prompt, QStringLiteral("Location is missing! "));
    }

    void emptyDatabaseGivesAnEmptyUsableList() {
        frmEditItem w;
        QVERIFY(showActive(w));
        QCOMPARE(w.lvItems->items()->rowCount(), 0);
        clickHeader(w.lvItems, 0);
        QTest::mouseClick(w.lvItems->viewport(), Qt::LeftButton, {}, QPoint(20, 20));
        QCOMPARE(w.lblID->text(), QString());
        QCOMPARE(boxes->count(), 0);
    }

    void anUnreadableDatabaseGivesAnEmptyList() {
        QVERIFY(QFile::remove(install->databasePath()));
        frmEditItem w;
        QVERIFY(showActive(w));
        QCOMPARE(w.lvItems->items()->rowCount(), 0);
        QVERIFY(!rsData);
        QCOMPARE(w.cursor().shape(), Qt::ArrowCursor);
    }
};

QTEST_MAIN(tst_edititem)
#include "tst_edititem.moc"
