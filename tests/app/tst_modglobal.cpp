#include "TestSupport.h"
#include "platform/Registry.h"
#include "shared/modGlobal.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QVBoxLayout>
#include <sys/resource.h>

namespace {

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

} // namespace

class tst_modglobal : public QObject {
    Q_OBJECT
private slots:
    void trimFieldsRemovesOnlyBlanks();
    void trimFieldsLeavesOtherControls();
    void closeRecordsetIsSafe();
    void pauseZeroEndsAtTheNextClockSecond();
    void pauseWaitsWholeSecondsWithoutSpinning();
    void getRootKeyTakesTheFirstFlagInOrder();
    void getRegStringReadsTheStandIn();
    void getRegStringAddsTheSeparator();
};

void tst_modglobal::trimFieldsRemovesOnlyBlanks() {
    QWidget window;
    auto* line = new QLineEdit(&window);
    auto* rich = new QTextEdit(&window);
    auto* blanks = new QLineEdit(&window);
    auto* tabbed = new QLineEdit(&window);
    line->setText(QStringLiteral("   Lamp  "));
    rich->setPlainText(QStringLiteral("  \nfirst line\nsecond line\t  "));
    blanks->setText(QStringLiteral("      "));
    tabbed->setText(QStringLiteral("\t x \t"));
    TrimFields(window);
    QCOMPARE(line->text(), QStringLiteral("Lamp"));
    // Line breaks and tabs are not blanks: they stay, and so do the blanks
    // that they shield from the ends.
    QCOMPARE(rich->toPlainText(), QStringLiteral("\nfirst line\nsecond line\t"));
    QCOMPARE(blanks->text(), QString());
    QCOMPARE(tabbed->text(), QStringLiteral("\t x \t"));
    // Other white space of Unicode is not a blank either.
    QCOMPARE(trimBlanks(QStringLiteral("\u00A0 a \u00A0")), QStringLiteral("\u00A0 a \u00A0"));
}

void tst_modglobal::trimFieldsLeavesOtherControls() {
    QWidget window;
    auto* combo = new QComboBox(&window);
    combo->setEditable(true);
    combo->setEditText(QStringLiteral("  Den  "));
    auto* date = new QDateEdit(&window);
    date->setDisplayFormat(QStringLiteral(" yyyy-MM-dd "));
    date->setDate(QDate(2005, 3, 1));
    auto* inner = new QWidget(&window);
    auto* nested = new QLineEdit(inner);
    nested->setText(QStringLiteral(" nested "));
    TrimFields(window);
    QCOMPARE(combo->currentText(), QStringLiteral("  Den  "));
    QCOMPARE(date->date(), QDate(2005, 3, 1));
    QCOMPARE(nested->text(), QStringLiteral("nested"));
}

void tst_modglobal::closeRecordsetIsSafe() {
    TestInstall install;
    QVERIFY(install.isValid());
    rsData.reset();
    CloseRecordset();
    QVERIFY(!rsData);
    newHome();
    rsData = objHome->RefreshItems();
    QVERIFY(rsData);
    rsData->Close();
    CloseRecordset(); // already closed: nothing happens
    QVERIFY(!rsData);
    objHome.reset();
}

void tst_modglobal::pauseZeroEndsAtTheNextClockSecond() {
    for (int round = 0; round < 2; ++round) {
        const qint64 startSecond = QDateTime::currentSecsSinceEpoch();
        QElapsedTimer timer;
        timer.start();
        QVERIFY(Pause(0));
        const qint64 endSecond = QDateTime::currentSecsSinceEpoch();
        QCOMPARE(endSecond, startSecond + 1);
        QVERIFY2(timer.elapsed() <= 1500, qPrintable(QString::number(timer.elapsed())));
    }
}

