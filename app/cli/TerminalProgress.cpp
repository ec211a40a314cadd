#include "cli/TerminalProgress.h"

#include <unistd.h>
#include <utility>

TerminalProgress::TerminalProgress(QString label, std::FILE* stream)
    : TerminalProgress(std::move(label), stream, ::isatty(::fileno(stream)) == 1) {}

TerminalProgress::TerminalProgress(QString label, std::FILE* stream, bool terminal)
    : m_label(std::move(label)), m_stream(stream), m_terminal(terminal) {}

TerminalProgress::~TerminalProgress() {
    finish();
}

Riri::Progress TerminalProgress::progress() {
    if (!m_terminal) {
        return {};
    }
    return [this](qint64 done, qint64 total) { return report(done, total); };
}

bool TerminalProgress::report(qint64 done, qint64 total) {
    const int percent =
        total > 0 ? static_cast<int>(qBound<qint64>(0, done, total) * 100 / total) : -1;
    if (percent == m_shown) {
        return true;
    }
    m_shown = percent;
    QString line = QLatin1Char('\r') + m_label;
    if (percent >= 0) {
        line += QStringLiteral(" %1%").arg(percent);
    }
    std::fputs(line.toLocal8Bit().constData(), m_stream);
    std::fflush(m_stream);
    return true;
}

void TerminalProgress::finish() {
    if (m_shown != -2) {
        std::fputc('\n', m_stream);
        std::fflush(m_stream);
        m_shown = -2;
    }
}
