#include "TestSupport.h"
#include "frmAbout.h"
#include "frmSplash.h"
#include "shared/modGlobal.h"

#include <Riri/MsgBox.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <csignal>

namespace {

QColor centreColour(const QLabel* label) {
    const QImage image = label->pixmap().toImage();
    return image.pixelColor(image.width() / 2, image.height() / 2);
}

bool samePicture(const QImage& a, const QImage& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            if (a.pixel(x, y) != b.pixel(x, y)) {
                return false;
            }
        }
    }
    return true;
}

// Shows the about dialog's modal run and answers it with a key; a second
// timer makes sure nothing can hang.
bool closesWith(Qt::Key key) {
    frmAbout about;
    QTimer::singleShot(50, &about, [&about, key] { QTest::keyClick(&about, key); });
    QTimer::singleShot(5000, &about, [&about] { about.done(-1); });
    const int result = about.exec();
    return result != -1;
}

} // namespace

class tst_splashabout : public QObject {
    Q_OBJECT
private slots:
    void splashProgressRun();
    void splashPictureFromFile();
    void splashStoredPictureWhenFileMissing();
    void aboutContent();
    void aboutWithoutItsText();
    void aboutCentredOnTheScreen();
    void aboutKeys();
    void systemInfoUnavailable();
    void systemInfoStartsTheProgramFound();
};

void tst_splashabout::splashProgressRun() {
    TestInstall install;
    frmSplash splash;
    QList<int> shown;
    connect(splash.proBar, &QProgressBar::valueChanged, this,
            [&shown](int value) { shown.append(value); });
    QList<int> atPause;
    bool visibleDuringRun = true;
    splash.load([&](int seconds) {
        // Each wait is a whole-second pause of 0 seconds, with the window up.
        atPause.append(seconds * 100 + splash.proBar->value());
        visibleDuringRun = visibleDuringRun && splash.isVisible();
        return true;
    });
    QCOMPARE(shown, (QList<int>{0, 2, 4, 6, 8, 10, 12, 14, 16}));
    QCOMPARE(atPause, (QList<int>{0, 2, 4, 6, 8, 10, 12, 14}));
    QVERIFY(visibleDuringRun);
    QCOMPARE(splash.proBar->minimum(), 0);
    QCOMPARE(splash.proBar->maximum(), 16);
    QCOMPARE(splash.proBar->value(), 16);
    QVERIFY(splash.proBar->isVisible());
    QCOMPARE(splash.lblVersion->text(), QStringLiteral("Version 2.0"));
    QCOMPARE(splash.lblProductName->text(), QStringLiteral("Quorvane"));
    QCOMPARE(QApplication::overrideCursor(), nullptr);
}

void tst_splashabout::splashPictureFromFile() {
    TestInstall install;
    QDir().mkpath(install.folder() + QStringLiteral("/images"));
    QImage red(20, 30, QImage::Format_RGB32);
    red.fill(QColor(255, 0, 0));
    QVERIFY(red.save(install.folder() + QStringLiteral("/images/screen.bmp"), "BMP"));
    frmSplash splash;
    splash.load([](int) { return true; });
    QCOMPARE(splash.Image1->pixmap().size(), QSize(20, 30));
    QCOMPARE(centreColour(splash.Image1), QColor(255, 0, 0));
}

void tst_splashabout::splashStoredPictureWhenFileMissing() {
    TestInstall install;
    // An unreadable file counts as missing, as does no file at all.
    QDir().mkpath(install.folder() + QStringLiteral("/images"));
    QFile broken(install.folder() + QStringLiteral("/images/screen.bmp"));
    QVERIFY(broken.open(QIODevice::WriteOnly));
    broken.write("BM not really a bitmap");
    broken.close();
    for (int round = 0; round < 2; ++round) {
        frmSplash splash;
        splash.load([](int) { return true; });
        QVERIFY(!splash.Image1->pixmap().isNull());
        QVERIFY(samePicture(splash.Image1->pixmap().toImage(), frmSplash::storedPicture()));
        QCOMPARE(splash.proBar->value(), 16);
        QFile::remove(broken.fileName());
    }
}

