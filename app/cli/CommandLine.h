#pragma once

#include <QStringList>
#include <functional>

// The program's command line: the inventory's backup, restore, check and
// spreadsheet export and import without a window or a display. Each command
// prints one line on success; a failure prints its reason on the standard
// error stream and ends with a non-zero status.
namespace CommandLine {

// True when the arguments hold one of the command line's options, which it
// handles instead of the windows.
bool requested(int argc, char** argv);

// Runs the command the arguments name under the QCoreApplication the caller
// made, and returns the process's exit status. prepare, when given, runs
// before the command (not for --help and --version, nor for wrong usage);
// a Riri::Error it throws is the command's failure.
int run(const QStringList& arguments, const std::function<void()>& prepare = {});

} // namespace CommandLine
