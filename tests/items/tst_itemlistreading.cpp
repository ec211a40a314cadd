// The item lists read in batches on a thread of their own: the first batch
// shows at once, later batches join the list, sorts and the find window's
// query and totals cover the whole list once it is read, a window closed
// while its list is read stops the reading, and a save succeeds while a
// list is half read. Batches are driven one by one through the lists' test
// seam (held reading, a fixed batch size).
#include "ItemTestSupport.h"
#include "items/ItemListView.h"
#include "items/ItemSearch.h"
#include "items/frmDeleteItem.h"
#include "items/frmEditItem.h"
#include "items/frmFindItems.h"
#include "shared/modGlobal.h"

#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <memory>

namespace {

// Items A-1 ... A-n, in that order of ID, every third one a lamp; A-i
// costs i, its current value is not known.
void storeItems(const TestInstall& install, int n) {
    for (int i = 1; i <= n; ++i) {
        const QString name =
            i % 3 == 0 ? QStringLiteral("Lamp %1").arg(i) : QStringLiteral("Chair %1").arg(i);
        QVERIFY(storeItem(
            install, makeItem(QStringLiteral("A-%1").arg(i), name, "Den", QString::number(i))));
    }
}

std::unique_ptr<QWidget> makeWindow(const QString& kind) {
    if (kind == QLatin1String("edit")) {
        return std::make_unique<frmEditItem>();
    }
    if (kind == QLatin1String("delete")) {
        return std::make_unique<frmDeleteItem>();
    }
    return std::make_unique<frmFindItems>();
}

ItemListView& listOf(QWidget& window) {
    return *window.findChild<ItemListView*>(QStringLiteral("lvItems"));
}

// Asks for the next batch and waits until it joined the list.
bool nextBatch(ItemListView& list) {
    QSignalSpy joined(&list, &ItemListView::rowsRead);
    list.readNextBatch();
    return joined.wait(10000);
}

QStringList shownKeys(const ItemListView& list) {
    QStringList keys;
    for (int r = 0; r < list.items()->rowCount(); ++r) {
        keys << list.items()->key(r);
    }
    return keys;
}

// Every list made while it lives reads batches of `rows`, one per request.
struct HeldReading {
    explicit HeldReading(int rows) {
        ItemListView::setBatchRowsForTesting(rows);
        ItemListView::setReadingHeldForTesting(true);
    }
    ~HeldReading() {
        ItemListView::setBatchRowsForTesting(0);
        ItemListView::setReadingHeldForTesting(false);
    }
};

} // namespace