void tst_splashabout::aboutContent() {
    TestInstall install;
    QDir().mkpath(install.folder() + QStringLiteral("/text"));
    QVERIFY(QFile::copy(QStringLiteral(QUORVANE_INSTALL_DIR "/text/About.rtf"),
                        install.folder() + QStringLiteral("/text/About.rtf")));
    frmAbout about;
    QCOMPARE(about.windowTitle(), QStringLiteral("About Quorvane"));
    QCOMPARE(about.lblTitle->text(), QStringLiteral("Quorvane"));
    QCOMPARE(about.lblVersion->text(), QStringLiteral("v2.0"));
    QVERIFY(about.rtBox->isReadOnly());
    QVERIFY(about.rtBox->toPlainText().startsWith(QStringLiteral("Quorvane keeps the inventory")));
    QVERIFY(about.cmdOK->isDefault());
    QCOMPARE(about.cmdOK->text(), QStringLiteral("&OK"));
    QCOMPARE(about.cmdSysInfo->text(), QStringLiteral("&System Info..."));
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    QCOMPARE(QApplication::focusWidget(), about.cmdOK);
    QTest::keyClick(&about, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), about.cmdSysInfo);
    // The version label keeps its right edge when it sizes to its text.
    QCOMPARE(about.lblVersion->geometry().right() + 1, 4695 / 15);
}

void tst_splashabout::aboutWithoutItsText() {
    TestInstall install;
    frmAbout about;
    QCOMPARE(about.rtBox->toPlainText(), QString());
    QCOMPARE(about.lblVersion->text(), QStringLiteral("v2.0"));
}

void tst_splashabout::aboutCentredOnTheScreen() {
    TestInstall install;
    // Opened from a window in a corner of the screen, the dialog still comes
    // up in the middle of the screen.
    QWidget owner;
    owner.setGeometry(10, 10, 200, 100);
    owner.show();
    frmAbout about(&owner);
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    // Within the few pixels of a frame the window system adds when it shows
    // the window.
    const QPoint offCentre =
        about.frameGeometry().center() - about.screen()->availableGeometry().center();
    QVERIFY2(offCentre.manhattanLength() <= 10,
             qPrintable(QStringLiteral("%1,%2").arg(offCentre.x()).arg(offCentre.y())));
}

void tst_splashabout::aboutKeys() {
    TestInstall install;
    QVERIFY(closesWith(Qt::Key_Return));
    QVERIFY(closesWith(Qt::Key_Escape));
}

void tst_splashabout::systemInfoUnavailable() {
    TestInstall install;
    QTemporaryDir empty;
    const QByteArray oldPath = qgetenv("PATH");
    qputenv("PATH", empty.path().toLocal8Bit());
    frmAbout about;
    MsgResponder boxes;
    boxes.expect(Riri::vbOK);
    QTest::mouseClick(about.cmdSysInfo, Qt::LeftButton);
    qputenv("PATH", oldPath);
    QCOMPARE(boxes.count(), 1);
    QCOMPARE(boxes.last().prompt, QStringLiteral("System Information Is Unavailable At This Time"));
    QCOMPARE(boxes.last().title, QStringLiteral("Quorvane"));
    QCOMPARE(boxes.last().flags, int(Riri::vbOKOnly));
    QString value = QStringLiteral("stale");
    QVERIFY(!about.GetKeyValue(HKEY_LOCAL_MACHINE,
                               QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"),
                               QStringLiteral("PATH"), value));
    QCOMPARE(value, QString());
}

void tst_splashabout::systemInfoStartsTheProgramFound() {
    TestInstall install;
    QTemporaryDir tools;
    const QByteArray record = (tools.path() + QStringLiteral("/started.txt")).toLocal8Bit();
    QVERIFY(writeScript(tools.path() + QStringLiteral("/kinfocenter"),
                        "echo $$ > \"" + record + ".part\"\n/bin/mv \"" + record + ".part\" \"" +
                            record + "\"\nexec /bin/sleep 30\n"));
    const QByteArray oldPath = qgetenv("PATH");
    qputenv("PATH", tools.path().toLocal8Bit());
    frmAbout about;
    QString value;
    QVERIFY(about.GetKeyValue(HKEY_LOCAL_MACHINE,
                              QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"),
                              QStringLiteral("PATH"), value));
    QCOMPARE(value, tools.path() + QStringLiteral("/kinfocenter"));
    MsgResponder boxes; // no box expected
    QTest::mouseClick(about.cmdSysInfo, Qt::LeftButton);
    qputenv("PATH", oldPath);
    QCOMPARE(boxes.count(), 0);
    QTRY_VERIFY(QFile::exists(QString::fromLocal8Bit(record)));
    QFile file(QString::fromLocal8Bit(record));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const pid_t started = static_cast<pid_t>(file.readAll().trimmed().toInt());
    QVERIFY(started > 0);
    ::kill(started, SIGTERM);
}

QTEST_MAIN(tst_splashabout)
#include "tst_splashabout.moc"
