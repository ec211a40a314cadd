// The delete item window: its list, the value labels, Delete and Clear.
#include "ItemTestSupport.h"
#include "MsgBox.h"
#include "items/ItemListView.h"
#include "items/frmDeleteItem.h"
#include "platform/Twips.h"

#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <memory>

namespace {

StoredItem item(int n, const QString& name, const QString& cost) {
    StoredItem stored;
    stored.itemId = QStringLiteral("A-%1").arg(n);
    stored.name = name;
    stored.sn = QStringLiteral("SN-%1").arg(n);
    stored.room = QStringLiteral("Kitchen");
    stored.cost = cost;
    stored.value = QStringLiteral("2.5");
    stored.model = QStringLiteral("M%1").arg(n);
    stored.bought = QStringLiteral("2001-02-03");
    return stored;
}

QStringList labelTexts(const frmDeleteItem& w) {
    QStringList texts;
    for (const QLabel* label : w.lblData) {
        texts << label->text();
    }
    return texts;
}

const QStringList kEmptyLabels{"", "", "", "", "", ""};

} // namespace

class tst_deleteitem : public QObject {
    Q_OBJECT

    std::unique_ptr<TestInstall> install;
    std::unique_ptr<MsgResponder> boxes;

    QStringList storedIds() const {
        QStringList ids;
        for (const QVariantList& row : install->query("SELECT ItemID FROM tblItems ORDER BY ID")) {
            ids << row.value(0).toString();
        }
        return ids;
    }

private slots:
    void init() {
        install = std::make_unique<TestInstall>();
        QVERIFY(install->isValid());
        boxes = std::make_unique<MsgResponder>();
        QVERIFY(storeItem(*install, item(1, QStringLiteral("Lamp"), QStringLiteral("1234.5"))));
        QVERIFY(storeItem(*install, item(2, QStringLiteral("Chair"), QStringLiteral("NULL"))));
        QVERIFY(storeItem(*install, item(3, QStringLiteral("Table"), QStringLiteral("80"))));
    }
    void cleanup() {
        boxes.reset();
        install.reset();
    }

