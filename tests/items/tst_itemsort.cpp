// Header sorting of the edit and delete windows' lists: amounts by amount,
// the bought date by date, other columns by text; one direction for the whole
// list, flipped by every click; the sort indicator on the sorted column.
#include "ItemTestSupport.h"
#include "items/ItemListView.h"
#include "items/ListDates.h"
#include "items/Money.h"
#include "items/frmDeleteItem.h"
#include "items/frmEditItem.h"

#include <QHeaderView>

namespace {

QStringList column(const ItemListView* view, int c) {
    QStringList texts;
    for (int r = 0; r < view->items()->rowCount(); ++r) {
        texts << view->items()->text(r, c);
    }
    return texts;
}

QStringList reversed(QStringList list) {
    std::reverse(list.begin(), list.end());
    return list;
}

// Items whose amounts and dates sort differently as text than by value.
void storeMixedItems(const TestInstall& install) {
    struct Row {
        const char *id, *cost, *value, *bought;
    };
    const Row rows[] = {
        {"A-1", "999", "-5", "2005-02-01"},
        {"A-2", "1234.5", "10", "2005-10-01"},
        {"A-3", "-3", "-1234.5", "not a date"},
        {"A-4", "NULL", "0", ""},
        {"A-5", "-20", "2", "1999-12-31"},
        {"A-6", "0.5", "999.99", "2005-02-01"},
        {"A-7", "12345678.9", "-0.01", "2010-01-15"},
    };
    for (const Row& r : rows) {
        StoredItem item =
            makeItem(QString::fromLatin1(r.id), QStringLiteral("Thing"), QStringLiteral("Den"),
                     QString::fromLatin1(r.cost), QString::fromLatin1(r.bought));
        item.value = QString::fromLatin1(r.value);
        if (item.bought.isEmpty()) {
            item.bought = QString(); // null in the database
        }
        QVERIFY(storeItem(install, item));
    }
}

// Clicks the headers of `view` and checks the orders; shared by both windows.
void checkOrders(ItemListView* view) {
    const QStringList costUp{"", "-20.00", "-3.00", "0.50", "999.00", "1,234.50", "12,345,678.90"};
    const QStringList valueUp{"-1,234.50", "-5.00", "-0.01", "0.00", "2.00", "10.00", "999.99"};
    // Empty and unreadable dates first, then by day; rows with equal dates
    // keep the order they had (here the values' descending order).
    const QStringList idsByDateUp{"A-4", "A-3", "A-5", "A-6", "A-1", "A-2", "A-7"};
    QHeaderView* header = view->header();

    clickHeader(view, ItemListModel::CostColumn); // first click: ascending
    QCOMPARE(column(view, ItemListModel::CostColumn), costUp);
    QVERIFY(header->isSortIndicatorShown());
    QCOMPARE(header->sortIndicatorSection(), int(ItemListModel::CostColumn));
    QCOMPARE(header->sortIndicatorOrder(), Qt::AscendingOrder);

    clickHeader(view, ItemListModel::CostColumn);
    QCOMPARE(column(view, ItemListModel::CostColumn), reversed(costUp));
    QCOMPARE(header->sortIndicatorOrder(), Qt::DescendingOrder);

    clickHeader(view, ItemListModel::ValueColumn); // the one direction flips again
    QCOMPARE(column(view, ItemListModel::ValueColumn), valueUp);
    QCOMPARE(header->sortIndicatorSection(), int(ItemListModel::ValueColumn));
    QCOMPARE(header->sortIndicatorOrder(), Qt::AscendingOrder);
    clickHeader(view, ItemListModel::ValueColumn);
    QCOMPARE(column(view, ItemListModel::ValueColumn), reversed(valueUp));

    clickHeader(view, ItemListModel::BoughtColumn); // ascending
    QCOMPARE(column(view, ItemListModel::ItemIdColumn), idsByDateUp);
    QCOMPARE(column(view, ItemListModel::BoughtColumn).mid(3, 4),
             (QStringList{"2/1/2005", "2/1/2005", "10/1/2005", "1/15/2010"}));
    clickHeader(view, ItemListModel::BoughtColumn); // descending: equal dates keep order
    QCOMPARE(column(view, ItemListModel::ItemIdColumn),
             (QStringList{"A-7", "A-2", "A-6", "A-1", "A-5", "A-4", "A-3"}));
    QCOMPARE(header->sortIndicatorSection(), int(ItemListModel::BoughtColumn));
    QCOMPARE(header->sortIndicatorOrder(), Qt::DescendingOrder);

    // Text columns stay text: identifiers as text, ascending after the flip.
    clickHeader(view, ItemListModel::ItemIdColumn);
    QCOMPARE(column(view, ItemListModel::ItemIdColumn),
             (QStringList{"A-1", "A-2", "A-3", "A-4", "A-5", "A-6", "A-7"}));
}

} // namespace