class tst_itemlistreading : public QObject {
    Q_OBJECT
private slots:
    void batchesJoinTheListInOrder_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<int>("items");
        QTest::addColumn<int>("batchRows");
        QTest::newRow("edit, last batch partly full") << "edit" << 10 << 4;
        QTest::newRow("delete, last batch full") << "delete" << 9 << 3;
        QTest::newRow("find, one row a batch") << "find" << 3 << 1;
    }
    void batchesJoinTheListInOrder() {
        QFETCH(QString, window);
        QFETCH(int, items);
        QFETCH(int, batchRows);
        Fixture fx;
        storeItems(fx.install, items);
        const HeldReading held(batchRows);
        const std::unique_ptr<QWidget> w = makeWindow(window);
        ItemListView& list = listOf(*w);
        // The window opens with its first batch and reads on.
        QCOMPARE(list.items()->rowCount(), batchRows);
        QVERIFY(list.isReading());
        int batches = 1;
        while (list.isReading()) {
            QVERIFY(nextBatch(list));
            ++batches;
            QVERIFY(batches <= items / batchRows + 1);
        }
        QStringList expected;
        for (int i = 1; i <= items; ++i) {
            expected << QStringLiteral("A-%1").arg(i);
        }
        QCOMPARE(shownKeys(list), expected);
        QCOMPARE(list.readCount(), qint64(items));
    }

    void findWindowQueryTotalsAndSortCoverTheWholeListOnceRead() {
        Fixture fx;
        storeItems(fx.install, 10);
        const HeldReading held(4);
        frmFindItems w;
        ItemListView& list = *w.lvItems;
        QCOMPARE(w.lblTotals->text(), frmFindItems::totalsText(4, 1000, 0) +
                                          QStringLiteral("     (reading\u2026 4 items so far)"));
        // Typed and sorted while rows are still coming.
        QTest::keyClicks(w.txtFind, QStringLiteral("lamp"));
        clickHeader(&list, ItemListModel::CostColumn); // ascending
        clickHeader(&list, ItemListModel::CostColumn); // descending
        QCOMPARE(shownKeys(list), (QStringList{"A-3"}));
        QVERIFY(nextBatch(list));
        QCOMPARE(w.lblTotals->text(), frmFindItems::totalsText(2, 900, 0) +
                                          QStringLiteral("     (reading\u2026 8 of 10 items)"));
        QVERIFY(nextBatch(list));
        QVERIFY(!list.isReading());
        // Read to the end: the query kept every lamp, and the sort ordered
        // them all, those read after it too.
        QCOMPARE(shownKeys(list), (QStringList{"A-9", "A-6", "A-3"}));
        QCOMPARE(w.lblTotals->text(), frmFindItems::totalsText(3, 1800, 0));
        QCOMPARE(list.header()->sortIndicatorOrder(), Qt::DescendingOrder);
        QTest::keyClick(w.txtFind, Qt::Key_Backspace);
        QTest::keyClicks(w.txtFind, QStringLiteral("p"));
        w.txtFind->clear();
        QCOMPARE(list.items()->rowCount(), 10);
        QCOMPARE(list.items()->key(0), QStringLiteral("A-10"));
    }

    void anItemNotYetReadIsChosenWhenItArrives() {
        Fixture fx;
        storeItems(fx.install, 7);
        const HeldReading held(3);
        frmEditItem w;
        QVERIFY(w.selectItem(QStringLiteral("A-5")));
        QVERIFY(w.lblID->text().isEmpty());
        QVERIFY(nextBatch(*w.lvItems));
        QCOMPARE(w.lvItems->chosenKey(), QStringLiteral("A-5"));
        QCOMPARE(w.lblID->text(), QStringLiteral("A-5"));
        QVERIFY(nextBatch(*w.lvItems));
        QVERIFY(!w.lvItems->isReading());
    }

    void aSaveSucceedsWhileAListIsHalfRead() {
        Fixture fx;
        storeItems(fx.install, 9);
        const HeldReading held(3);
        frmEditItem w;
        QVERIFY(w.lvItems->isReading());
        // The reader holds no lock between batches: the save does not wait
        // for the list and is not refused as locked.
        QStringList texts{"A-8", "Mirror", "", "", "Den", "", "", ""};
        std::vector<double> amounts{8, 8};
        QDateTime bought;
        QVERIFY(objHome->UpdateItems(texts, amounts, bought));
        QCOMPARE(fx.boxes.count(), 0); // no failure was shown
        while (w.lvItems->isReading()) {
            QVERIFY(nextBatch(*w.lvItems));
        }
        QCOMPARE(w.lvItems->items()->text(w.lvItems->rowOf("A-8"), ItemListModel::NameColumn),
                 QStringLiteral("Mirror"));
    }

    void closingAWindowWhileItsListIsReadStopsTheReading_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<bool>("held");
        QTest::newRow("edit, a batch asked for") << "edit" << true;
        QTest::newRow("delete, reading on") << "delete" << false;
        QTest::newRow("find, reading on") << "find" << false;
    }
    void closingAWindowWhileItsListIsReadStopsTheReading() {
        QFETCH(QString, window);
        QFETCH(bool, held);
        Fixture fx;
        storeItems(fx.install, 200);
        ItemListView::setBatchRowsForTesting(2);
        ItemListView::setReadingHeldForTesting(held);
        std::unique_ptr<QWidget> w = makeWindow(window);
        ItemListView& list = listOf(*w);
        list.readNextBatch();
        QApplication::processEvents();
        QVERIFY(list.isReading());
        w.reset(); // the reader's threads end with it; late batches are dropped
        QApplication::processEvents();
        ItemListView::setBatchRowsForTesting(0);
        ItemListView::setReadingHeldForTesting(false);
        // The next window reads the whole list afresh.
        frmEditItem again;
        QVERIFY(readToEnd(*again.lvItems));
        QCOMPARE(again.lvItems->items()->rowCount(), 200);
    }

    void searchAddedInBatchesMatchesSearchBuiltAtOnce() {
        Fixture fx;
        storeItems(fx.install, 12);
        frmEditItem w; // one batch: the whole list
        const ItemListModel& list = *w.lvItems->items();
        const QStringList rooms{QStringLiteral("Den")};
        ItemSearch whole;
        whole.build(list, rooms);
        ItemSearch pieces;
        pieces.clear();
        pieces.match(QStringLiteral("lamp"), -1); // the query comes before the rows
        for (int first = 0; first < list.storedRowCount(); first += 5) {
            Riri::PackedTexts cells;
            for (int r = first; r < std::min(first + 5, list.storedRowCount()); ++r) {
                for (int c = 0; c < ItemListModel::ColumnCount; ++c) {
                    cells.append(list.storedText(r, c));
                }
            }
            pieces.add(ItemSearch::foldRows(cells, rooms));
        }
        const ItemSearch::Result& atOnce = whole.match(QStringLiteral("lamp"), -1);
        QCOMPARE(pieces.result().keep, atOnce.keep);
        QCOMPARE(pieces.result().count, qsizetype(4));
        QCOMPARE(pieces.result().costCents, atOnce.costCents);
        // Narrowing the query later looks at the rows added in pieces too.
        QCOMPARE(pieces.match(QStringLiteral("lamp 1"), -1).keep,
                 whole.match(QStringLiteral("lamp 1"), -1).keep);
    }
};

QTEST_MAIN(tst_itemlistreading)
#include "tst_itemlistreading.moc"
