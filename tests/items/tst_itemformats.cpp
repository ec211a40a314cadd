// Money and date texts of the item windows, and the order rules of the item
// list.
#include "Formats.h"
#include "ItemTestSupport.h"
#include "items/ItemListModel.h"
#include "items/ListDates.h"
#include "items/Money.h"

#include <QAbstractItemModelTester>
#include <QTest>

namespace {

const QLocale kUs(QLocale::English, QLocale::UnitedStates);
const QLocale kGerman(QLocale::German, QLocale::Germany);

std::array<QString, ItemListModel::ColumnCount> row(const QString& id, const QString& name,
                                                    const QString& cost) {
    std::array<QString, ItemListModel::ColumnCount> texts;
    texts[ItemListModel::ItemIdColumn] = id;
    texts[ItemListModel::NameColumn] = name;
    texts[ItemListModel::CostColumn] = cost;
    return texts;
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
    void moneyPattern_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("shown");
        QTest::newRow("grouped") << 1234.5 << "1,234.50";
        QTest::newRow("zero") << 0.0 << "0.00";
        QTest::newRow("below one") << 0.5 << "0.50";
        QTest::newRow("rounds up") << 12.346 << "12.35";
        QTest::newRow("binary just below half") << 12.345 << "12.35";
        QTest::newRow("carry through") << 999.995 << "1,000.00";
        QTest::newRow("negative") << -1234567.891 << "-1,234,567.89";
        QTest::newRow("negative zero") << -0.001 << "0.00";
        QTest::newRow("millions") << 1234567.0 << "1,234,567.00";
        QTest::newRow("tiny") << 1e-7 << "0.00";
        QTest::newRow("huge") << 1e20 << "100,000,000,000,000,000,000.00";
    }
    void moneyPattern() {
        QFETCH(double, value);
        QFETCH(QString, shown);
        QCOMPARE(Money::Format(value, kUs), shown);
    }

    void storedAmounts() {
        // The database's own number texts, as a list shows them.
        QCOMPARE(Money::FormatStored(u"1234.5", kUs), QStringLiteral("1,234.50"));
        QCOMPARE(Money::FormatStored(u"25.0", kUs), QStringLiteral("25.00"));
        QCOMPARE(Money::FormatStored(u"-3.756", kUs), QStringLiteral("-3.76"));
        QCOMPARE(Money::FormatStored(u"1.0e+20", kUs),
                 QStringLiteral("100,000,000,000,000,000,000.00"));
        QCOMPARE(Money::FormatStored(u"", kUs), QString());
        QCOMPARE(Money::FormatStored(u"abc", kUs), QStringLiteral("abc"));
        // The locale's separators.
        QCOMPARE(Money::FormatStored(u"1234567.5", kGerman), QStringLiteral("1.234.567,50"));
        QCOMPARE(Money::Reformat(QStringLiteral("1.234,50"), kGerman), QStringLiteral("1.234,50"));
        QCOMPARE(Money::Reformat(QStringLiteral("1,234.5"), kUs), QStringLiteral("1,234.50"));
        QCOMPARE(Money::Reformat(QStringLiteral("n/a"), kUs), QStringLiteral("n/a"));
    }

    void singleAmounts() {
        float value = -1;
        QVERIFY(Money::ToSingle(QStringLiteral("1,234.50"), &value, kUs));
        QCOMPARE(value, 1234.5f);
        QVERIFY(Money::ToSingle(QStringLiteral("-7"), &value, kUs));
        QCOMPARE(value, -7.0f);
        QVERIFY(Money::ToSingle(QStringLiteral("3e38"), &value, kUs));
        // Numbers a single cannot hold are refused although they pass the
        // locale's numeric test.
        for (const char* text : {"1e39", "-1e39", "inf", "-inf", "nan"}) {
            QVERIFY2(Money::IsNumber(QString::fromLatin1(text), kUs), text);
            QVERIFY2(!Money::ToSingle(QString::fromLatin1(text), &value, kUs), text);
        }
        for (const char* text : {"12abc", "1,2", "", "  ", "$5"}) {
            QVERIFY2(!Money::ToSingle(QString::fromLatin1(text), &value, kUs), text);
        }
        QCOMPARE(Money::RoundToCents(12.346f, kUs), 12.35f);
        QCOMPARE(Money::RoundToCents(1234.5f, kUs), 1234.5f);
    }

    void listDatesKeepTheCentury() {
        // A locale whose own short date has a two-digit year.
        ListDates dates(kUs);
        QCOMPARE(dates.Show(u"2007-05-04"), QStringLiteral("5/4/2007"));
        QCOMPARE(dates.Show(u"1907-05-04 10:11:12"), QStringLiteral("5/4/1907"));
        QCOMPARE(dates.Read(QStringLiteral("5/4/2007")), QDate(2007, 5, 4));
        QCOMPARE(dates.Read(QStringLiteral("5/4/1907")), QDate(1907, 5, 4));
        QCOMPARE(dates.Show(u""), QString());
        QCOMPARE(dates.Show(u"someday"), QStringLiteral("someday"));
        QVERIFY(!dates.Read(QStringLiteral("someday")).isValid());
        QVERIFY(!dates.Read(QString()).isValid());

        ListDates german(kGerman);
        QCOMPARE(german.Show(u"9999-12-31"), QStringLiteral("31.12.9999"));
        QCOMPARE(german.Read(QStringLiteral("01.01.1900")), QDate(1900, 1, 1));
    }

