#pragma once

#include <QString>
#include <cstdio>

// One line of the command line's output: a result on standard output, a
// reason for failing on standard error; each written at once.
namespace TerminalLines {

inline void say(const QString& line) {
    std::fputs(qPrintable(line + QLatin1Char('\n')), stdout);
    std::fflush(stdout);
}

inline void complain(const QString& line) {
    std::fputs(qPrintable(line + QLatin1Char('\n')), stderr);
    std::fflush(stderr);
}

} // namespace TerminalLines
