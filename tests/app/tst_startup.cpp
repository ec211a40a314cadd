#include "AppInfo.h"
#include "StartupHostRun.h"
#include "StartupTesting.h"
#include "TestSupport.h"
#include "frmAbout.h"
#include "frmMain.h"
#include "frmSplash.h"
#include "modMain.h"
#include "platform/SingleInstance.h"
#include "shared/modGlobal.h"
#include "ui/MsgBoxPresenter.h"

#include <Riri/AutoBackups.h>
#include <Riri/Error.h>
#include <Riri/ErrorLog.h>
#include <Riri/MsgBox.h>
#include <Riri/WriteGate.h>

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

// Runs the start-up host in the configured layout.
HostRun runHost(const QString& folder, const QString& runtimeFolder, const QStringList& extra = {},
                const QString& workingFolder = QDir::tempPath()) {
    return runStartupHost(QStringLiteral(STARTUP_HOST), QStringList{folder} + extra,
                          {{QStringLiteral("XDG_RUNTIME_DIR"), runtimeFolder}}, workingFolder);
}

QString escaped(QString text) {
    return text.replace(QStringLiteral("\r"), QStringLiteral("\\r"))
        .replace(QStringLiteral("\n"), QStringLiteral("\\n"));
}

bool anySplashVisible() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (qobject_cast<frmSplash*>(window) != nullptr && window->isVisible()) {
            return true;
        }
    }
    return false;
}

StartupSeams quietSeams(QList<int>* steps = nullptr, int failAt = 0, int number = 0) {
    StartupSeams seams;
    seams.installPresenter = false;
    seams.splashPause = [](int) { return true; };
    seams.beforeStep = [=](int step) {
        if (steps != nullptr) {
            steps->append(step);
        }
        if (step == failAt) {
            throw Riri::Error(number, QStringLiteral("Operation is not allowed in this context."));
        }
    };
    return seams;
}

} // namespace

class tst_startup : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();
    void startsInItsOwnFolder();
    void unexpectedFailureIsLoggedAndStops();
    void fileFailuresAreSkipped();
    void presenterShowsTheBoxTheFlagsName();
    void missingDatabaseEndsTheProgram();
    void secondInstanceIsRefused();
    void leftoverLockFileIsTakenOver_data();
    void leftoverLockFileIsTakenOver();
    void liveHolderRefusesWhateverTheFileHolds();
    void exitEndsTheProgramAndFreesTheLock();
    void damagedInventoryIsAnsweredBeforeAnyWrite();

private:
    QTemporaryDir m_runtime;
};

void tst_startup::initTestCase() {
    QVERIFY(m_runtime.isValid());
    qputenv("XDG_RUNTIME_DIR", m_runtime.path().toLocal8Bit());
}

void tst_startup::cleanup() {
    delete mainForm();
    objHome.reset();
    QDir::setCurrent(QDir::tempPath());
}

void tst_startup::startsInItsOwnFolder() {
    TestInstall install;
    QTemporaryDir elsewhere;
    QDir::setCurrent(elsewhere.path());
    MsgResponder boxes; // no box at all
    QList<int> steps;
    QVERIFY(Main(quietSeams(&steps)));
    QCOMPARE(steps, (QList<int>{6, 7, 8, 9, 10, 11, 12, 13}));
    QVERIFY(mainForm() != nullptr);
    QVERIFY(mainForm()->isVisible());
    QCOMPARE(mainForm()->windowTitle(), QStringLiteral("Quorvane  -  2.0"));
    QVERIFY(objHome != nullptr);
    QCOMPARE(QDir::currentPath(), install.folder());
    QVERIFY(!anySplashVisible());
    QCOMPARE(QApplication::overrideCursor(), nullptr);
    QVERIFY(QApplication::quitOnLastWindowClosed());
    QCOMPARE(boxes.count(), 0);
    QVERIFY(!QFile::exists(install.logPath()));
}

