#include "ItemArgs.h"
#include "TestSupport.h"

#include <Riri/ErrorLog.h>
#include <Riri/Formats.h>
#include <Riri/dllHome.h>

#include <QCoreApplication>
#include <QTest>

// Runs in a German locale (decimal comma, day-first dates): what is stored
// must not depend on it.
class tst_locale : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QCOMPARE(QLocale::system().decimalPoint(), ","); }

    void sqlNumber_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero") << 0.0 << "0";
        QTest::newRow("negative") << -12.5 << "-12.5";
        QTest::newRow("whole") << 25.0 << "25";
        QTest::newRow("all the cents") << 1234567.89 << "1234567.89";
        QTest::newRow("largest amount") << 9999999999999.99 << "9999999999999.99";
        QTest::newRow("smallest amount") << -9999999999999.99 << "-9999999999999.99";
        QTest::newRow("tenth") << 0.1 << "0.1";
        QTest::newRow("fifteen digits") << 0.000123456789012345678 << "0.000123456789012346";
        QTest::newRow("no exponent") << 15e19 << "150000000000000000000";
    }
    void sqlNumber() {
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(Riri::sqlNumber(value), text);
    }

    void storedValues() {
        TestInstall install;
        MsgResponder boxes;
        Riri::dllHome home;
        ItemArgs item("A-1");
        item.money = {1234.5, 0.25};
        item.date = QDateTime(QDate(2005, 3, 1), QTime(0, 0));
        QVERIFY(home.AddItems(item.text, item.money, item.date));
        QCOMPARE(install.query("SELECT Cost, CurValue, BuyDate FROM tblItems").value(0),
                 (QVariantList{1234.5, 0.25, "2005-03-01"}));
        item.money = {-7.75, 1e7};
        item.date = QDateTime(QDate(2012, 11, 10), QTime(9, 8, 7));
        QVERIFY(home.UpdateItems(item.text, item.money, item.date));
        QCOMPARE(install.query("SELECT Cost, CurValue, BuyDate FROM tblItems").value(0),
                 (QVariantList{-7.75, 1e7, "2012-11-10 09:08:07"}));
        // Every amount of the range keeps its exact cents, whatever the locale.
        item.money = {9999999999999.99, -9999999999999.99};
        QVERIFY(home.UpdateItems(item.text, item.money, item.date));
        QCOMPARE(install.query("SELECT CAST(Cost AS TEXT), CAST(CurValue AS TEXT) FROM tblItems")
                     .value(0),
                 (QVariantList{"9999999999999.99", "-9999999999999.99"}));
        const QString added = install.scalar("SELECT AddDate FROM tblItems").toString();
        QVERIFY2(Riri::parseSqlDateTime(added).isValid(), qPrintable(added));
    }

    // The log is for people: it uses the locale's date, with the full year.
    void logDateLine() {
        const QDateTime when(QDate(2026, 12, 6), QTime(7, 5, 12));
        QCOMPARE(Riri::ErrorLog::dateLine(when, "Error: 3"),
                 "06.12.2026    07:05:12      Error: 3");
    }
};

int main(int argc, char** argv) {
    qputenv("LC_ALL", "de_DE.UTF-8");
    qputenv("LANG", "de_DE.UTF-8");
    QCoreApplication app(argc, argv);
    tst_locale test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_locale.moc"
