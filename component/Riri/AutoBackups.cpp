#include "AutoBackups.h"

#include "ComponentFolder.h"
#include "Error.h"
#include "ErrorLog.h"
#include "InstallPaths.h"
#include "InventoryCopy.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>

namespace Riri {

namespace {

constexpr int kDailyKept = 7;
constexpr int kEventKept = 10;
constexpr int kEventDays = 30;
const char* const kTimeFormat = "yyyyMMdd-HHmmsszzz";

QString kindName(AutoBackups::Kind kind) {
    switch (kind) {
    case AutoBackups::Kind::Daily:
        return QStringLiteral("daily");
    case AutoBackups::Kind::BeforeRestore:
        return QStringLiteral("before-restore");
    case AutoBackups::Kind::BeforeImport:
        return QStringLiteral("before-import");
    case AutoBackups::Kind::BeforeHistoryCleanUp:
        return QStringLiteral("before-history-cleanup");
    }
    return QString();
}

void logFailure(int number, const QString& description) {
    try {
        ErrorLog::appendComponentBlock(InstallPaths::logPath(componentFolder()),
                                       ErrorLog::ComponentSource::AutoBackup, number, description);
    } catch (const Error&) {
        // nothing more can be done: the copy is optional
    }
}

using Copy = AutoBackups::Copy;

const QString kUncheckedSuffix = QStringLiteral(".unchecked");

// The copies (or, with unchecked, the kept files of damaged inventories)
// newest first.
QList<Copy> copies(bool unchecked = false) {
    QList<Copy> list;
    const QString suffix = unchecked ? kUncheckedSuffix : QStringLiteral(".inv");
    const QFileInfoList files =
        QDir(AutoBackups::folder()).entryInfoList({QStringLiteral("inv-*") + suffix}, QDir::Files);
    for (const QFileInfo& file : files) {
        AutoBackups::Kind kind = AutoBackups::Kind::Daily;
        QString name = file.fileName();
        if (unchecked) {
            name = name.left(name.size() - suffix.size()) + QStringLiteral(".inv");
        }
        const QDateTime made = AutoBackups::madeAt(name, &kind);
        if (made.isValid()) {
            list.append(Copy{file.absoluteFilePath(), made, kind});
        }
    }
    std::sort(list.begin(), list.end(),
              [](const Copy& a, const Copy& b) { return a.made > b.made; });
    return list;
}

} // namespace

QString AutoBackups::folder() {
    return componentFolder() + QStringLiteral("/home/backups");
}

QDateTime AutoBackups::madeAt(const QString& fileName, Kind* kind) {
    static const QRegularExpression pattern(
        QStringLiteral("^inv-(\\d{8}-\\d{9})-(daily|before-restore|before-import|before-history-"
                       "cleanup)(?:-\\d+)?\\.inv$"));
    const QRegularExpressionMatch match = pattern.match(fileName);
    if (!match.hasMatch()) {
        return QDateTime();
    }
    if (kind != nullptr) {
        const QString name = match.captured(2);
        *kind = name == QLatin1String("daily")            ? Kind::Daily
                : name == QLatin1String("before-restore") ? Kind::BeforeRestore
                : name == QLatin1String("before-import")  ? Kind::BeforeImport
                                                          : Kind::BeforeHistoryCleanUp;
    }
    return QDateTime::fromString(match.captured(1), QLatin1String(kTimeFormat));
}

QString AutoBackups::make(Kind kind) {
    const QString dir = folder();
    if (!QDir().mkpath(dir)) {
        logFailure(75, QStringLiteral("The folder %1 cannot be made.").arg(dir));
        return QString();
    }
    const QString stem =
        QStringLiteral("%1/inv-%2-%3")
            .arg(dir, QDateTime::currentDateTime().toString(QLatin1String(kTimeFormat)),
                 kindName(kind));
    QString path = stem + QStringLiteral(".inv");
    for (int n = 2; QFile::exists(path); ++n) {
        path = stem + QStringLiteral("-%1.inv").arg(n);
    }
    try {
        InventoryCopy::backUp(path);
    } catch (const Error& error) {
        logFailure(error.number(), error.description());
        if (kind != Kind::Daily) {
            // A damaged inventory cannot be copied with a check; before it
            // is replaced its file is kept as it is, under a name the
            // automatic copies do not use.
            QFile::copy(InventoryCopy::databasePath(),
                        path.left(path.size() - 4) + QStringLiteral(".unchecked"));
        }
        return QString();
    } catch (const std::exception& error) {
        logFailure(440, QString::fromLocal8Bit(error.what()));
        return QString();
    }
    prune();
    return path;
}

QString AutoBackups::makeDailyIfDue(const QDateTime& now) {
    QDateTime made;
    const QString last = newest(&made);
    if (!last.isEmpty()) {
        const QDateTime changed = QFileInfo(InventoryCopy::databasePath()).lastModified();
        if (made.secsTo(now) <= 24 * 3600 || changed <= made) {
            return QString();
        }
    }
    return make(Kind::Daily);
}

QString AutoBackups::newest(QDateTime* made) {
    const QList<Copy> list = copies();
    if (list.isEmpty()) {
        return QString();
    }
    if (made != nullptr) {
        *made = list.first().made;
    }
    return list.first().path;
}

QList<AutoBackups::Copy> AutoBackups::list() {
    return copies();
}

void AutoBackups::prune(const QDateTime& now) {
    for (const bool unchecked : {false, true}) {
        int daily = 0;
        int beforeRestore = 0;
        int beforeImport = 0;
        int beforeCleanUp = 0;
        for (const Copy& copy : copies(unchecked)) {
            int& seen = copy.kind == Kind::Daily           ? daily
                        : copy.kind == Kind::BeforeRestore ? beforeRestore
                        : copy.kind == Kind::BeforeImport  ? beforeImport
                                                           : beforeCleanUp;
            const bool keep = copy.kind == Kind::Daily
                                  ? ++seen <= kDailyKept
                                  : ++seen <= kEventKept && copy.made.daysTo(now) <= kEventDays;
            if (!keep) {
                QFile::remove(copy.path);
            }
        }
    }
}

int AutoBackups::sweepLeftovers(const QStringList& otherFolders) {
    // SafeFile's temporary names: "." + the target's name + ".part-" and six
    // characters of mkstemp, and the journal SQLite may leave beside one.
    static const QRegularExpression ours(
        QStringLiteral("^\\..+\\.part-[A-Za-z0-9]{6}(?:-journal)?$"));
    static const QRegularExpression inventoryOrCsv(
        QStringLiteral("^\\..+\\.(?:inv|csv|zip)\\.part-[A-Za-z0-9]{6}(?:-journal)?$"),
        QRegularExpression::CaseInsensitiveOption);
    const QString own = QDir(componentFolder() + QStringLiteral("/home")).absolutePath();
    const QString backups = QDir(folder()).absolutePath();
    // A file written to within the last hour may belong to a command-line
    // backup or export still running beside the windows: the single-instance
    // lock covers the windows only. A killed one is swept at a later start.
    const QDateTime stale = QDateTime::currentDateTimeUtc().addSecs(-3600);
    QStringList done;
    int removed = 0;
    const auto sweep = [&](const QString& path, const QRegularExpression& pattern) {
        const QString absolute = QDir(path).absolutePath();
        if (path.isEmpty() || done.contains(absolute)) {
            return;
        }
        done.append(absolute);
        const QFileInfoList files = QDir(absolute).entryInfoList(
            {QStringLiteral(".*.part-*")}, QDir::Files | QDir::Hidden | QDir::NoSymLinks);
        for (const QFileInfo& file : files) {
            if (pattern.match(file.fileName()).hasMatch() && file.lastModified().toUTC() < stale &&
                QFile::remove(file.filePath())) {
                ++removed;
            }
        }
    };
    sweep(own, ours);
    sweep(backups, ours);
    // The private folders a restore from an archive unpacks into.
    for (const QFileInfo& unpacked : QDir(own).entryInfoList(
             {QStringLiteral(".restore.part-*")}, QDir::Dirs | QDir::Hidden | QDir::NoSymLinks)) {
        if (unpacked.lastModified().toUTC() < stale &&
            QDir(unpacked.filePath()).removeRecursively()) {
            ++removed;
        }
    }
    for (const QString& other : otherFolders) {
        sweep(other, inventoryOrCsv);
    }
    return removed;
}

} // namespace Riri
