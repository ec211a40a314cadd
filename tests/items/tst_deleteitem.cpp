// The delete item window: the value labels, Delete and Clear.
#include "ItemTestSupport.h"
#include "items/ItemListView.h"
#include "items/frmDeleteItem.h"

#include <QLabel>
#include <QPushButton>

namespace {

QStringList labels(const frmDeleteItem& w) {
    QStringList texts;
    for (const QLabel* label : w.lblData) {
        texts << label->text();
    }
    return texts;
}

const QStringList kEmpty{"", "", "", "", "", ""};

// Three items A-1 Lamp, A-2 Chair (no cost), A-3 Table.
void storeThree(const Fixture& fx) {
    const char* const names[] = {"Lamp", "Chair", "Table"};
    const char* const costs[] = {"1234.5", "NULL", "80"};
    for (int i = 0; i < 3; ++i) {
        StoredItem item = makeItem(QStringLiteral("A-%1").arg(i + 1), QString::fromLatin1(names[i]),
                                   QStringLiteral("Kitchen"), QString::fromLatin1(costs[i]));
        item.sn = QStringLiteral("SN-%1").arg(i + 1);
        item.value = QStringLiteral("2.5");
        QVERIFY(storeItem(fx.install, item));
    }
}

QStringList storedIds(const Fixture& fx) {
    QStringList ids;
    for (const QVariantList& row : fx.install.query("SELECT ItemID FROM tblItems ORDER BY ID")) {
        ids << row.value(0).toString();
    }
    return ids;
}

void pressDelete(Fixture& fx, frmDeleteItem& w, std::initializer_list<int> answers) {
    for (int answer : answers) {
        fx.boxes.expect(answer);
    }
    QTest::mouseClick(w.cmdDelete, Qt::LeftButton);
    QCOMPARE(fx.boxes.pending(), 0);
}

} // namespace

class tst_deleteitem : public QObject {
    Q_OBJECT
private slots:
    void rowClicksFillTheLabelsAndClearEmptiesOnlyThem() {
        Fixture fx;
        storeThree(fx);
        frmDeleteItem w;
        QVERIFY(showActive(w));
        shoot(w, QStringLiteral("frmDeleteItem"));
        QCOMPARE(w.windowTitle(), QStringLiteral("Quorvane 2.0"));
        // Delete before any row click does nothing.
        pressDelete(fx, w, {});
        QCOMPARE(fx.boxes.count(), 0);
        clickRow(w.lvItems, 0);
        QCOMPARE(labels(w), (QStringList{"A-1", "Lamp", "Kitchen", "1,234.50", "2.50", "SN-1"}));
        clickRow(w.lvItems, 1);
        QCOMPARE(labels(w), (QStringList{"A-2", "Chair", "Kitchen", "", "2.50", "SN-2"}));
        QTest::mouseClick(w.cmdClear, Qt::LeftButton);
        QCOMPARE(labels(w), kEmpty);
        QCOMPARE(w.lvItems->selectedRow(), 1);
        // Delete acts on the labels, not on the highlighted row.
        pressDelete(fx, w, {});
        QCOMPARE(fx.boxes.count(), 0);
        QCOMPARE(storedIds(fx).size(), 3);
    }

    void answeringNoKeepsTheItem() {
        Fixture fx;
        storeThree(fx);
        frmDeleteItem w;
        QVERIFY(showActive(w));
        clickRow(w.lvItems, 1);
        pressDelete(fx, w, {Riri::vbNo, Riri::vbOK});
        QCOMPARE(fx.boxes.shown().at(0).title, QStringLiteral("** WARNING **"));
        QCOMPARE(fx.boxes.last().prompt, QStringLiteral("Item Record NOT Deleted"));
        QCOMPARE(fx.boxes.last().title, QStringLiteral("Quorvane"));
        QCOMPARE(fx.boxes.last().flags, Riri::vbCritical | Riri::vbOKOnly);
        QCOMPARE(labels(w), kEmpty);
        QCOMPARE(storedIds(fx), (QStringList{"A-1", "A-2", "A-3"}));
        QCOMPARE(w.lvItems->items()->rowCount(), 3);
        // No to the deleted-another question closes the window.
        clickRow(w.lvItems, 1);
        pressDelete(fx, w, {Riri::vbYes, Riri::vbNo});
        QCOMPARE(storedIds(fx), (QStringList{"A-1", "A-3"}));
        QVERIFY(!w.isVisible());
    }

    void answeringYesDeletesAndReadsTheListAgain() {
        Fixture fx;
        storeThree(fx);
        frmDeleteItem w;
        QVERIFY(showActive(w));
        clickHeader(w.lvItems, ItemListModel::NameColumn); // Chair, Lamp, Table
        clickRow(w.lvItems, 1);
        pressDelete(fx, w, {Riri::vbYes, Riri::vbYes});
        QCOMPARE(
            fx.boxes.last().prompt,
            QStringLiteral("Item Record Deleted!\r\n\r\nDo you want to delete another Item? "));
        QCOMPARE(fx.boxes.last().title, QStringLiteral("Item Record Deleted Successfully"));
        QCOMPARE(fx.boxes.last().flags, Riri::vbQuestion | Riri::vbYesNo | Riri::vbDefaultButton2);
        QCOMPARE(storedIds(fx), (QStringList{"A-2", "A-3"}));
        QCOMPARE(labels(w), kEmpty);
        QCOMPARE(w.lvItems->items()->key(0), QStringLiteral("A-2"));
        QCOMPARE(w.lvItems->items()->rowCount(), 2);
        // Deleting the last items leaves the window open with an empty list.
        for (int i = 0; i < 2; ++i) {
            clickRow(w.lvItems, 0);
            pressDelete(fx, w, {Riri::vbYes, Riri::vbYes});
        }
        QCOMPARE(storedIds(fx), QStringList());
        QCOMPARE(w.lvItems->items()->rowCount(), 0);
        QVERIFY(w.isVisible());
    }
};

QTEST_MAIN(tst_deleteitem)
#include "tst_deleteitem.moc"
