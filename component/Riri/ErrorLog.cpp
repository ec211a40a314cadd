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

// Opens the log for appending, making it when it is missing; *created tells
// whether this call made the file.
int openLog(const QByteArray& path, bool* created) {
    for (;;) {
        int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_APPEND | O_CLOEXEC, 0666);
        if (fd >= 0) {
            *created = true;
            return fd;
        }
        if (errno != EEXIST) {
            return -1;
        }
        fd = ::open(path.constData(), O_WRONLY | O_APPEND | O_CLOEXEC);
        if (fd >= 0 || errno != ENOENT) {
            *created = false;
            return fd;
        }
        // Removed again between the two calls: make it anew.
    }
}

// Whether the name still leads to the open file.
bool isStillNamed(const QByteArray& path, const struct stat& open) {
    struct stat named {};
    return ::stat(path.constData(), &named) == 0 && named.st_dev == open.st_dev &&
           named.st_ino == open.st_ino;
}

// The log is only ever appended to, never truncated, and each block goes in
// with one write while an advisory lock keeps out every other writer (the
// program, its command line, a second component): so blocks never overwrite
// or interleave, and the title banner heads the first block of an empty file
// exactly once. A block that cannot be written whole is cut off again, so the
// file never ends in half a block; a log this call made and could not write
// into is removed again, so a full disk leaves no empty log behind.
void writeBlock(const QString& path, const std::function<QStringList(bool)>& build) {
    const QByteArray name = QFile::encodeName(path);
    for (;;) {
        OpenLog log;
        bool created = false;
        log.fd = openLog(name, &created);
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
        if (!isStillNamed(name, before)) {
            // Its maker removed it while this writer waited for the lock.
            continue;
        }
        QByteArray bytes;
        for (const QString& line : build(before.st_size == 0)) {
            bytes += line.toUtf8();
            bytes += "\r\n";
        }
        const ssize_t written =
            ::write(log.fd, bytes.constData(), static_cast<size_t>(bytes.size()));
        if (written != static_cast<ssize_t>(bytes.size())) {
            const int reason = written < 0 ? errno : EFBIG;
            [[maybe_unused]] const int cut = ::ftruncate(log.fd, before.st_size);
            if (created && before.st_size == 0) {
                ::unlink(name.constData());
            }
            failAccess(reason);
        }
        return;
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