void tst_modglobal::pauseWaitsWholeSecondsWithoutSpinning() {
    // Events are handled while it waits.
    int fired = 0;
    QTimer::singleShot(200, this, [&fired] { ++fired; });
    const qint64 startSecond = QDateTime::currentSecsSinceEpoch();
    QElapsedTimer timer;
    timer.start();
    const double cpuBefore = cpuSeconds();
    QVERIFY(Pause(1));
    const qint64 elapsed = timer.elapsed();
    const double cpuUsed = cpuSeconds() - cpuBefore;
    QCOMPARE(fired, 1);
    // Ends at the first clock reading more than one whole second after the
    // start reading: between one and two seconds.
    QCOMPARE(QDateTime::currentSecsSinceEpoch(), startSecond + 2);
    QVERIFY2(elapsed >= 1000 && elapsed <= 2500, qPrintable(QString::number(elapsed)));
    // A wait in the event loop, not a loop that keeps a processor busy.
    QVERIFY2(cpuUsed < 0.25 * static_cast<double>(elapsed) / 1000.0,
             qPrintable(QStringLiteral("cpu %1 s").arg(cpuUsed)));
}

void tst_modglobal::getRootKeyTakesTheFirstFlagInOrder() {
    QCOMPARE(GetRootKey(false, false, false, false, false, false, false), 0u);
    QCOMPARE(GetRootKey(true, true, true, true, true, true, true), 0x80000000u);
    QCOMPARE(GetRootKey(false, false, true, false, true, false, true), 0x80000001u);
    // The order of the flags is not the order of the handle values.
    const unsigned int expected[] = {0x80000000u, 0x80000005u, 0x80000001u, 0x80000006u,
                                     0x80000002u, 0x80000004u, 0x80000003u};
    for (int i = 0; i < 7; ++i) {
        bool flags[7] = {};
        for (int j = i; j < 7; ++j) {
            flags[j] = true; // every later flag set as well
        }
        QCOMPARE(GetRootKey(flags[0], flags[1], flags[2], flags[3], flags[4], flags[5], flags[6]),
                 expected[i]);
    }
}

void tst_modglobal::getRegStringReadsTheStandIn() {
    const QString browserKey = QStringLiteral("htmlfile\\shell\\open\\command");
    QCOMPARE(
        GetRegString(browserKey, QString(), true, false, false, false, false, false, false, false),
        QStringLiteral("xdg-open"));
    // Registry names ignore case.
    QCOMPARE(GetRegString(QStringLiteral("HTMLFILE\\Shell\\Open\\Command"), QString(), true, false,
                          false, false, false, false, false, false),
             QStringLiteral("xdg-open"));
    // The same key under another root, a missing value and a missing key.
    QCOMPARE(
        GetRegString(browserKey, QString(), false, false, true, false, false, false, false, false),
        QString());
    QCOMPARE(GetRegString(browserKey, QStringLiteral("Missing"), true, false, false, false, false,
                          false, false, false),
             QString());
    QCOMPARE(GetRegString(QStringLiteral("htmlfile\\shell\\print"), QString(), true, false, false,
                          false, false, false, false, false),
             QString());
    QCOMPARE(
        GetRegString(browserKey, QString(), false, false, false, false, false, false, false, false),
        QString());
}

void tst_modglobal::getRegStringAddsTheSeparator() {
    QTemporaryDir tools;
    QVERIFY(writeScript(tools.path() + QStringLiteral("/hardinfo"), "exit 0\n"));
    const QByteArray oldPath = qgetenv("PATH");
    qputenv("PATH", tools.path().toLocal8Bit());
    const QString key = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location");
    const QString plain = GetRegString(key, QStringLiteral("MSINFO"), false, false, false, false,
                                       true, false, false, false);
    const QString withSeparator = GetRegString(key, QStringLiteral("MSINFO"), false, false, false,
                                               false, true, false, false, true);
    qputenv("PATH", QByteArray());
    const QString absent = GetRegString(key, QStringLiteral("MSINFO"), false, false, false, false,
                                        true, false, false, true);
    qputenv("PATH", oldPath);
    QCOMPARE(plain, tools.path());
    QCOMPARE(withSeparator, tools.path() + QLatin1Char('/'));
    QCOMPARE(absent, QString());
}

QTEST_MAIN(tst_modglobal)
#include "tst_modglobal.moc"
