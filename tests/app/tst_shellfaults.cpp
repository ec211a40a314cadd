// What the program must never do to the user's desktop or to a later start:
// empty the clipboard, leave its lock behind, open a window larger than the
// space it opens in, take characters that are not blanks for blanks, or let
// Enter on a focused button press another one.
#include "AppInfo.h"
#include "StartupHostRun.h"
#include "TestSupport.h"
#include "frmAbout.h"
#include "frmMain.h"
#include "items/ItemFieldSet.h"
#include "items/frmAddItem.h"
#include "items/frmDeleteItem.h"
#include "items/frmEditItem.h"
#include "modMain.h"
#include "platform/SingleInstance.h"
#include "shared/modGlobal.h"

#include <Riri/Error.h>
#include <Riri/MsgBox.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <unistd.h>

namespace {

// Runs start-up in a process of its own; true when it ended by itself.
bool runHost(const QString& folder, const QString& runtime, const QStringList& extra = {}) {
    return runStartupHost(QStringLiteral(STARTUP_HOST), QStringList{folder} + extra,
                          {{QStringLiteral("XDG_RUNTIME_DIR"), runtime}}, QDir::currentPath())
        .finished;
}

QString lockIn(const QString& runtime) {
    return runtime + QStringLiteral("/quorvane-") + QString::number(::getuid()) +
           QStringLiteral(".lock");
}

StartupSeams quietSeams() {
    StartupSeams seams;
    seams.installPresenter = false;
    seams.splashPause = [](int) { return true; };
    return seams;
}

} // namespace

