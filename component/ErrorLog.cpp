#include "ErrorLog.h"

#include "Error.h"
#include "Formats.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <functional>

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

void writeBlock(const QString& path, const std::function<QStringList(bool)>& build) {
    const bool exists = QFileInfo::exists(path);
    QFile file(path);
    if (!file.open(exists ? (QIODevice::WriteOnly | QIODevice::Append) : QIODevice::WriteOnly)) {
        throw Error(kFileAccessError,
                    QStringLiteral("Path/File access error: %1").arg(file.errorString()));
    }
    QByteArray bytes;
    for (const QString& line : build(!exists)) {
        bytes += line.toUtf8();
        bytes += "\r\n";
    }
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        throw Error(kFileAccessError,
                    QStringLiteral("Path/File access error: %1").arg(file.errorString()));
    }
}

} // namespace

QString RuleLine() {
    return QLatin1Char('%') + QString(51, QLatin1Char('-')) + QLatin1Char('%');
}
QString FrameLine() {
    return QLatin1Char('%') + QString(51, QLatin1Char(' ')) + QLatin1Char('%');
}
QString ShortRuleLine() {
    return QLatin1Char('%') + QString(33, QLatin1Char('-')) + QLatin1Char('%');
}

QString DateLine(const QDateTime& when, const QString& errorText) {
    const QLocale locale = QLocale::system();
    const QString items[] = {locale.toString(when.date(), ShortDateFormat(locale)),
                             locale.toString(when.time(), TimeFormat(locale)), errorText};
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

QStringList ComponentBlock(bool newFile, ComponentSource source, int number,
                           const QString& description, const QDateTime& when) {
    const bool creation = source == ComponentSource::Creation;
    QStringList lines;
    if (newFile) {
        lines << RuleLine() << componentTitle(source) << RuleLine() << FrameLine()
              << DateLine(when, QStringLiteral(" Error: ") + QString::number(number));
    } else {
        lines << FrameLine();
        if (creation) {
            lines << QStringLiteral("% Error Information %");
        }
        lines << DateLine(when, QStringLiteral("Error: ") + QString::number(number));
    }
    lines << sourceLine(source) << RuleLine() << description
          << (creation ? ShortRuleLine() : RuleLine());
    return lines;
}

QStringList StartupBlock(bool newFile, int number, const QString& description,
                         const QDateTime& when) {
    // The number keeps its own sign position: a blank before zero or more.
    const QString errorText = QStringLiteral("Error:") +
                              (number >= 0 ? QStringLiteral(" ") : QString()) +
                              QString::number(number);
    QStringList lines;
    if (newFile) {
        lines << RuleLine()
              << QString(11, QLatin1Char(' ')) + QStringLiteral("The Dedi Rividizar - Error Log")
              << RuleLine();
    }
    lines << FrameLine() << DateLine(when, errorText) << QStringLiteral("SubMain Load Procedure")
          << QStringLiteral("---") << description << RuleLine();
    return lines;
}

void AppendComponentBlock(const QString& path, ComponentSource source, int number,
                          const QString& description) {
    const QDateTime now = QDateTime::currentDateTime();
    writeBlock(path, [&](bool newFile) {
        return ComponentBlock(newFile, source, number, description, now);
    });
}

void AppendStartupBlock(const QString& path, int number, const QString& description) {
    const QDateTime now = QDateTime::currentDateTime();
    writeBlock(path, [&](bool newFile) { return StartupBlock(newFile, number, description, now); });
}

} // namespace Riri::ErrorLog
