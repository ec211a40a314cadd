// The inventory notice: a restore or an import brings every open window up
// to date in place, and an edit window never writes over an item that is
// gone.

#include "../items/ItemTestSupport.h"
#include "ReportProbe.h"
#include "frmMain.h"
#include "items/ItemFieldSet.h"
#include "items/ItemListView.h"
#include "items/frmAddItem.h"
#include "items/frmDeleteItem.h"
#include "items/frmEditItem.h"
#include "items/frmFindItems.h"
#include "platform/FileDialogSeam.h"
#include "reports/ReportCommands.h"
#include "reports/frmReportPreview.h"
#include "shared/InventoryNotice.h"

#include <QAction>
#include <QLineEdit>
#include <QMdiArea>
#include <QPointer>
#include <QPushButton>
#include <QScopeGuard>
#include <QTemporaryDir>

namespace {

void trigger(frmMain& main, const QString& action) {
    main.findChild<QAction*>(action)->trigger();
}

// The ItemIDs of the rows a list shows, top to bottom.
QStringList shownIds(const ItemListView& list) {
    QStringList ids;
    for (int row = 0; row < list.items()->rowCount(); ++row) {
        ids.append(list.items()->key(row));
    }
    return ids;
}

enum class Removal { ByDeleteWindow, OutsideTheProgram, IdGivenToNewItem };

} // namespace

Q_DECLARE_METATYPE(Removal)

class tst_InventoryNotice : public QObject {
    Q_OBJECT

private slots:
    void bulkChangeUpdatesOpenWindowsInPlace_data();
    void bulkChangeUpdatesOpenWindowsInPlace();
    void editOfAGoneItemIsRefused_data();
    void editOfAGoneItemIsRefused();
};

void tst_InventoryNotice::bulkChangeUpdatesOpenWindowsInPlace_data() {
    QTest::addColumn<QString>("write"); // the command that writes the file
    QTest::addColumn<QString>("read");  // the command that reads it back
    QTest::addColumn<QString>("file");  // its name
    QTest::addColumn<bool>("question"); // asks Yes/No before it acts
    QTest::addColumn<QStringList>("found");
    QTest::addColumn<QString>("count");
    QTest::addColumn<QString>("cost");

    // The file holds items 1 to 12; the inventory holds 1 to 3 when it is read.
    QTest::newRow("restore") << "mnuUtilsBackup"
                             << "mnuUtilsRestore"
                             << "twelve.inv" << true << QStringList{"A-12", "A-11", "A-10", "A-1"}
                             << "12"
                             << "$78.00";
    // The import matches items 1 to 3 by their Item IDs and adds 4 to 12,
    // numbered on after the largest, so they keep their ItemIDs.
    QTest::newRow("import") << "mnuUtilsExportCsv"
                            << "mnuUtilsImportCsv"
                            << "twelve.csv" << true << QStringList{"A-12", "A-11", "A-10", "A-1"}
                            << "12"
                            << "$78.00";
}

void tst_InventoryNotice::bulkChangeUpdatesOpenWindowsInPlace() {
    QFETCH(QString, write);
    QFETCH(QString, read);
    QFETCH(QString, file);
    QFETCH(bool, question);
    QFETCH(QStringList, found);
    QFETCH(QString, count);
    QFETCH(QString, cost);

    Fixture f;
    QVERIFY(numberedItems(f.install, 1, 12));
    QTemporaryDir out;
    const QString path = out.filePath(file);
    const auto answer = [path](QWidget*, const QString&, const QString&, const QString&) {
        return path;
    };
    FileDialogSeam::setSaveFileHandler(answer);
    FileDialogSeam::setOpenFileHandler(answer);
    const auto resetDialogs = qScopeGuard([] {
        FileDialogSeam::setSaveFileHandler(nullptr);
        FileDialogSeam::setOpenFileHandler(nullptr);
    });
    frmMain main;
    main.show();
    f.boxes.expect(Riri::vbOK);
    trigger(main, write);
    QVERIFY(f.install.exec("DELETE FROM tblItems WHERE ItemID NOT IN ('A-1', 'A-2', 'A-3')"));

    // The Find window with a query, a sort (Item Name, descending) and a
    // chosen row; the valuation summary; an add window with typing.
    QPointer<frmFindItems> find = main.showChild<frmFindItems>();
    QTest::keyClicks(find->txtFind, "Item 1");
    clickHeader(find->lvItems, ItemListModel::NameColumn);
    clickHeader(find->lvItems, ItemListModel::NameColumn);
    QCOMPARE(shownIds(*find->lvItems), QStringList{"A-1"});
    clickRow(find->lvItems, 0);
    trigger(main, "mnuValuationSummary");
    QPointer<frmReportPreview> preview = valuationSummaryPreview();
    QVERIFY(preview);
    QCOMPARE(
        ReportProbe::AllTexts(preview->report(), "lblTotalItems", Band::SectionKind::GroupFooter),
        QStringList{"3"});
    QPointer<frmAddItem> add = main.showChild<frmAddItem>();
    QLineEdit* name = add->fields().txtBox[ItemFieldSet::NameBox];
    QTest::keyClicks(name, "Lamp");
    const qsizetype windows = main.mdiArea()->subWindowList().size();

    if (question) {
        f.boxes.expect(Riri::vbYes);
    }
    f.boxes.expect(Riri::vbOK);
    trigger(main, read);
    QCoreApplication::processEvents();
    QCOMPARE(f.boxes.pending(), 0);
    QCOMPARE(f.boxes.last().icon(), int(Riri::vbInformation));

    // The same windows, showing the new inventory as the user left them.
    QCOMPARE(main.mdiArea()->subWindowList().size(), windows);
    QVERIFY(find && add && preview && valuationSummaryPreview() == preview);
    QCOMPARE(find->txtFind->text(), QString("Item 1"));
    QCOMPARE(find->lvItems->header()->sortIndicatorSection(), int(ItemListModel::NameColumn));
    QCOMPARE(find->lvItems->header()->sortIndicatorOrder(), Qt::DescendingOrder);
    QCOMPARE(shownIds(*find->lvItems), found);
    QCOMPARE(find->lvItems->chosenKey(), QString("A-1"));
    QCOMPARE(
        ReportProbe::AllTexts(preview->report(), "lblTotalItems", Band::SectionKind::GroupFooter),
        QStringList{count});
    QCOMPARE(
        ReportProbe::AllTexts(preview->report(), "lblTotalCost", Band::SectionKind::GroupFooter),
        QStringList{cost});
    QCOMPARE(name->text(), QString("Lamp"));
    delete preview.data();
}