    void listDatesMatchTheLocalesOwnText() {
        const QList<QLocale> locales{QLocale::c(),
                                     kUs,
                                     kGerman,
                                     QLocale(QLocale::English, QLocale::UnitedKingdom),
                                     QLocale(QLocale::French, QLocale::France),
                                     QLocale(QLocale::Japanese, QLocale::Japan),
                                     QLocale(QLocale::Chinese, QLocale::China),
                                     QLocale(QLocale::Korean, QLocale::SouthKorea),
                                     QLocale(QLocale::Russian, QLocale::Russia),
                                     QLocale(QLocale::Arabic, QLocale::Egypt),
                                     QLocale(QLocale::Persian, QLocale::Iran),
                                     QLocale(QLocale::Hindi, QLocale::India),
                                     QLocale(QLocale::Hungarian, QLocale::Hungary),
                                     QLocale(QLocale::Bulgarian, QLocale::Bulgaria)};
        const QList<QDate> days{QDate(1900, 1, 1), QDate(1907, 5, 4), QDate(2007, 12, 31),
                                QDate(2024, 2, 29), QDate(9999, 12, 31)};
        for (const QLocale& locale : locales) {
            ListDates dates(locale);
            for (const QDate& day : days) {
                const QString expected = locale.toString(day, Riri::ShortDateFormat(locale));
                QCOMPARE(dates.Show(day.toString(Qt::ISODate)), expected);
                QCOMPARE(dates.Read(expected), day);
            }
        }
    }

    void sortIsByTextWithOneDirection() {
        ItemListModel model(QStringList{});
        QAbstractItemModelTester tester(&model);
        for (int i = 1; i <= 10; ++i) {
            model.AddRow(row(QStringLiteral("A-%1").arg(i), QString(), QString()));
        }
        model.SortBy(ItemListModel::ItemIdColumn);
        QCOMPARE(model.order(), Qt::AscendingOrder);
        QCOMPARE(column(model, 0), (QStringList{"A-1", "A-10", "A-2", "A-3", "A-4", "A-5", "A-6",
                                                "A-7", "A-8", "A-9"}));
        model.SortBy(ItemListModel::ItemIdColumn);
        QCOMPARE(model.order(), Qt::DescendingOrder);
        QCOMPARE(column(model, 0).first(), QStringLiteral("A-9"));
        QCOMPARE(column(model, 0).last(), QStringLiteral("A-1"));
        // Another column continues with the flipped direction.
        model.SortBy(ItemListModel::NameColumn);
        QCOMPARE(model.order(), Qt::AscendingOrder);
    }

    void sortComparesTextsIgnoringCase() {
        ItemListModel model(QStringList{});
        model.AddRow(row("A-1", "lamp", "999.00"));
        model.AddRow(row("A-2", "Chair", "1,234.50"));
        model.AddRow(row("A-3", "LAMP", "12.00"));
        model.AddRow(row("A-4", "chairs", ""));
        model.AddRow(row("A-5", "Lamp", "99.99"));
        model.SortBy(ItemListModel::CostColumn);
        QCOMPARE(column(model, ItemListModel::CostColumn),
                 (QStringList{"", "1,234.50", "12.00", "99.99", "999.00"}));
        model.SortBy(ItemListModel::NameColumn); // descending
        model.SortBy(ItemListModel::NameColumn); // ascending
        // Equal texts keep the order they had before the sort.
        QCOMPARE(column(model, ItemListModel::NameColumn),
                 (QStringList{"Chair", "chairs", "LAMP", "Lamp", "lamp"}));
        QCOMPARE(column(model, ItemListModel::ItemIdColumn),
                 (QStringList{"A-2", "A-4", "A-3", "A-5", "A-1"}));
    }

    void sortKeepsHeldRowsOnTheirItems() {
        ItemListModel model(QStringList{});
        for (const char* id : {"A-3", "A-1", "A-2"}) {
            model.AddRow(row(QString::fromLatin1(id), QString(), QString()));
        }
        const QPersistentModelIndex held(model.index(0, ItemListModel::NameColumn));
        model.SortBy(ItemListModel::ItemIdColumn);
        QCOMPARE(held.row(), 2);
        QCOMPARE(held.column(), int(ItemListModel::NameColumn));
        QCOMPARE(model.key(held.row()), QStringLiteral("A-3"));
        model.Clear();
        QVERIFY(!held.isValid());
        QCOMPARE(model.rowCount(), 0);
    }

    void cellsShowOnOneLine() {
        ItemListModel model(QStringList{});
        auto texts = row("A-1", "x", "");
        texts[ItemListModel::DescriptionColumn] = QStringLiteral("first\r\nsecond\nthird");
        model.AddRow(texts);
        const QModelIndex cell = model.index(0, ItemListModel::DescriptionColumn);
        QCOMPARE(model.data(cell).toString(), QStringLiteral("first second third"));
        // The row keeps the text itself for reading it back.
        QCOMPARE(model.text(0, ItemListModel::DescriptionColumn), texts[9]);
        QCOMPARE(model.data(model.index(0, ItemListModel::CostColumn), Qt::TextAlignmentRole)
                         .value<Qt::Alignment>() &
                     Qt::AlignHorizontal_Mask,
                 Qt::AlignRight);
        QCOMPARE(model.data(model.index(0, ItemListModel::ModelColumn), Qt::TextAlignmentRole)
                         .value<Qt::Alignment>() &
                     Qt::AlignHorizontal_Mask,
                 Qt::AlignHCenter);
    }
};

QTEST_MAIN(tst_itemformats)
#include "tst_itemformats.moc"