void tst_startup::unexpectedFailureIsLoggedAndStops() {
    TestInstall install;
    MsgResponder boxes;
    boxes.expect(Riri::vbOK);
    QList<int> steps;
    QVERIFY(!Main(quietSeams(&steps, 9, 3219)));
    // Start-up stops at the failing step.
    QCOMPARE(steps, (QList<int>{6, 7, 8, 9}));
    QVERIFY(mainForm() == nullptr || !mainForm()->isVisible());
    QVERIFY(!anySplashVisible());
    QCOMPARE(boxes.count(), 1);
    QCOMPARE(boxes.last().prompt,
             QStringLiteral("ERROR #3219\r\n\r\nOperation is not allowed in this context.\r\n"
                            "In the: ModMain code module\r\nProcedure: SubMain Load Procedure"));
    QCOMPARE(boxes.last().title, QStringLiteral("Quorvane"));
    QCOMPARE(boxes.last().flags, int(Riri::vbCritical | Riri::vbOKOnly));
    QCOMPARE(QApplication::overrideCursor(), nullptr);

    // One start-up block in a new log, with its heading.
    const QStringList lines = install.logLines();
    const QStringList expected = Riri::ErrorLog::startupBlock(
        true, 3219, QStringLiteral("Operation is not allowed in this context."),
        QDateTime::currentDateTime());
    QCOMPARE(lines.size(), expected.size());
    for (int i = 0; i < lines.size(); ++i) {
        if (expected[i].contains(QStringLiteral("Error: 3219"))) {
            QVERIFY(lines[i].contains(QStringLiteral("Error: 3219")));
        } else {
            QCOMPARE(lines[i], expected[i]);
        }
    }
    QVERIFY(lines.contains(QStringLiteral("SubMain Load Procedure")));

    // A second failure adds a block without a second heading.
    delete mainForm();
    boxes.expect(Riri::vbOK);
    QVERIFY(!Main(quietSeams(nullptr, 7, 5)));
    QCOMPARE(install.logLines().size(), lines.size() + expected.size() - 3);
    QVERIFY(install.logLines().last() == Riri::ErrorLog::ruleLine());
}

void tst_startup::fileFailuresAreSkipped() {
    TestInstall install;
    MsgResponder boxes; // neither failure shows a box
    QList<int> steps;
    // File not found while loading the splash: no splash, the rest runs.
    QVERIFY(Main(quietSeams(&steps, 9, 53)));
    QCOMPARE(steps, (QList<int>{6, 7, 8, 9, 10, 11, 12, 13}));
    QVERIFY(mainForm()->isVisible());
    delete mainForm();
    // A path access failure while loading the main window: it is loaded when
    // it is shown.
    QVERIFY(Main(quietSeams(nullptr, 7, 75)));
    QVERIFY(mainForm() != nullptr);
    QVERIFY(mainForm()->isVisible());
    QCOMPARE(boxes.count(), 0);
    QVERIFY(!QFile::exists(install.logPath()));
}