void tst_InventoryNotice::editOfAGoneItemIsRefused_data() {
    QTest::addColumn<Removal>("removal");
    QTest::newRow("deleted in the delete window") << Removal::ByDeleteWindow;
    QTest::newRow("deleted outside the program") << Removal::OutsideTheProgram;
    // The largest ItemID is handed out again; the edit must not land on it.
    QTest::newRow("ItemID given to a new item") << Removal::IdGivenToNewItem;
}

void tst_InventoryNotice::editOfAGoneItemIsRefused() {
    QFETCH(Removal, removal);
    Fixture f;
    QVERIFY(numberedItems(f.install, 1, 3));
    frmMain main;
    main.show();
    QPointer<frmEditItem> edit = main.showChild<frmEditItem>();
    QVERIFY(edit->selectItem("A-3"));
    QLineEdit* name = edit->fields().txtBox[ItemFieldSet::NameBox];
    name->clear();
    QTest::keyClicks(name, "Changed");

    if (removal == Removal::OutsideTheProgram) {
        QVERIFY(f.install.exec("DELETE FROM tblItems WHERE ItemID = 'A-3'"));
    } else {
        frmDeleteItem* remove = main.showChild<frmDeleteItem>();
        clickRow(remove->lvItems, remove->lvItems->rowOf("A-3"));
        f.boxes.expect(Riri::vbYes); // delete it?
        f.boxes.expect(Riri::vbNo);  // delete another?
        remove->cmdDelete->click();
        QCOMPARE(f.count(), 2);
        // The edit window's list follows; its fields keep the typing.
        QCOMPARE(edit->lvItems->rowOf("A-3"), -1);
        QCOMPARE(name->text(), QString("Changed"));
    }
    if (removal == Removal::IdGivenToNewItem) {
        QVERIFY(storeItem(f.install, makeItem("A-3", "Newcomer", "Den", "5")));
        InventoryNotice::send(InventoryChange::Items);
        QVERIFY(edit->lvItems->rowOf("A-3") >= 0);
    }

    f.boxes.expect(Riri::vbOK);
    edit->fields().cmdSave->click();
    QCOMPARE(f.boxes.pending(), 0);
    QCOMPARE(f.boxes.last().prompt,
             QString("This item no longer exists in the inventory; it was not saved."));
    QCOMPARE(f.boxes.last().icon(), int(Riri::vbExclamation));
    QCOMPARE(f.install.scalar("SELECT count(*) FROM tblItems WHERE ItemName = 'Changed'").toInt(),
             0);
    QCOMPARE(f.install.scalar("SELECT ItemName FROM tblItems WHERE ItemID = 'A-3'").toString(),
             removal == Removal::IdGivenToNewItem ? QString("Newcomer") : QString());
    // Nothing the user typed is lost.
    QVERIFY(edit);
    QCOMPARE(name->text(), QString("Changed"));
}

QTEST_MAIN(tst_InventoryNotice)
#include "tst_inventorynotice.moc"
