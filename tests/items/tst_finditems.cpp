// The find window: matching as the user types, the room filter, the count and
// totals under the list, sorting, reading the items again, and handing a row
// to the edit item window.
#include "EvidenceTesting.h"
#include "ItemTestSupport.h"
#include "frmMain.h"
#include "items/ItemFieldSet.h"
#include "items/ItemListView.h"
#include "items/ItemSearch.h"
#include "items/frmDeleteItem.h"
#include "items/frmEditItem.h"
#include "items/frmFindItems.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QTextEdit>

namespace {

QStringList shownKeys(const frmFindItems& w) {
    QStringList keys;
    const ItemListModel& list = *w.lvItems->items();
    for (int r = 0; r < list.rowCount(); ++r) {
        keys << list.key(r);
    }
    return keys;
}

// Types the query afresh, one key at a time, as a user would.
void type(frmFindItems& w, const QString& query) {
    w.txtFind->clear();
    QTest::keyClicks(w.txtFind, query);
}

StoredItem richItem(const QString& id, const QString& name, const QString& room) {
    StoredItem item = makeItem(id, name, room, QStringLiteral("10"));
    item.value = QStringLiteral("5");
    return item;
}

void storeSearchItems(const TestInstall& install) {
    StoredItem a = richItem("A-1", "Brass Lamp", "Den");
    a.description = "Lamp with a green shade";
    StoredItem b = richItem("A-2", "Café Table", "Kitchen");
    b.from = "Flea Market";
    StoredItem c = richItem("A-3", "Oak chair", "Kitchen");
    c.sn = "SN-4471X";
    c.notes = "Insured with Résumé Mutual";
    StoredItem d = richItem("A-4", "Desk", "Den");
    d.model = "Walnut-77";
    d.description = "Brass handles";
    StoredItem e = richItem("A-5", "ÉTAGÈRE", "Attic");
    e.notes = "brass\nlamp stand"; // words on two lines of one field
    for (const StoredItem& item : {a, b, c, d, e}) {
        QVERIFY(storeItem(install, item));
    }
}

} // namespace

class tst_finditems : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void everyWordAnywhereCaseAndAccentsIgnored() {
        Fixture fx;
        storeSearchItems(fx.install);
        frmFindItems w;
        QVERIFY(showActive(w));
        shoot(w, QStringLiteral("frmFindItems"));
        QCOMPARE(shownKeys(w), (QStringList{"A-1", "A-2", "A-3", "A-4", "A-5"}));

        type(w, "brass");
        QCOMPARE(shownKeys(w), (QStringList{"A-1", "A-4", "A-5"}));
        type(w, "brass lamp"); // every word, each in any field
        QCOMPARE(shownKeys(w), (QStringList{"A-1", "A-5"}));
        type(w, "LAMP   brass "); // order, case and extra blanks do not matter
        QCOMPARE(shownKeys(w), (QStringList{"A-1", "A-5"}));
        type(w, "cafe");
        QCOMPARE(shownKeys(w), QStringList{"A-2"});
        type(w, "CAFÉ");
        QCOMPARE(shownKeys(w), QStringList{"A-2"});
        type(w, "resume"); // in the notes
        QCOMPARE(shownKeys(w), QStringList{"A-3"});
        type(w, "etagere");
        QCOMPARE(shownKeys(w), QStringList{"A-5"});
        type(w, "4471x"); // serial number
        QCOMPARE(shownKeys(w), QStringList{"A-3"});
        type(w, "walnut-7"); // model
        QCOMPARE(shownKeys(w), QStringList{"A-4"});
        type(w, "market"); // acquired from
        QCOMPARE(shownKeys(w), QStringList{"A-2"});
        type(w, "a-4"); // item ID
        QCOMPARE(shownKeys(w), QStringList{"A-4"});
        type(w, "kitchen"); // room
        QCOMPARE(shownKeys(w), (QStringList{"A-2", "A-3"}));
        // A word never runs from one field into the next.
        type(w, "lampden");
        QCOMPARE(shownKeys(w), QStringList());
        type(w, "deskwalnut");
        QCOMPARE(shownKeys(w), QStringList());

        // Typing on narrows; deleting widens again.
        type(w, "brass lamp x");
        QCOMPARE(shownKeys(w), QStringList());
        QTest::keyClick(w.txtFind, Qt::Key_Backspace);
        QCOMPARE(shownKeys(w), (QStringList{"A-1", "A-5"}));
        for (int i = 0; i < 6; ++i) {
            QTest::keyClick(w.txtFind, Qt::Key_Backspace);
        }
        QCOMPARE(w.txtFind->text(), QStringLiteral("brass"));
        QCOMPARE(shownKeys(w), (QStringList{"A-1", "A-4", "A-5"}));