void tst_startup::presenterShowsTheBoxTheFlagsName() {
    struct Seen {
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QMessageBox::StandardButtons buttons;
        QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
        QString title;
        QString text;
    } seen;
    // Reads the box while it is up and answers it with the given key or
    // button; a second timer makes sure the test cannot hang.
    const auto answerWith = [&seen, this](std::function<void(QMessageBox*)> answer) {
        QTimer::singleShot(50, this, [&seen, answer] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr) {
                return;
            }
            seen.icon = box->icon();
            seen.buttons = box->standardButtons();
            seen.defaultButton = box->standardButton(box->defaultButton());
            seen.title = box->windowTitle();
            seen.text = box->text();
            answer(box);
        });
        QTimer::singleShot(5000, this, [] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                modal->close();
            }
        });
    };

    answerWith([](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Return); });
    int answer = MsgBoxPresenter::present(QStringLiteral("Delete it?"),
                                          Riri::vbYesNo | Riri::vbQuestion | Riri::vbDefaultButton2,
                                          QStringLiteral("Riri"));
    QCOMPARE(answer, int(Riri::vbNo)); // Enter takes the default button
    QCOMPARE(seen.icon, QMessageBox::Question);
    QCOMPARE(seen.buttons, QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(seen.defaultButton, QMessageBox::No);
    QCOMPARE(seen.title, QStringLiteral("Riri"));
    QCOMPARE(seen.text, QStringLiteral("Delete it?"));

    answerWith([](QMessageBox* box) { box->button(QMessageBox::Yes)->click(); });
    answer = MsgBoxPresenter::present(QStringLiteral("Again?"), Riri::vbYesNo | Riri::vbQuestion,
                                      QStringLiteral("Quorvane"));
    QCOMPARE(answer, int(Riri::vbYes));
    QCOMPARE(seen.defaultButton, QMessageBox::Yes);

    answerWith([](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Escape); });
    answer = MsgBoxPresenter::present(frmMain::noItemsMessage(),
                                      Riri::vbExclamation | Riri::vbOKOnly, AppInfo::Title);
    QCOMPARE(answer, int(Riri::vbOK));
    QCOMPARE(seen.icon, QMessageBox::Warning);
    QCOMPARE(seen.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));

    answerWith([](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Return); });
    answer = MsgBoxPresenter::present(QStringLiteral("Stop"), Riri::vbCritical | Riri::vbOKOnly,
                                      QStringLiteral(" ERROR"));
    QCOMPARE(answer, int(Riri::vbOK));
    QCOMPARE(seen.icon, QMessageBox::Critical);
    QCOMPARE(seen.title, QStringLiteral(" ERROR"));

    answerWith([](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Return); });
    MsgBoxPresenter::present(frmAbout::unavailableMessage(), Riri::vbOKOnly, AppInfo::Title);
    QCOMPARE(seen.icon, QMessageBox::NoIcon);
}

void tst_startup::missingDatabaseEndsTheProgram() {
    QTemporaryDir folder;
    QTemporaryDir runtime;
    const HostRun run = runHost(folder.path(), runtime.path());
    QVERIFY(run.finished);
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.boxes.size(), 1);
    QCOMPARE(run.boxes.first(),
             QStringLiteral("16| ERROR - DATABASE NOT FOUND|") + escaped(databaseMissingMessage()));
    QCOMPARE(databaseMissingMessage(),
             QStringLiteral("Database Not Found.\r\n\r\nThe database must reside in the folder "
                            "where it was originally installed."));
    // Neither the splash nor the main window came.
    QVERIFY(!run.lines.join(QLatin1Char('\n')).contains(QStringLiteral("SHOWN")));
    QVERIFY(!QFile::exists(folder.path() + QStringLiteral("/error.log")));
}

void tst_startup::secondInstanceIsRefused() {
    TestInstall install;
    // This process is the first instance: it holds the lock of this user.
    QVERIFY(!SingleInstance::anotherIsRunning());
    const HostRun run = runHost(install.folder(), m_runtime.path());
    QVERIFY(run.finished);
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.boxes, QStringList{QStringLiteral(
                            "48|Quorvane|Quorvane is already running on this computer! ")});
    QCOMPARE(run.lines.size(), 1);
}

void tst_startup::leftoverLockFileIsTakenOver_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("unreadable");
    QTest::newRow("empty") << QByteArray() << false;
    QTest::newRow("unreadable") << QByteArray("4242\n") << true;
    QTest::newRow("garbled") << QByteArray("\x93\x01\xff\nnot a lock\x00\x17", 17) << false;
    QTest::newRow("half a line") << QByteArray("41") << false;
    QTest::newRow("another host") << QByteArray("4242\nstartup_host\nelsewhere.example\n") << false;
    QTest::newRow("a process that ended") << QByteArray::number(0x7ffffff0) + "\nstartup_host\n" +
                                                 QSysInfo::machineHostName().toUtf8() + "\n"
                                          << false;
}