    void layoutAndList() {
        frmDeleteItem w;
        QVERIFY(showActive(w));
        QCOMPARE(w.windowTitle(), QStringLiteral("Quorvane 2.0"));
        QCOMPARE(w.size(), Twips::Size(12075, 7230));
        QCOMPARE(w.Label30->text(), QStringLiteral("Delete Items"));
        QCOMPARE(w.Label30->font().pointSizeF(), 18.0);
        QCOMPARE(w.Label30->palette().color(QPalette::WindowText), QColor(255, 0, 0));
        QCOMPARE(w.lvItems->geometry(), Twips::Rect(120, 660, 11835, 5175));
        QCOMPARE(w.cmdDelete->geometry(), Twips::Rect(120, 6660, 1215, 435));
        QCOMPARE(w.cmdClear->geometry(), Twips::Rect(5438, 6660, 1215, 435));
        QCOMPARE(w.cmdExit->geometry(), Twips::Rect(10740, 6660, 1215, 435));
        QCOMPARE(w.cmdDelete->text(), QStringLiteral("&Delete"));
        QVERIFY(w.cmdDelete->font().bold());
        const QStringList captions{"Item ID", "Item Name", "Serial No.", "Room", "Cost", "Value"};
        for (int i = 0; i < 6; ++i) {
            QCOMPARE(w.lblCaption[size_t(i)]->text(), captions[i]);
            QCOMPARE(w.lblCaption[size_t(i)]->y(), Twips::ToPixelsY(5880));
        }
        // Serial No. shows in lblData(5), placed third.
        QCOMPARE(w.lblData[5]->geometry(), Twips::Rect(4800, 6240, 2655, 315));
        QCOMPARE(w.lblData[3]->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
        QCOMPARE(w.lblData[1]->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);

        const ItemListModel& list = *w.lvItems->items();
        const QStringList headers{"Item ID",   "Item Name",   "Serial Number", "Room",
                                  "Cost",      "Value",       "Model",         "Accquired From",
                                  "Accquired", "Description", "Notes"};
        const int widths[11] = {1200, 2500, 3000, 2000, 1200, 1200, 1500, 2500, 1200, 2500, 2500};
        for (int c = 0; c < 11; ++c) {
            QCOMPARE(list.headerData(c, Qt::Horizontal).toString(), headers[c]);
            QCOMPARE(w.lvItems->header()->sectionSize(c), Twips::ToPixels(widths[c]));
        }
        QCOMPARE(list.rowCount(), 3);
        QCOMPARE(list.text(0, ItemListModel::BoughtColumn), QStringLiteral("3 Feb 2001"));
        QCOMPARE(list.text(1, ItemListModel::CostColumn), QString());
        QCOMPARE(shoot(w, QStringLiteral("frmDeleteItem")).size(), w.size());
    }

    void deleteBeforeAnyRowClickDoesNothing() {
        frmDeleteItem w;
        QVERIFY(showActive(w));
        QTest::mouseClick(w.cmdDelete, Qt::LeftButton);
        QCOMPARE(boxes->count(), 0);
        QCOMPARE(storedIds().size(), 3);
    }

    void aRowClickFillsTheValueLabels() {
        frmDeleteItem w;
        QVERIFY(showActive(w));
        clickRow(w.lvItems, 0);
        QCOMPARE(labelTexts(w),
                 (QStringList{"A-1", "Lamp", "Kitchen", "1,234.50", "2.50", "SN-1"}));
        clickRow(w.lvItems, 1);
        QCOMPARE(labelTexts(w), (QStringList{"A-2", "Chair", "Kitchen", "", "2.50", "SN-2"}));
    }

    void answeringNoKeepsTheItem() {
        frmDeleteItem w;
        QVERIFY(showActive(w));
        clickRow(w.lvItems, 1);
        boxes->expect(Riri::vbNo); // the component's question
        boxes->expect(Riri::vbOK);
        QTest::mouseClick(w.cmdDelete, Qt::LeftButton);
        QCOMPARE(boxes->count(), 2);
        QCOMPARE(boxes->shown().at(0).title, QStringLiteral("** WARNING **"));
        QCOMPARE(boxes->last().prompt, QStringLiteral("Item Record NOT Deleted"));
        QCOMPARE(boxes->last().title, QStringLiteral("Quorvane"));
        QCOMPARE(boxes->last().flags, Riri::vbCritical | Riri::vbOKOnly);
        QCOMPARE(labelTexts(w), kEmptyLabels);
        QCOMPARE(storedIds(), (QStringList{"A-1", "A-2", "A-3"}));
        QCOMPARE(w.lvItems->items()->rowCount(), 3);
        QVERIFY(w.isVisible());
    }

    void answeringYesDeletesAndReadsTheListAgain() {
        frmDeleteItem w;
        QVERIFY(showActive(w));
        clickHeader(w.lvItems, ItemListModel::NameColumn); // Chair, Lamp, Table
        clickRow(w.lvItems, 1);
        QCOMPARE(w.lblData[0]->text(), QStringLiteral("A-1"));
        boxes->expect(Riri::vbYes);
        boxes->expect(Riri::vbYes);
        QTest::mouseClick(w.cmdDelete, Qt::LeftButton);
        QCOMPARE(
            boxes->last().prompt,
            QStringLiteral("Item Record Deleted!\r\n\r\nDo you want to delete another Item? "));
        QCOMPARE(boxes->last().title, QStringLiteral("Item Record Deleted Successfully"));
        QCOMPARE(boxes->last().flags, Riri::vbQuestion | Riri::vbYesNo | Riri::vbDefaultButton2);
        QCOMPARE(storedIds(), (QStringList{"A-2", "A-3"}));
        QCOMPARE(labelTexts(w), kEmptyLabels);
        const ItemListModel& list = *w.lvItems->items();
        QCOMPARE(list.rowCount(), 2);
        QCOMPARE(list.key(0), QStringLiteral("A-2"));
        QCOMPARE(list.key(1), QStringLiteral("A-3"));

        // Deleting the last items leaves the window open with an empty list.
        for (int i = 0; i < 2; ++i) {
            clickRow(w.lvItems, 0);
            boxes->expect(Riri::vbYes);
            boxes->expect(Riri::vbYes);
            QTest::mouseClick(w.cmdDelete, Qt::LeftButton);
        }
        QCOMPARE(storedIds(), QStringList());
        QCOMPARE(list.rowCount(), 0);
        QVERIFY(w.isVisible());
    }

    void answeringNoAfterADeletionClosesTheChildWindow() {
        QMdiArea area;
        area.resize(1400, 900);
        area.show();
        auto* w = new frmDeleteItem;
        QPointer<QMdiSubWindow> frame = area.addSubWindow(w);
        frame->setAttribute(Qt::WA_DeleteOnClose);
        frame->show();
        clickRow(w->lvItems, 2);
        boxes->expect(Riri::vbYes);
        boxes->expect(Riri::vbNo);
        QTest::mouseClick(w->cmdDelete, Qt::LeftButton);
        QTRY_VERIFY(frame.isNull());
        QCOMPARE(storedIds(), (QStringList{"A-1", "A-2"}));
    }

    void clearEmptiesOnlyTheLabels() {
        frmDeleteItem w;
        QVERIFY(showActive(w));
        clickRow(w.lvItems, 2);
        w.cmdDelete->setFocus();
        QTest::mouseClick(w.cmdClear, Qt::LeftButton);
        QCOMPARE(labelTexts(w), kEmptyLabels);
        QCOMPARE(w.lvItems->selectedRow(), 2);
        QCOMPARE(w.lvItems->items()->rowCount(), 3);
        // Delete acts on the labels, not on the highlighted row.
        QTest::mouseClick(w.cmdDelete, Qt::LeftButton);
        QCOMPARE(boxes->count(), 0);
        QCOMPARE(storedIds().size(), 3);
    }
};

QTEST_MAIN(tst_deleteitem)
#include "tst_deleteitem.moc"
