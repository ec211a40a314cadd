// Money and date texts of the item windows, and the order rules of the list.
#include "items/ItemListModel.h"
#include "items/ListDates.h"
#include "items/Money.h"

#include <Riri/Formats.h>

#include <QAbstractItemModelTester>
#include <QTest>

namespace {

const QLocale kUs(QLocale::English, QLocale::UnitedStates);
const QLocale kGerman(QLocale::German, QLocale::Germany);

ItemListModel* listOf(const QList<QStringList>& rows) {
    auto* model = new ItemListModel(QStringList{});
    for (const QStringList& row : rows) {
        std::array<QString, ItemListModel::ColumnCount> texts;
        for (int c = 0; c < row.size(); ++c) {
            texts[size_t(c)] = row[c];
        }
        model->addRow(texts);
    }
    return model;
}

QStringList column(const ItemListModel& model, int c) {
    QStringList texts;
    for (int r = 0; r < model.rowCount(); ++r) {
        texts << model.text(r, c);
    }
    return texts;
}

} // namespace

class tst_itemformats : public QObject {
    Q_OBJECT
private slots:
    void moneyPattern() {
        const QList<QPair<double, QString>> cases{
            {1234.5, "1,234.50"}, {0, "0.00"},           {12.346, "12.35"},
            {12.345, "12.35"},    {999.995, "1,000.00"}, {-1234567.891, "-1,234,567.89"},
            {-0.001, "0.00"},     {1e-7, "0.00"},        {1e20, "100,000,000,000,000,000,000.00"}};
        for (const auto& [value, shown] : cases) {
            QCOMPARE(Money::format(value, kUs), shown);
        }
        QCOMPARE(Money::formatStored(u"25.0", kUs), QStringLiteral("25.00"));
        QCOMPARE(Money::formatStored(u"1.0e+20", kUs), Money::format(1e20, kUs));
        QCOMPARE(Money::formatStored(u"abc", kUs), QStringLiteral("abc"));
        QCOMPARE(Money::formatStored(u"1234567.5", kGerman), QStringLiteral("1.234.567,50"));
        QCOMPARE(Money::reformat(QStringLiteral("1.234,5"), kGerman), QStringLiteral("1.234,50"));
    }

    void amounts() {
        double value = -1;
        QVERIFY(Money::toAmount(QStringLiteral("1,234.50"), &value, kUs));
        QCOMPARE(value, 1234.5);
        // The range ends, with their cents.
        QVERIFY(Money::toAmount(QStringLiteral("9,999,999,999,999.99"), &value, kUs));
        QCOMPARE(value, 9999999999999.99);
        QVERIFY(Money::toAmount(QStringLiteral("-9999999999999.99"), &value, kUs));
        QCOMPARE(value, -9999999999999.99);
        QVERIFY(Money::toAmount(QStringLiteral("123,456.78"), &value, kUs));
        QCOMPARE(value, 123456.78);
        QVERIFY(Money::toAmount(QStringLiteral("1,234,567.89"), &value, kUs));
        QCOMPARE(value, 1234567.89);
        // Texts that pass the locale's numeric test but are no amount: beyond
        // the range (also once rounded to cents), or not finite.
        for (const char* text : {"1e39", "-1e39", "inf", "-inf", "nan", "10000000000000",
                                 "-9999999999999.999", "3e38"}) {
            QVERIFY2(Money::isNumber(QString::fromLatin1(text), kUs), text);
            QVERIFY2(!Money::toAmount(QString::fromLatin1(text), &value, kUs), text);
        }
        QVERIFY(!Money::toAmount(QStringLiteral("12abc"), &value, kUs));
        // Rounded to whole cents by the amount's own digits, half a cent away
        // from zero, although the double just below 2.675 or 1.005 is held.
        const QList<QPair<double, std::int64_t>> rounding{{12.346, 1235},
                                                          {2.675, 268},
                                                          {-1.005, -101},
                                                          {0.004, 0},
                                                          {-0.005, -1},
                                                          {9999999999999.99, 999999999999999},
                                                          {1234567.885, 123456789}};
        for (const auto& [amount, cents] : rounding) {
            std::int64_t rounded = 0;
            QVERIFY(Money::roundToCents(amount, &rounded));
            QCOMPARE(rounded, cents);
        }
    }

    void listDatesMatchTheLocalesOwnText() {
        using L = QLocale;
        const QList<QLocale> locales{L::c(),
                                     kUs,
                                     kGerman,
                                     L(L::English, L::UnitedKingdom),
                                     L(L::French, L::France),
                                     L(L::Japanese, L::Japan),
                                     L(L::Korean, L::SouthKorea),
                                     L(L::Russian, L::Russia),
                                     L(L::Arabic, L::Egypt),
                                     L(L::Persian, L::Iran),
                                     L(L::Hungarian, L::Hungary),
                                     L(L::Bulgarian, L::Bulgaria)};
        const QList<QDate> days{QDate(1900, 1, 1), QDate(1907, 5, 4), QDate(2024, 2, 29),
                                QDate(9999, 12, 31)};
        for (const QLocale& locale : locales) {
            ListDates dates(locale);
            for (const QDate& day : days) {
                const QString expected = locale.toString(day, Riri::shortDateFormat(locale));
                QCOMPARE(dates.show(day.toString(Qt::ISODate)), expected);
                QCOMPARE(dates.read(expected), day);
            }
        }
        // A locale whose own short date has a two-digit year keeps the century.
        ListDates us(kUs);
        QCOMPARE(us.show(u"1907-05-04 10:11:12"), QStringLiteral("5/4/1907"));
        QCOMPARE(us.show(u"someday"), QStringLiteral("someday"));
        QVERIFY(!us.read(QStringLiteral("someday")).isValid());
    }

    void sortIgnoresCaseAndKeepsEqualRowsInOrder() {
        const QString longer(40, QLatin1Char('x'));
        std::unique_ptr<ItemListModel> model(listOf({{"A-1", "lamp", "", "", "999.00"},
                                                     {"A-2", "Chair", "", "", "1,234.50"},
                                                     {"A-3", "LAMP", "", "", "12.00"},
                                                     {"A-4", longer + "b", "", "", ""},
                                                     {"A-5", "Lamp", "", "", "99.99"},
                                                     {"A-6", longer.toUpper() + "A", "", "", ""}}));
        QAbstractItemModelTester tester(model.get());
        const QPersistentModelIndex held(model->index(4, 0));
        model->sortBy(ItemListModel::CostColumn);
        QCOMPARE(model->order(), Qt::AscendingOrder);
        QCOMPARE(column(*model, ItemListModel::CostColumn),
                 (QStringList{"", "", "12.00", "99.99", "999.00", "1,234.50"}));
        model->sortBy(ItemListModel::NameColumn); // descending
        model->sortBy(ItemListModel::NameColumn); // ascending
        QCOMPARE(column(*model, ItemListModel::ItemIdColumn),
                 (QStringList{"A-2", "A-3", "A-5", "A-1", "A-6", "A-4"}));
        // Rows held on to move with their items.
        QCOMPARE(model->key(held.row()), QStringLiteral("A-5"));
        model->clear();
        QVERIFY(!held.isValid());
    }
};

QTEST_MAIN(tst_itemformats)
#include "tst_itemformats.moc"
