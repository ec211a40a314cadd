#include "ErrorLog.h"

#include "Error.h"
#include "ErrorNumbers.h"
#include "Formats.h"

#include <QFile>
#include <QLocale>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Riri::ErrorLog {

namespace {

constexpr int kZone = 14;

QString sourceLine(ComponentSource source) {
    switch (source) {
    case ComponentSource::Creation:
        return QStringLiteral("Initialize Database Connection");
    case ComponentSource::AddOwner:
        return QStringLiteral("AddOwner - DLL Function");
    case ComponentSource::AddItems:
        return QStringLiteral("AddItems - DLL Function");
    case ComponentSource::UpdateItems:
        return QStringLiteral("UpdateItems - DLL Function");
    case ComponentSource::UpdateOwner:
        return QStringLiteral("UpdateOwner - DLL Function");
    case ComponentSource::DeleteItem:
        return QStringLiteral("Delete Item - DLL Function");
    case ComponentSource::AutoBackup:
        return QStringLiteral("Automatic Backup - DLL Function");
    }
    return QString();
}

QString componentTitle(ComponentSource source) {
    const bool update =
        source == ComponentSource::UpdateItems || source == ComponentSource::UpdateOwner;
    return QString(update ? 13 : 14, QLatin1Char(' ')) +
           QStringLiteral("Dedi Rividizar - Error Log");
}

[[noreturn]] void failAccess(int reason) {
    throw Error(ErrorNumber::PathFileAccess,
                QStringLiteral("Path/File access error: %1")
                    .arg(QString::fromLocal8Bit(std::strerror(reason))));
}

// Closes the log (and so drops its lock) on every way out.
struct OpenLog {
    int fd = -1;
    ~OpenLog() {
        if (fd >= 0) {
            ::close(fd);
        }
    }
};

// The log is only ever appended to, never truncated, and each block goes in
// with one write while an advisory lock keeps out every other writer (the
// program, its command line, a second component): so blocks never overwrite
// or interleave, and the title banner heads the first block of an empty file
// exactly once. A block that cannot be written whole is cut off again, so the
// file never ends in half a block.
void writeBlock(const QString& path, const std::function<QStringList(bool)>& build) {
    OpenLog log;
    log.fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC,
                    0666);
    if (log.fd < 0) {
        failAccess(errno);
    }
    while (::flock(log.fd, LOCK_EX) != 0) {
        if (errno != EINTR) {
            failAccess(errno);
        }
    }
    struct stat before {};
    if (::fstat(log.fd, &before) != 0) {
        failAccess(errno);
    }
    QByteArray bytes;
    for (const QString& line : build(before.st_size == 0)) {
        bytes += line.toUtf8();
        bytes += "\r\n";
    }
    const ssize_t written = ::write(log.fd, bytes.constData(), static_cast<size_t>(bytes.size()));
    if (written != static_cast<ssize_t>(bytes.size())) {
        const int reason = written < 0 ? errno : EFBIG;
        [[maybe_unused]] const int cut = ::ftruncate(log.fd, before.st_size);
        failAccess(reason);
    }
}

} // namespace

QString ruleLine() {
    return QLatin1Char('%') + QString(51, QLatin1Char('-')) + QLatin1Char('%');
}
QString frameLine() {
    return QLatin1Char('%') + QString(51, QLatin1Char(' ')) + QLatin1Char('%');
}
QString shortRuleLine() {
    return QLatin1Char('%') + QString(33, QLatin1Char('-')) + QLatin1Char('%');
}

QString dateLine(const QDateTime& when, const QString& errorText) {
    const QLocale locale = QLocale::system();
    const QString items[] = {locale.toString(when.date(), shortDateFormat(locale)),
                             locale.toString(when.time(), timeFormat(locale)), errorText};
    QString line;
    for (const QString& item : items) {
        if (!line.isEmpty()) {
            const qsizetype next = (line.size() / kZone + 1) * kZone;
            line += QString(next - line.size(), QLatin1Char(' '));
        }
        line += item;
    }
    return line;
}

QStringList componentBlock(bool newFile, ComponentSource source, int number,
                           const QString& description, const QDateTime& when) {
    const bool creation = source == ComponentSource::Creation;
    QStringList lines;
    if (newFile) {
        lines << ruleLine() << componentTitle(source) << ruleLine() << frameLine()
              << dateLine(when, QStringLiteral(" Error: ") + QString::number(number));
    } else {
        lines << frameLine();
        if (creation) {
            lines << QStringLiteral("% Error Information %");
        }
        lines << dateLine(when, QStringLiteral("Error: ") + QString::number(number));
    }
    lines << sourceLine(source) << ruleLine() << description
          << (creation ? shortRuleLine() : ruleLine());
    return lines;
}

QString startupProcedure() {
    return QStringLiteral("SubMain Load Procedure");
}

QStringList startupBlock(bool newFile, int number, const QString& description,
                         const QDateTime& when, const QString& procedure) {
    // The number keeps its own sign position: a blank before zero or more.
    const QString errorText = QStringLiteral("Error:") +
                              (number >= 0 ? QStringLiteral(" ") : QString()) +
                              QString::number(number);
    QStringList lines;
    if (newFile) {
        lines << ruleLine()
              << QString(11, QLatin1Char(' ')) + QStringLiteral("The Dedi Rividizar - Error Log")
              << ruleLine();
    }
    lines << frameLine() << dateLine(when, errorText) << procedure << QStringLiteral("---")
          << description << ruleLine();
    return lines;
}

void appendComponentBlock(const QString& path, ComponentSource source, int number,
                          const QString& description) {
    const QDateTime now = QDateTime::currentDateTime();
    writeBlock(path, [&](bool newFile) {
        return componentBlock(newFile, source, number, description, now);
    });
}

void appendStartupBlock(const QString& path, int number, const QString& description,
                        const QString& procedure) {
    const QDateTime now = QDateTime::currentDateTime();
    writeBlock(path, [&](bool newFile) {
        return startupBlock(newFile, number, description, now, procedure);
    });
}

} // namespace Riri::ErrorLog
