#include "cli/CommandLine.h"

#include "AppInfo.h"
#include "cli/TerminalProgress.h"
#include "platform/SingleInstance.h"
#include "shared/HistoryText.h"

#include <Riri/ChangeSource.h>
#include <Riri/Error.h>
#include <Riri/InventoryCheck.h>
#include <Riri/InventoryCopy.h>
#include <Riri/ItemHistory.h>
#include <Riri/ItemsCsv.h>

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <cstdio>
#include <functional>

namespace CommandLine {

namespace {

// Exit statuses.
constexpr int kFailed = 1;
constexpr int kUsage = 2;
constexpr int kRunning = 3;

void say(const QString& line) {
    std::fputs(qPrintable(line + QLatin1Char('\n')), stdout);
    std::fflush(stdout);
}

void complain(const QString& line) {
    std::fputs(qPrintable(line + QLatin1Char('\n')), stderr);
    std::fflush(stderr);
}

QString shown(const QString& path) {
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}

QString items(qint64 count) {
    return count == 1 ? QStringLiteral("1 item") : QStringLiteral("%1 items").arg(count);
}

// Each command's progress goes to standard error when it is a terminal; its
// line is ended before the outcome is told.

int check() {
    Riri::InventoryCheck result;
    {
        TerminalProgress shown(QStringLiteral("Checking..."));
        result =
            Riri::InventoryCheck::inspect(Riri::InventoryCopy::databasePath(), shown.progress());
    }
    if (!result.ok) {
        complain(QStringLiteral("%1: %2").arg(shown(Riri::InventoryCopy::databasePath()),
                                              result.problem));
        return kFailed;
    }
    QString line = QStringLiteral("%1 is sound: %2, %3 owner record(s).")
                       .arg(shown(Riri::InventoryCopy::databasePath()), items(result.items))
                       .arg(result.owners);
    if (result.newerVersion) {
        line += QStringLiteral(" It was written by a newer version of %1; this version only "
                               "reads it.")
                    .arg(AppInfo::Title);
    }
    say(line);
    return 0;
}

int backUp(const QString& file) {
    Riri::InventoryCheck copy;
    {
        TerminalProgress shown(QStringLiteral("Backing up..."));
        copy = Riri::InventoryCopy::backUp(file, shown.progress());
    }
    say(QStringLiteral("Backed up %1 to %2.").arg(items(copy.items), shown(file)));
    return 0;
}

int restore(const QString& file) {
    Riri::InventoryCheck backup;
    {
        TerminalProgress shown(QStringLiteral("Restoring..."));
        backup = Riri::InventoryCopy::restore(file, shown.progress());
    }
    say(QStringLiteral("Restored %1 from %2.").arg(items(backup.items), shown(file)));
    return 0;
}

int exportCsv(const QString& file) {
    qint64 count = 0;
    {
        TerminalProgress shown(QStringLiteral("Exporting..."));
        count = Riri::ItemsCsv::exportItems(file, shown.progress());
    }
    say(QStringLiteral("Exported %1 to %2.").arg(items(count), shown(file)));
    return 0;
}

int importCsv(const QString& file) {
    Riri::ItemsCsv::ImportResult result;
    {
        TerminalProgress shown(QStringLiteral("Importing..."));
        result = Riri::ItemsCsv::importItems(file, shown.progress());
    }
    if (!result.ok()) {
        complain(QStringLiteral("Nothing was imported from %1:").arg(shown(file)));
        for (const QString& problem : result.problems) {
            complain(problem);
        }
        if (result.unlistedProblems > 0) {
            complain(
                QStringLiteral("... and %1 more rows with problems.").arg(result.unlistedProblems));
        }
        return kFailed;
    }
    QString line = QStringLiteral("Imported from %1: %2.").arg(shown(file), result.counts());
    if (!result.unknownColumns.isEmpty()) {
        line += QStringLiteral(" Ignored columns: %1.")
                    .arg(result.unknownColumns.join(QLatin1String(", ")));
    }
    say(line);
    return 0;
}

// An item's changes, newest first, one a line: when, what, where from and
// the fields.
int history(const QString& itemId) {
    const qint64 itemRef = Riri::ItemHistory::itemNumber(itemId);
    const std::vector<Riri::ItemHistory::Change> changes =
        itemRef < 0 ? std::vector<Riri::ItemHistory::Change>{}
                    : Riri::ItemHistory::changes(itemRef);
    if (changes.empty()) {
        complain(
            QStringLiteral("There is no item %1 in the inventory or its history.").arg(itemId));
        return kFailed;
    }
    for (const Riri::ItemHistory::Change& change : changes) {
        QString line = QStringLiteral("%1\t%2\t%3")
                           .arg(HistoryText::when(change.date), change.action, change.source);
        const QString fields = HistoryText::fields(change.fields);
        if (!fields.isEmpty()) {
            line += QLatin1Char('\t') + fields;
        }
        say(line);
    }
    return 0;
}

} // namespace

bool requested(int argc, char** argv) {
    // Qt's own arguments (-platform, -style ...) begin with one dash and
    // still open the windows.
    for (int i = 1; i < argc; ++i) {
        const QByteArray argument(argv[i]);
        if (argument.startsWith("--") || argument == "-h" || argument == "-v" || argument == "-?") {
            return true;
        }
    }
    return false;
}

int run(const QStringList& arguments, const std::function<void()>& prepare) {
    QCoreApplication::setApplicationName(QStringLiteral("Tallimer"));
    QCoreApplication::setApplicationVersion(AppInfo::FullVersion());

    QCommandLineParser parser;
    parser.setApplicationDescription(
        AppInfo::Title +
        QStringLiteral(" household inventory. Without options the program opens its windows."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption checkOption(
        QStringLiteral("check"), QStringLiteral("Check the inventory database for damage."));
    const QCommandLineOption backupOption(
        QStringLiteral("backup"), QStringLiteral("Make a verified copy of the inventory in FILE."),
        QStringLiteral("FILE"));
    const QCommandLineOption restoreOption(
        QStringLiteral("restore"),
        QStringLiteral("Replace the inventory with the backup FILE (an automatic copy of the "
                       "current inventory is made first)."),
        QStringLiteral("FILE"));
    const QCommandLineOption exportOption(QStringLiteral("export-csv"),
                                          QStringLiteral("Write every item to the CSV file FILE."),
                                          QStringLiteral("FILE"));
    const QCommandLineOption importOption(
        QStringLiteral("import-csv"),
        QStringLiteral("Add the items of the CSV file FILE (nothing is stored when a row is "
                       "wrong; an automatic copy is made first)."),
        QStringLiteral("FILE"));
    const QCommandLineOption historyOption(
        QStringLiteral("history"),
        QStringLiteral("Print the changes of the item ITEMID, newest first."),
        QStringLiteral("ITEMID"));
    parser.addOptions(
        {checkOption, backupOption, restoreOption, exportOption, importOption, historyOption});
    parser.process(arguments); // --help, --version and unknown options end here

    const QList<const QCommandLineOption*> commands{&checkOption,  &backupOption, &restoreOption,
                                                    &exportOption, &importOption, &historyOption};
    const QCommandLineOption* chosen = nullptr;
    int given = 0;
    for (const QCommandLineOption* option : commands) {
        if (parser.isSet(*option)) {
            chosen = option;
            ++given;
        }
    }
    if (given != 1 || !parser.positionalArguments().isEmpty()) {
        complain(QStringLiteral("Give exactly one of --check, --backup, --restore, --export-csv, "
                                "--import-csv and --history; --help lists them."));
        return kUsage;
    }
    const QString file = chosen == &checkOption ? QString() : parser.value(*chosen);

    // Replacing or adding to the inventory under a running program would
    // pull the data from under its windows: refused while it runs, and the
    // program cannot start while the command holds the lock.
    if ((chosen == &restoreOption || chosen == &importOption) &&
        SingleInstance::anotherIsRunning()) {
        complain(AppInfo::Title +
                 QStringLiteral(" is running on this computer; close it and try again."));
        return kRunning;
    }
    // Every change a command makes is recorded as the command line's.
    const Riri::ChangeSource::Scope source(Riri::ChangeSource::CommandLine);
    try {
        if (prepare) {
            prepare();
        }
        if (chosen == &historyOption) {
            return history(file);
        }
        if (chosen == &checkOption) {
            return check();
        }
        if (chosen == &backupOption) {
            return backUp(file);
        }
        if (chosen == &restoreOption) {
            return restore(file);
        }
        if (chosen == &exportOption) {
            return exportCsv(file);
        }
        return importCsv(file);
    } catch (const Riri::Error& error) {
        complain(error.description());
    } catch (const std::exception& error) {
        complain(QString::fromLocal8Bit(error.what()));
    }
    return kFailed;
}

} // namespace CommandLine
