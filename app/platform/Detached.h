#pragma once

#include <QString>

// Runs a command line as a separate process without waiting for it. The
// first word is the program (found on PATH when it has no folder), the rest
// its arguments, split as a shell would split them. Returns false when the
// process could not be started; nobody waits for its end or its result.
namespace Detached {

bool start(const QString& commandLine);

// Runs the program file (a path that may hold blanks) without arguments.
bool startProgram(const QString& program);

} // namespace Detached
