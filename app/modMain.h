#pragma once

#include <Riri/ComponentFolder.h>
#include <Riri/ErrorLog.h>

#include <QString>
#include <QStringList>
#include <functional>

// Start-up of the program: prepares the process, refuses a second instance,
// checks for the database, shows the splash window and then the main window.

// What a host can change about start-up: the test suite and the benchmarks
// run it without the seven-second splash and with their own message boxes.
struct StartupSeams {
    // Installs the on-screen message-box presenter before the first box.
    bool installPresenter = true;
    // The splash window's wait between two steps of its bar; Pause when empty.
    std::function<bool(int)> splashPause;
    // Runs before each step from the database test on (steps 6 to 13), with
    // the step's number. A failure it raises is handled as a failure of that
    // step.
    std::function<void(int step)> beforeStep;
    // Where the read-only files and the data live; the configured layout
    // unless a test runs start-up in the other one.
    Riri::Layout layout = Riri::configuredLayout();
};

// The process entry: runs start-up and returns with the main window shown
// (or nothing shown when start-up stopped). The second form tells whether the
// main window is shown; when it is not, start-up stopped on a failure.
void Main();
bool Main(const StartupSeams& seams);

// The command line (cli/CommandLine.h) of the given layout: a first use of
// the packaged layout makes the data folder with its empty inventory first,
// as the first start of the windows does, so a command works on a fresh
// installation. Returns the process's exit status.
int runCommandLine(Riri::Layout layout, const QStringList& arguments);

// The messages start-up shows.
QString alreadyRunningMessage();
QString databaseMissingMessage();
QString databaseMissingCaption();
QString startupErrorMessage(int number, const QString& description);

// The procedure label of start-up failures.
inline const QString StartupProcedure = Riri::ErrorLog::startupProcedure();
