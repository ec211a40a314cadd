// The item rules' amounts: the rounding to whole cents that the item windows
// and the CSV import share, and the range the writers keep exactly.

#include <Riri/ItemRules.h>

#include <QTest>
#include <cmath>

class tst_ItemRules : public QObject {
    Q_OBJECT

private slots:
    void plainAmountsRoundToCents_data();
    void plainAmountsRoundToCents();
};

void tst_ItemRules::plainAmountsRoundToCents_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("read");
    QTest::addColumn<qint64>("cents");
    QTest::addColumn<bool>("storable");
    QTest::newRow("whole") << "12" << true << qint64(1200) << true;
    QTest::newRow("one decimal") << "12.5" << true << qint64(1250) << true;
    QTest::newRow("point without decimals") << "12." << true << qint64(1200) << true;
    QTest::newRow("half a cent up") << "12.345" << true << qint64(1235) << true;
    QTest::newRow("below half a cent") << "12.3449" << true << qint64(1234) << true;
    QTest::newRow("only the third decimal decides")
        << "2.6749999999999999" << true << qint64(267) << true;
    QTest::newRow("negative away from zero") << "-1.005" << true << qint64(-101) << true;
    QTest::newRow("negative to zero") << "-0.004" << true << qint64(0) << true;
    QTest::newRow("carry into the whole") << "9.995" << true << qint64(1000) << true;
    QTest::newRow("leading zeros not counted")
        << "00000000000000000001.5" << true << qint64(150) << true;
    QTest::newRow("largest") << "9999999999999.99" << true << qint64(999999999999999) << true;
    QTest::newRow("largest negative")
        << "-9999999999999.99" << true << qint64(-999999999999999) << true;
    QTest::newRow("rounds beyond the largest")
        << "9999999999999.995" << true << qint64(1000000000000000) << false;
    QTest::newRow("sixteen whole digits")
        << "9999999999999999" << true << qint64(999999999999999900) << false;
    QTest::newRow("seventeen whole digits") << "10000000000000000" << false << qint64(0) << false;
    QTest::newRow("empty") << "" << false << qint64(0) << false;
    QTest::newRow("point first") << ".5" << false << qint64(0) << false;
    QTest::newRow("exponent") << "1e5" << false << qint64(0) << false;
    QTest::newRow("grouped") << "1,234.50" << false << qint64(0) << false;
    QTest::newRow("plus sign") << "+1" << false << qint64(0) << false;
}

void tst_ItemRules::plainAmountsRoundToCents() {
    QFETCH(QString, text);
    QFETCH(bool, read);
    QFETCH(qint64, cents);
    QFETCH(bool, storable);
    std::int64_t rounded = -7;
    QCOMPARE(Riri::ItemRules::roundToCents(text, &rounded), read);
    if (!read) {
        QCOMPARE(rounded, std::int64_t(-7)); // left alone
        return;
    }
    QCOMPARE(rounded, std::int64_t(cents));
    QCOMPARE(Riri::ItemRules::isStorable(rounded), storable);
    if (storable) {
        // The amount the writers take reads back as the same cents, and no
        // amount is negative zero.
        const double amount = Riri::ItemRules::amountOf(rounded);
        QCOMPARE(std::llround(amount * 100), cents);
        QCOMPARE(std::signbit(amount), cents < 0);
    }
}

QTEST_GUILESS_MAIN(tst_ItemRules)
#include "tst_itemrules.moc"