// A lock file that no running program holds (what a crash or a power loss
// during its write leaves, or one written under another host name) never
// stands in the way of a start.
void tst_startup::leftoverLockFileIsTakenOver() {
    QFETCH(QByteArray, content);
    QFETCH(bool, unreadable);
    TestInstall install;
    QTemporaryDir runtime;
    QFile lock(runtime.path() + QLatin1Char('/') +
               QFileInfo(SingleInstance::lockPath()).fileName());
    QVERIFY(lock.open(QIODevice::WriteOnly));
    QCOMPARE(lock.write(content), content.size());
    lock.close();
    if (unreadable) {
        QVERIFY(lock.setPermissions(QFile::Permissions()));
    }
    // The host ends without eXit, which would remove the file.
    const HostRun run = runHost(install.folder(), runtime.path());
    QVERIFY(run.finished);
    QCOMPARE(run.boxes, QStringList());
    QCOMPARE(run.lines.size(), 1);
    QVERIFY2(run.lines.first().startsWith(QStringLiteral("SHOWN ")), qPrintable(run.lines.first()));
    // The start took the file over: it names the new holder now.
    QVERIFY(lock.open(QIODevice::ReadOnly));
    QVERIFY(
        lock.readAll().endsWith("\nstartup_host\n" + QSysInfo::machineHostName().toUtf8() + "\n"));
}

// The lock of a running program refuses the start, even when its file says
// nothing about the holder.
void tst_startup::liveHolderRefusesWhateverTheFileHolds() {
    TestInstall install;
    QTemporaryDir runtime;
    const QString path =
        runtime.path() + QLatin1Char('/') + QFileInfo(SingleInstance::lockPath()).fileName();
    const int held =
        ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    QVERIFY(held >= 0);
    QCOMPARE(::flock(held, LOCK_EX | LOCK_NB), 0);
    const HostRun run = runHost(install.folder(), runtime.path(), {QStringLiteral("exit")});
    ::close(held);
    QVERIFY(run.finished);
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.boxes, QStringList{QStringLiteral(
                            "48|Quorvane|Quorvane is already running on this computer! ")});
}

void tst_startup::exitEndsTheProgramAndFreesTheLock() {
    TestInstall install;
    QTemporaryDir runtime;
    QTemporaryDir elsewhere;
    for (int round = 0; round < 2; ++round) {
        // The lock of a program that ended is taken over by the next start.
        const HostRun run =
            runHost(install.folder(), runtime.path(), {QStringLiteral("exit")}, elsewhere.path());
        QVERIFY(run.finished);
        QCOMPARE(run.boxes, QStringList());
        QCOMPARE(run.lines, QStringList{QStringLiteral("SHOWN Quorvane  -  2.0|") +
                                        install.folder() + QLatin1Char('|') + install.folder()});
        QCOMPARE(run.exitCode, 0);
    }
}

// The check runs while the splash shows; found damaged, whether before or
// after the main window appears, the file is never written to until the
// user's choice put a sound copy in its place. Left-overs of an earlier run
// are gone.
void tst_startup::damagedInventoryIsAnsweredBeforeAnyWrite() {
    TestInstall install;
    QVERIFY(install.exec("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE "
                         "i < 2000) INSERT INTO tblItems (ItemID, ItemName, RoomName) SELECT "
                         "'A-' || i, 'Item ' || i, 'Den' FROM n"));
    QVERIFY(!Riri::AutoBackups::make(Riri::AutoBackups::Kind::Daily).isEmpty());
    QFile file(install.databasePath());
    QVERIFY(file.open(QIODevice::ReadWrite));
    file.seek(file.size() / 2);
    file.write(QByteArray(8192, '\x33'));
    file.close();
    const QString leftover = install.folder() + "/home/.inv.inv.part-Ab12Cd";
    {
        // Left by a backup killed two hours ago.
        QFile file(leftover);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(-7200),
                                 QFileDevice::FileModificationTime));
    }

    MsgResponder boxes;
    DamagedResponder window;
    window.expect(frmDamagedInventory::Choice::RestoreNewest);
    boxes.expect(Riri::vbOK); // the restore's outcome
    QVERIFY(Main(quietSeams()));
    QTRY_COMPARE(window.shown().size(), 1);
    QCOMPARE(Riri::WriteGate::state(), Riri::WriteGate::State::Open);
    QCOMPARE(install.scalar("PRAGMA integrity_check").toString(), QString("ok"));
    QCOMPARE(install.scalar("SELECT count(*) FROM tblItems").toInt(), 2000);
    QVERIFY(!QFile::exists(leftover));
    QCOMPARE(boxes.pending(), 0);
}

QTEST_MAIN(tst_startup)
#include "tst_startup.moc"
