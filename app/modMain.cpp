#include "modMain.h"

#include "AppInfo.h"
#include "cli/CommandLine.h"
#include "frmMain.h"
#include "frmSplash.h"
#include "platform/HelpViewer.h"
#include "platform/Pointer.h"
#include "platform/Registration.h"
#include "platform/SingleInstance.h"
#include "shared/modGlobal.h"
#include "startup/DataFolder.h"
#include "startup/StartupCheck.h"
#include "ui/MsgBoxPresenter.h"

#include <Riri/ComponentFolder.h>
#include <Riri/Error.h>
#include <Riri/ErrorLog.h>
#include <Riri/ErrorNumbers.h>
#include <Riri/InstallPaths.h>
#include <Riri/MsgBox.h>

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

// The name of the procedure in error, set just before its message is built.
QString g_procedureInError;

// True when the database file is there (or when looking for it failed).
// The packaged layout's first start makes the data folder with its empty
// database first, and every start brings the help viewer's copy up to date.
bool DatabaseExists(Riri::Layout layout) {
    Pointer::setScreen(Pointer::Busy);
    const QString folder = programFolder();
    if (QDir::currentPath() != folder) {
        QDir::setCurrent(folder);
    }
    const QString dataFolder = Riri::componentFolder();
    prepareDataFolder(layout, dataFolder, folder);
    if (layout == Riri::Layout::Packaged && QFileInfo::exists(dataFolder)) {
        refreshHelpCopy(dataFolder, folder); // without it the help window says it has no help
    }
    const bool exists = QFileInfo(Riri::InstallPaths::databasePath(dataFolder)).isFile();
    Pointer::setScreen(Pointer::Arrow);
    return exists;
}

// Logs and shows a start-up failure.
void reportFailure(int number, const QString& description) {
    Pointer::setScreen(Pointer::Busy);
    try {
        Riri::ErrorLog::appendStartupBlock(Riri::InstallPaths::logPath(Riri::componentFolder()),
                                           number, description);
    } catch (const Riri::Error&) {
        // a log that cannot be written does not hide the message
    }
    Pointer::setScreen(Pointer::Default);
    g_procedureInError = StartupProcedure;
    Riri::MsgBox(startupErrorMessage(number, description), Riri::vbCritical | Riri::vbOKOnly,
                 AppInfo::Title);
}

} // namespace

QString alreadyRunningMessage() {
    return AppInfo::Title + QStringLiteral(" is already running on this computer! ");
}

QString databaseMissingMessage() {
    return QStringLiteral("Database Not Found.\r\n\r\nThe database must reside in the folder "
                          "where it was originally installed.");
}

QString databaseMissingCaption() {
    return QStringLiteral(" ERROR - DATABASE NOT FOUND");
}

QString startupErrorMessage(int number, const QString& description) {
    return QStringLiteral("ERROR #") + QString::number(number) + QStringLiteral("\r\n\r\n") +
           description + QStringLiteral("\r\nIn the: ModMain code module\r\nProcedure: ") +
           StartupProcedure;
}

void Main() {
    Main(StartupSeams{});
}

bool Main(const StartupSeams& seams) {
    if (seams.installPresenter) {
        MsgBoxPresenter::install();
    }
    // Windows come and go during start-up (the splash closes before the main
    // window shows); the program must not end in between.
    const bool quitOnLastWindow = QApplication::quitOnLastWindowClosed();
    QApplication::setQuitOnLastWindowClosed(false);

    // Steps 1 to 5: a failing step is skipped.
    Pointer::setScreen(Pointer::Busy);
    HelpViewer::setHelpFile(
        helpCollectionFile(seams.layout, Riri::componentFolder(), programFolder()));
    if (SingleInstance::anotherIsRunning()) {
        Pointer::setScreen(Pointer::Default);
        Riri::MsgBox(alreadyRunningMessage(), Riri::vbExclamation | Riri::vbOKOnly, AppInfo::Title);
        std::fflush(nullptr);
        std::_Exit(0);
    }
    Registration::request();

    // Steps 6 to 13, each through the start-up failure handler.
    std::unique_ptr<frmSplash> splash;
    bool databaseFound = true;
    frmMain* main = nullptr;
    // The check of the inventory and the day's copy run on a worker while
    // the splash shows; writes wait for its verdict.
    StartupCheckTask* check = nullptr;
    const auto steps = std::to_array<std::pair<int, std::function<void()>>>({
        {6,
         [&] {
             databaseFound = DatabaseExists(seams.layout);
             if (databaseFound) {
                 sweepLeftoversAtStartup();
                 check = new StartupCheckTask(QCoreApplication::instance());
             }
         }},
        {7,
         [&] {
             if (databaseFound) {
                 main = new frmMain();
             }
         }},
        {8,
         [&] {
             if (!databaseFound) {
                 Pointer::setScreen(Pointer::Default);
                 Riri::MsgBox(databaseMissingMessage(), Riri::vbCritical | Riri::vbOKOnly,
                              databaseMissingCaption());
                 EndProgram();
             }
         }},
        {9,
         [&] {
             splash = std::make_unique<frmSplash>();
             splash->load(seams.splashPause);
         }},
        {10, [] { Pointer::setScreen(Pointer::Busy); }},
        {11,
         [&] {
             if (splash) {
                 splash->hide();
                 splash.reset();
             }
         }},
        {12,
         [&] {
             Pointer::setScreen(Pointer::Default);
             // A check that is done by now is answered before the main
             // window shows: a damaged inventory never gets a window.
             if (check != nullptr && check->isFinished()) {
                 const bool go = answerStartupCheck(check->result());
                 delete check;
                 check = nullptr;
                 if (!go) {
                     EndProgram();
                 }
             }
         }},
        {13,
         [&] {
             // Showing a main window that was never loaded loads it first.
             if (main == nullptr) {
                 main = mainForm() != nullptr ? mainForm() : new frmMain();
             }
             if (main != nullptr) {
                 main->show();
             }
             if (check != nullptr) {
                 // Still checking: the window is usable for reading, writes
                 // wait, and the verdict is answered over the window.
                 QObject::connect(check, &StartupCheckTask::finished, check, [check, main] {
                     const bool go = answerStartupCheck(check->result(), main);
                     check->deleteLater();
                     if (!go) {
                         EndProgram();
                     }
                 });
             }
         }},
    });
    for (const auto& [number, step] : steps) {
        try {
            if (seams.beforeStep) {
                seams.beforeStep(number);
            }
            step();
        } catch (const Riri::Error& error) {
            if (error.number() == Riri::ErrorNumber::FileNotFound ||
                error.number() == Riri::ErrorNumber::PathFileAccess) {
                Pointer::setScreen(Pointer::Default);
                continue;
            }
            reportFailure(error.number(), error.description());
            break;
        } catch (const std::exception& error) {
            reportFailure(Riri::ErrorNumber::Unexpected, QString::fromLocal8Bit(error.what()));
            break;
        }
    }
    if (splash) {
        splash->hide();
    }
    QApplication::setQuitOnLastWindowClosed(quitOnLastWindow);
    return main != nullptr && main->isVisible();
}

int runCommandLine(Riri::Layout layout, const QStringList& arguments) {
    return CommandLine::run(arguments, [layout] {
        prepareDataFolder(layout, Riri::componentFolder(), programFolder());
    });
}