        // The room filter: all rooms first, then the 35 rooms in their order.
        QCOMPARE(w.cboRoom->count(), 36);
        QCOMPARE(w.cboRoom->itemText(0), QStringLiteral("All Rooms"));
        for (int i = 0; i < 35; ++i) {
            QCOMPARE(w.cboRoom->itemText(i + 1), ItemFieldSet::rooms().at(i));
        }
        w.cboRoom->setCurrentText(QStringLiteral("Den"));
        QCOMPARE(shownKeys(w), (QStringList{"A-1", "A-4"}));
        type(w, "");
        QCOMPARE(shownKeys(w), (QStringList{"A-1", "A-4"}));
        w.cboRoom->setCurrentText(QStringLiteral("Garage"));
        QCOMPARE(shownKeys(w), QStringList());
        QCOMPARE(w.lblTotals->text(),
                 QStringLiteral("Items shown: 0     Total Original Cost: 0.00     "
                                "Total Current Value: 0.00"));
        w.cboRoom->setCurrentIndex(0);
        QCOMPARE(shownKeys(w).size(), 5);
        QCOMPARE(fx.boxes.count(), 0);
    }

    // The evidence column, the filter for items without a photo and the
    // search in the attachments' captions.
    void evidenceColumnFilterAndCaptions_data() {
        QTest::addColumn<QString>("query");
        QTest::addColumn<bool>("withoutPhoto");
        QTest::addColumn<QStringList>("shown"); // ItemID:attachments
        QTest::newRow("every item")
            << "" << false << QStringList{"A-1:2", "A-2:1", "A-3:0", "A-4:3", "A-5:0"};
        QTest::newRow("without a photo") << "" << true << QStringList{"A-2:1", "A-3:0", "A-5:0"};
        QTest::newRow("a word of a caption") << "scratched" << false << QStringList{"A-2:1"};
        QTest::newRow("words of two captions") << "lumen FRONT" << false << QStringList{"A-1:2"};
        QTest::newRow("a caption and a field") << "plate desk" << false << QStringList{"A-4:3"};
        QTest::newRow("a caption, without a photo") << "invoice" << true << QStringList{"A-2:1"};
        // A word never runs from one caption into the next.
        QTest::newRow("across two captions") << "viewinvoice" << false << QStringList();
    }
    void evidenceColumnFilterAndCaptions() {
        QFETCH(QString, query);
        QFETCH(bool, withoutPhoto);
        QFETCH(QStringList, shown);
        Fixture fx;
        storeSearchItems(fx.install);
        using EvidenceTesting::evidenceRow;
        QVERIFY(evidenceRow(fx.install, "A-1", "Photo", "Front view"));
        QVERIFY(evidenceRow(fx.install, "A-1", "Receipt", "Invoice from Lumen"));
        QVERIFY(evidenceRow(fx.install, "A-2", "Receipt", "Invoice; scratched top"));
        QVERIFY(evidenceRow(fx.install, "A-4", "Photo", ""));
        QVERIFY(evidenceRow(fx.install, "A-4", "Serial label", "Serial plate"));
        QVERIFY(evidenceRow(fx.install, "A-4", "Photo", "Drawer"));
        frmFindItems w;
        QVERIFY(showActive(w));
        QCOMPARE(w.lvItems->model()->headerData(ItemListModel::EvidenceColumn, Qt::Horizontal),
                 QVariant("Evidence"));
        // Asked for while the photos and captions may still be read: the
        // query is matched again when they come.
        type(w, query);
        w.chkNoPhoto->setChecked(withoutPhoto);
        while (w.lvItems->isReadingEvidence()) {
            QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
        if (query.isEmpty() && !withoutPhoto) {
            shoot(w, QStringLiteral("frmFindItems-evidence"));
        }
        const ItemListModel& list = *w.lvItems->items();
        const auto rows = [&list] {
            QStringList rows;
            for (int r = 0; r < list.rowCount(); ++r) {
                rows << list.key(r) + ":" + list.text(r, ItemListModel::EvidenceColumn);
            }
            return rows;
        };
        QCOMPARE(rows(), shown);
        // Sorted by the number of attachments, most first on a second click.
        w.lvItems->columnClick(ItemListModel::EvidenceColumn);
        w.lvItems->columnClick(ItemListModel::EvidenceColumn);
        std::stable_sort(shown.begin(), shown.end(), [](const QString& a, const QString& b) {
            return a.section(':', 1).toInt() > b.section(':', 1).toInt();
        });
        QCOMPARE(rows(), shown);
    }

    void foldingOfTexts() {
        QCOMPARE(ItemSearch::fold(u"Café"), std::string("cafe"));
        QCOMPARE(ItemSearch::fold(u"Cafe\u0301"), std::string("cafe"));
        QCOMPARE(ItemSearch::fold(u"ÀÉÎÕÜ Ça"), std::string("aeiou ca"));
        QCOMPARE(ItemSearch::fold(u"Ångström"), std::string("angstrom"));
        QCOMPARE(ItemSearch::words(QStringLiteral("  Big\tCAFÉ  ")),
                 (std::vector<std::string>{"big", "cafe"}));
    }

    void totalsAreExactInCents() {
        Fixture fx;
        QVERIFY(fx.install.exec(
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 100000) "
            "INSERT INTO tblItems (ItemID, ItemName, RoomName, Cost, CurValue) "
            "SELECT 'A-' || i, 'Spoon ' || i, 'Kitchen', 0.1, 0.1 FROM n"));
        QVERIFY(fx.install.exec(
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 1000) "
            "INSERT INTO tblItems (ItemID, ItemName, RoomName, Cost, CurValue) "
            "SELECT 'B-' || i, 'Estate ' || i, 'Attic', 1234567890123.47, -0.01 FROM n"));
        frmFindItems w;
        QVERIFY(showActive(w));
        type(w, "spoon");
        QVERIFY(readToEnd(*w.lvItems));
        QCOMPARE(w.lvItems->items()->rowCount(), 100000);
        QCOMPARE(w.lblTotals->text(),
                 QStringLiteral("Items shown: 100,000     Total Original Cost: 10,000.00     "
                                "Total Current Value: 10,000.00"));
        type(w, "estate");
        QCOMPARE(w.lblTotals->text(),
                 QStringLiteral("Items shown: 1,000     Total Original Cost: "
                                "1,234,567,890,123,470.00     Total Current Value: -10.00"));
        type(w, "spoon 9999"); // 9999, 19999 ... 99999 and 99990 ... 99998
        QCOMPARE(w.lblTotals->text(),
                 QStringLiteral("Items shown: 19     Total Original Cost: 1.90     "
                                "Total Current Value: 1.90"));
    }

    // Amounts written by other means can add up beyond what 64 bits of cents
    // hold: the total stops at the largest one instead of wrapping round.
    void totalsBeyondSixtyFourBitsStop() {
        Fixture fx;
        QVERIFY(fx.install.exec(
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 1000) "
            "INSERT INTO tblItems (ItemID, ItemName, RoomName, Cost, CurValue) "
            "SELECT 'A-' || i, 'Castle ' || i, 'Attic', 9000000000000000, "
            "-9000000000000000 FROM n"));
        frmFindItems w;
        QVERIFY(showActive(w));
        type(w, "castle");
        QCOMPARE(w.lblTotals->text(),
                 QStringLiteral("Items shown: 1,000     Total Original Cost: "
                                "92,233,720,368,547,758.07     Total Current Value: "
                                "-92,233,720,368,547,758.08"));
    }

    void headersSortEachColumnAndReverseOnASecondClick() {
        Fixture fx;
        const char* const rows[][4] = {{"A-1", "999", "2005-10-01", "b"},
                                       {"A-2", "1234.5", "2005-02-01", "a"},
                                       {"A-3", "-3", "1999-12-31", "C"},
                                       {"A-10", "0.5", "", "d"}};
        for (const auto& r : rows) {
            QVERIFY(storeItem(fx.install, makeItem(r[0], r[3], "Den", r[1], r[2])));
        }
        frmFindItems w;
        QVERIFY(showActive(w));
        const auto ids = [&w] { return shownKeys(w); };
        clickHeader(w.lvItems, ItemListModel::CostColumn);
        QCOMPARE(ids(), (QStringList{"A-3", "A-10", "A-1", "A-2"}));
        QCOMPARE(w.lvItems->header()->sortIndicatorSection(), int(ItemListModel::CostColumn));
        QCOMPARE(w.lvItems->header()->sortIndicatorOrder(), Qt::AscendingOrder);
        clickHeader(w.lvItems, ItemListModel::CostColumn);
        QCOMPARE(ids(), (QStringList{"A-2", "A-1", "A-10", "A-3"}));
        QCOMPARE(w.lvItems->header()->sortIndicatorOrder(), Qt::DescendingOrder);
        // Another column starts ascending.
        clickHeader(w.lvItems, ItemListModel::BoughtColumn);
        QCOMPARE(ids(), (QStringList{"A-10", "A-3", "A-2", "A-1"}));
        QCOMPARE(w.lvItems->header()->sortIndicatorOrder(), Qt::AscendingOrder);
        clickHeader(w.lvItems, ItemListModel::NameColumn);
        QCOMPARE(ids(), (QStringList{"A-2", "A-1", "A-3", "A-10"}));
        clickHeader(w.lvItems, ItemListModel::ItemIdColumn);
        QCOMPARE(ids(), (QStringList{"A-1", "A-10", "A-2", "A-3"}));

        // A filter keeps the order; reading again keeps query and order.
        clickHeader(w.lvItems, ItemListModel::CostColumn);
        type(w, "a-1");
        QCOMPARE(ids(), (QStringList{"A-10", "A-1"}));
        QVERIFY(storeItem(fx.install, makeItem("A-11", "e", "Den", "-50")));
        QTest::keyClick(w.txtFind, Qt::Key_F5);
        QCOMPARE(ids(), (QStringList{"A-11", "A-10", "A-1"}));
        QCOMPARE(w.lvItems->header()->sortIndicatorSection(), int(ItemListModel::CostColumn));
        type(w, "");
        QCOMPARE(ids(), (QStringList{"A-11", "A-3", "A-10", "A-1", "A-2"}));
    }

    void savingOrDeletingElsewhereReadsTheListAgain() {
        Fixture fx;
        storeSearchItems(fx.install);
        frmFindItems find;
        QVERIFY(showActive(find));
        type(find, "kitchen");
        QCOMPARE(shownKeys(find), (QStringList{"A-2", "A-3"}));

        frmDeleteItem del;
        QVERIFY(showActive(del));
        clickRow(del.lvItems, 1);
        fx.boxes.expect(Riri::vbYes); // the component's question
        fx.boxes.expect(Riri::vbYes); // delete another
        QTest::mouseClick(del.cmdDelete, Qt::LeftButton);
        QCOMPARE(fx.count(), 4);
        QCOMPARE(shownKeys(find), QStringList{"A-3"});

        frmEditItem edit;
        QVERIFY(showActive(edit));
        QVERIFY(edit.selectItem("A-1"));
        edit.fields().cboBox->setCurrentText(QStringLiteral("Kitchen"));
        fx.boxes.expect(Riri::vbYes);
        QTest::mouseClick(edit.fields().cmdSave, Qt::LeftButton);
        QCOMPARE(fx.install.scalar("SELECT RoomName FROM tblItems WHERE ItemID = 'A-1'").toString(),
                 QStringLiteral("Kitchen"));
        QCOMPARE(shownKeys(find), (QStringList{"A-1", "A-3"}));
        QCOMPARE(find.txtFind->text(), QStringLiteral("kitchen"));
    }

    void enterOrDoubleClickHandsTheItemToTheEditWindow() {
        Fixture fx;
        StoredItem item = richItem("A-1", "Brass Lamp", "Den");
        item.cost = "1234.5";
        item.bought = "2007-05-04";
        item.description = "Green shade";
        item.notes = "From grandmother";
        QVERIFY(storeItem(fx.install, item));
        QVERIFY(storeItem(fx.install, richItem("A-2", "Oak chair", "Kitchen")));
        frmMain main;
        QVERIFY(showActive(main));

        // What a click on the row in the edit window loads.
        main.mnuEditItem_Click();
        auto* edit = main.findChild<frmEditItem*>();
        QVERIFY(edit != nullptr);
        clickRow(edit->lvItems, 0);
        const ItemFieldSet& f = edit->fields();
        const QStringList byClick{edit->lblID->text(),       f.txtBox[0]->text(),
                                  f.txtBox[3]->text(),       f.txtBox[4]->text(),
                                  f.cboBox->currentText(),   f.datBox->date().toString(Qt::ISODate),
                                  f.rtBox[0]->toPlainText(), f.rtBox[1]->toPlainText()};
        QCOMPARE(byClick.at(2), QStringLiteral("1,234.50"));
        QTest::mouseClick(f.cmdClear, Qt::LeftButton);
        QCOMPARE(edit->lblID->text(), QString());

        QAction* command = main.findChild<QAction*>("mnuEditFindItems");
        QVERIFY(command != nullptr);
        command->trigger();
        auto* find = main.findChild<frmFindItems*>();
        QVERIFY(find != nullptr);
        QVERIFY(find->parentWidget() != nullptr &&
                qobject_cast<QMdiSubWindow*>(find->parentWidget()) != nullptr);
        type(*find, "brass");
        QTest::keyClick(find->txtFind, Qt::Key_Return); // the first row shown
        QCOMPARE(main.findChildren<frmEditItem*>().size(), 1);
        QCOMPARE(main.mdiArea()->activeSubWindow()->widget(), edit);
        const QStringList byFind{edit->lblID->text(),       f.txtBox[0]->text(),
                                 f.txtBox[3]->text(),       f.txtBox[4]->text(),
                                 f.cboBox->currentText(),   f.datBox->date().toString(Qt::ISODate),
                                 f.rtBox[0]->toPlainText(), f.rtBox[1]->toPlainText()};
        QCOMPARE(byFind, byClick);
        QCOMPARE(edit->lvItems->items()->key(edit->lvItems->selectedRow()), QStringLiteral("A-1"));

        // A double-click on another row; an item stored after the edit window
        // read its list is read in first.
        QVERIFY(storeItem(fx.install, richItem("A-3", "Brass bed", "Attic")));
        find->refresh();
        QCOMPARE(shownKeys(*find), (QStringList{"A-1", "A-3"}));
        const QModelIndex second = find->lvItems->model()->index(1, 0);
        // A widget's double-click comes after the first click's press and release.
        const QPoint at = find->lvItems->visualRect(second).center();
        QTest::mouseClick(find->lvItems->viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(edit->lblID->text(), QStringLiteral("A-1")); // one click opens nothing
        QTest::mouseDClick(find->lvItems->viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(edit->lblID->text(), QStringLiteral("A-3"));
        QCOMPARE(f.txtBox[0]->text(), QStringLiteral("Brass bed"));
        QCOMPARE(f.cboBox->currentText(), QStringLiteral("Attic"));

        // Enter on a chosen row of the list.
        clickRow(find->lvItems, 0);
        QTest::keyClick(find->lvItems, Qt::Key_Enter);
        QCOMPARE(edit->lblID->text(), QStringLiteral("A-1"));
        // Once more: still one find window and one edit window.
        command->trigger();
        QCOMPARE(main.findChildren<frmFindItems*>().size(), 1);
        QCOMPARE(main.findChildren<frmEditItem*>().size(), 1);
        QCOMPARE(fx.boxes.count(), 0);
    }

    void theEditWindowOpensWhenNoneIsOpen() {
        Fixture fx;
        QVERIFY(storeItem(fx.install, richItem("A-1", "Brass Lamp", "Den")));
        QVERIFY(storeItem(fx.install, richItem("A-2", "Oak chair", "Kitchen")));
        frmMain main;
        main.show();
        main.mnuEditFindItems_Click();
        auto* find = main.findChild<frmFindItems*>();
        type(*find, "oak");
        shoot(main, QStringLiteral("frmMain_find"));
        QTest::keyClick(find->txtFind, Qt::Key_Return);
        auto* edit = main.findChild<frmEditItem*>();
        QVERIFY(edit != nullptr);
        QCOMPARE(edit->lblID->text(), QStringLiteral("A-2"));
        QCOMPARE(edit->fields().cboBox->currentText(), QStringLiteral("Kitchen"));
    }

    void menuCommandChecksForItemsFirst() {
        Fixture fx;
        frmMain main;
        main.show();
        QAction* command = main.findChild<QAction*>("mnuEditFindItems");
        QVERIFY(command != nullptr);
        QCOMPARE(command->text(), QStringLiteral("Find Items"));
        QCOMPARE(command->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F));
        // Below "Edit Item", after a separator; the other items unchanged.
        const QList<QAction*> edit = main.findChild<QMenu*>("mnuEdit")->actions();
        QStringList names;
        for (QAction* a : edit) {
            names << a->objectName();
        }
        QCOMPARE(names, (QStringList{"mnuEditItem", "E0", "mnuEditHome", "E1", "mnuEditFindItems",
                                     "E2", "mnuEditItemEvidence"}));
        QVERIFY(edit.at(3)->isSeparator() && edit.at(3)->isVisible());
        fx.boxes.expect(Riri::vbOK);
        command->trigger();
        QCOMPARE(fx.boxes.last().prompt, QStringLiteral("No Item records were found to edit! "));
        QCOMPARE(fx.boxes.last().flags, int(Riri::vbExclamation | Riri::vbOKOnly));
        QVERIFY(main.findChild<frmFindItems*>() == nullptr);
    }
};

QTEST_MAIN(tst_finditems)
#include "tst_finditems.moc"
