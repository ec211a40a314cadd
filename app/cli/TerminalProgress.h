#pragma once

#include <Riri/Progress.h>

#include <QString>
#include <cstdio>

// A command's progress on a terminal: "Backing up... 45%" on one line,
// rewritten in place with a carriage return as the percentage changes, and
// ended with a newline. On a stream that is no terminal (a pipe, a file) it
// writes nothing, so what scripts read stays as it was. It never cancels.
class TerminalProgress {
public:
    // The stream is a terminal when isatty says so, unless told.
    explicit TerminalProgress(QString label, std::FILE* stream = stderr);
    TerminalProgress(QString label, std::FILE* stream, bool terminal);
    ~TerminalProgress();
    TerminalProgress(const TerminalProgress&) = delete;
    TerminalProgress& operator=(const TerminalProgress&) = delete;

    // What the component's operations take; valid while this lives.
    Riri::Progress progress();
    // Ends the line, when one was begun.
    void finish();

private:
    bool report(qint64 done, qint64 total);

    QString m_label;
    std::FILE* m_stream;
    bool m_terminal;
    int m_shown = -2; // the percentage on the line; -1 for none yet known
};