class tst_shellfaults : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        QVERIFY(m_runtime.isValid());
        qputenv("XDG_RUNTIME_DIR", m_runtime.path().toLocal8Bit());
    }
    void cleanup() {
        delete mainForm();
        objHome.reset();
        SingleInstance::release();
    }

    void clipboardKeepsWhatTheUserCopied() {
        TestInstall install;
        MsgResponder boxes;
        QApplication::clipboard()->setText(QStringLiteral("copied in another program"));
        QVERIFY(Main(quietSeams()));
        QVERIFY(mainForm()->isVisible());
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("copied in another program"));
        // A second start that is refused leaves it alone as well.
        QVERIFY(SingleInstance::anotherIsRunning() == false); // this process holds the lock
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("copied in another program"));
    }

    void everyWayOutReleasesTheLock() {
        QTemporaryDir runtime;
        // eXit from the main window ends the process at once.
        TestInstall install;
        QVERIFY(runHost(install.folder(), runtime.path(), {QStringLiteral("exit")}));
        QVERIFY(!QFile::exists(lockIn(runtime.path())));
        // A start-up that stops because the database is missing.
        QTemporaryDir empty;
        QVERIFY(runHost(empty.path(), runtime.path()));
        QVERIFY(!QFile::exists(lockIn(runtime.path())));
    }

    void mainWindowGrowsToHoldItsLargestChild_data() {
        QTest::addColumn<QRect>("available");
        QTest::addColumn<QRect>("expected");
        const QRect start(100, 80, 805, 569);
        const QSize wanted(813, 602);
        // A large screen: exactly the wanted size, centred where it was.
        QRect large(QPoint(0, 0), wanted);
        large.moveCenter(start.center());
        QTest::newRow("large screen") << QRect(0, 0, 1920, 1080) << large;
        // A small screen: as large as the available area allows, never
        // smaller than the specified size, and moved back onto the screen.
        QTest::newRow("small screen") << QRect(0, 0, 1024, 600) << QRect(96, 0, 813, 600);
        QTest::newRow("smaller than specified") << QRect(0, 0, 640, 480) << QRect(0, 0, 805, 569);
    }
    void mainWindowGrowsToHoldItsLargestChild() {
        QFETCH(QRect, available);
        QFETCH(QRect, expected);
        QCOMPARE(frmMain::grownGeometry(QRect(100, 80, 805, 569), QSize(813, 602), available,
                                        QSize(0, 0)),
                 expected);
    }

    void largestChildOpensWholeInsideTheArea() {
        TestInstall install;
        frmMain main;
        const QSize specified = Twips::size(frmMain::InnerSize);
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        const QSize area = main.mdiArea()->viewport()->size();
        QVERIFY(area.width() >= specified.width() - 2 && area.height() >= specified.height() - 2);
        const QRect screen = main.screen()->availableGeometry();
        // Each item window opens with its Save, Clear and eXit buttons (or
        // their equivalents) inside the area, as far as the screen is high.
        for (QWidget* child : std::initializer_list<QWidget*>{main.showChild<frmAddItem>(),
                                                              main.showChild<frmEditItem>(),
                                                              main.showChild<frmDeleteItem>()}) {
            auto* frame = qobject_cast<QMdiSubWindow*>(child->parentWidget());
            QVERIFY(frame != nullptr);
            if (frame->height() <= screen.height() - main.menuBar()->height()) {
                QVERIFY2(frame->height() <= area.height(),
                         qPrintable(QStringLiteral("%1 is %2 high in an area %3 high")
                                        .arg(child->objectName())
                                        .arg(frame->height())
                                        .arg(area.height())));
            }
        }
    }

    void onlyTheBlankIsABlank() {
        TestInstall install;
        MsgResponder boxes;
        frmAddItem window;
        ItemFieldSet& f = window.fields();
        const QString nbsp(QChar(0x00A0));
        f.txtBox[ItemFieldSet::NameBox]->setText(QStringLiteral("  Lamp") + nbsp +
                                                 QStringLiteral("  "));
        f.cboBox->setCurrentIndex(0);
        f.rtBox[ItemFieldSet::DescriptionBox]->setPlainText(
            QStringLiteral(" ") + nbsp + QStringLiteral("brass") + nbsp + QStringLiteral(" "));
        f.rtBox[ItemFieldSet::NotesBox]->setPlainText(QStringLiteral("\tline one\nline two "));
        boxes.expect(Riri::vbNo);
        QTest::mouseClick(f.cmdSave, Qt::LeftButton);
        QCOMPARE(boxes.count(), 1);
        const QList<QVariantList> rows =
            install.query(QStringLiteral("SELECT ItemName, Description, Notes FROM tblItems"));
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows[0][0].toString(), QStringLiteral("Lamp") + nbsp);
        QCOMPARE(rows[0][1].toString(), nbsp + QStringLiteral("brass") + nbsp);
        QCOMPARE(rows[0][2].toString(), QStringLiteral("\tline one\nline two"));
    }

    void enterPressesTheFocusedAboutButton() {
        // No system information program on PATH: the button says so.
        const QByteArray path = qgetenv("PATH");
        QTemporaryDir nothing;
        qputenv("PATH", nothing.path().toLocal8Bit());
        MsgResponder boxes;
        frmAbout about;
        about.show();
        about.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&about));
        about.cmdSysInfo->setFocus(Qt::TabFocusReason);
        boxes.expect(Riri::vbOK);
        QTest::keyClick(about.cmdSysInfo, Qt::Key_Return);
        QCOMPARE(boxes.count(), 1);
        QCOMPARE(boxes.last().prompt, frmAbout::unavailableMessage());
        QVERIFY(about.isVisible());
        // With the focus back on OK, Enter presses OK.
        about.cmdOK->setFocus(Qt::TabFocusReason);
        QTest::keyClick(about.cmdOK, Qt::Key_Return);
        QVERIFY(!about.isVisible());
        QCOMPARE(about.result(), int(QDialog::Accepted));
        qputenv("PATH", path);
    }

private:
    QTemporaryDir m_runtime;
};

QTEST_MAIN(tst_shellfaults)
#include "tst_shellfaults.moc"