class tst_itemsort : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void editWindowSortsAmountsAndDatesByValue() {
        Fixture fx;
        storeMixedItems(fx.install);
        frmEditItem w;
        QVERIFY(showActive(w));
        QCOMPARE(w.lvItems->header()->sortIndicatorSection(), -1); // nothing sorted yet
        checkOrders(w.lvItems);
        clickHeader(w.lvItems, ItemListModel::CostColumn);
        shoot(w, QStringLiteral("frmEditItem_sorted"));
    }

    void deleteWindowSortsAmountsAndDatesByValue() {
        Fixture fx;
        storeMixedItems(fx.install);
        frmDeleteItem w;
        QVERIFY(showActive(w));
        checkOrders(w.lvItems);
    }

    void theChosenRowStaysChosenAcrossAnAmountSort() {
        Fixture fx;
        storeMixedItems(fx.install);
        frmEditItem w;
        QVERIFY(showActive(w));
        clickRow(w.lvItems, 1);
        clickHeader(w.lvItems, ItemListModel::CostColumn);
        QCOMPARE(w.lvItems->items()->key(w.lvItems->selectedRow()), QStringLiteral("A-2"));
        QCOMPARE(w.lvItems->selectedRow(), 5);
    }

    void dayNumbersOfShownDates() {
        using L = QLocale;
        const QList<QLocale> locales{L::c(),
                                     L(L::English, L::UnitedStates),
                                     L(L::German, L::Germany),
                                     L(L::English, L::UnitedKingdom),
                                     L(L::Japanese, L::Japan),
                                     L(L::Hungarian, L::Hungary),
                                     L(L::Arabic, L::Egypt)};
        const QList<QDate> days{QDate(1900, 1, 1), QDate(1907, 5, 4), QDate(2005, 10, 1),
                                QDate(2024, 2, 29), QDate(9999, 12, 31)};
        for (const QLocale& locale : locales) {
            ListDates dates(locale);
            for (const QDate& day : days) {
                const QString shown = dates.show(day.toString(Qt::ISODate));
                QCOMPARE(dates.dayNumber(shown), day.toJulianDay());
            }
            QCOMPARE(dates.dayNumber(u""), ListDates::NoDay);
            QCOMPARE(dates.dayNumber(u"someday"), ListDates::NoDay);
        }
    }

    void amountsReadFromTheShownPattern() {
        const QLocale us(QLocale::English, QLocale::UnitedStates);
        std::int64_t cents = 0;
        QVERIFY(Money::shownCents(u"1,234.50", &cents, us));
        QCOMPARE(cents, std::int64_t{123450});
        QVERIFY(Money::shownCents(u"-0.05", &cents, us));
        QCOMPARE(cents, std::int64_t{-5});
        QVERIFY(Money::shownCents(u"9,999,999,999,999.99", &cents, us));
        QCOMPARE(cents, std::int64_t{999999999999999});
        QVERIFY(!Money::shownCents(u"", &cents, us));
        QVERIFY(!Money::shownCents(u"abc", &cents, us));
        QVERIFY(!Money::shownCents(u"1.234", &cents, us));
        QCOMPARE(Money::formatCents(123450, us), QStringLiteral("1,234.50"));
        QCOMPARE(Money::formatCents(-5, us), QStringLiteral("-0.05"));
        QCOMPARE(Money::formatCents(0, us), QStringLiteral("0.00"));
        const QLocale german(QLocale::German, QLocale::Germany);
        QVERIFY(Money::shownCents(Money::formatCents(-123456789, german), &cents, german));
        QCOMPARE(cents, std::int64_t{-123456789});
    }
};

QTEST_MAIN(tst_itemsort)
#include "tst_itemsort.moc"
