#include "cli/CommandLine.h"

#include "AppInfo.h"
#include "cli/OffsiteCommandLine.h"
#include "cli/TerminalLines.h"
#include "cli/TerminalProgress.h"
#include "platform/SingleInstance.h"
#include "shared/HistoryText.h"

#include <Riri/BackupArchive.h>
#include <Riri/ChangeSource.h>
#include <Riri/Error.h>
#include <Riri/EvidenceStore.h>
#include <Riri/InventoryCheck.h>
#include <Riri/InventoryCopy.h>
#include <Riri/ItemHistory.h>
#include <Riri/ItemsCsv.h>
#include <Riri/OffsiteCopies.h>

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

using TerminalLines::complain;
using TerminalLines::say;

QString shown(const QString& path) {
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}

QString items(qint64 count) {
    return count == 1 ? QStringLiteral("1 item") : QStringLiteral("%1 items").arg(count);
}

QString evidenceFiles(qint64 count) {
    return count == 1 ? QStringLiteral("1 evidence file")
                      : QStringLiteral("%1 evidence files").arg(count);
}

// Each command's progress goes to standard error when it is a terminal; its
// line is ended before the outcome is told.

// Each missing or altered evidence file with its item, on standard error.
int evidenceProblems(const QList<Riri::EvidenceProblem>& problems) {
    complain(QStringLiteral("%1: %2 of the evidence files it names %3 missing or altered:")
                 .arg(shown(Riri::InventoryCopy::databasePath()))
                 .arg(problems.size())
                 .arg(problems.size() == 1 ? QStringLiteral("is") : QStringLiteral("are")));
    for (const Riri::EvidenceProblem& problem : problems) {
        const QString item =
            problem.itemId.isEmpty()
                ? QStringLiteral("No item")
                : QStringLiteral("Item ID %1 (%2)").arg(problem.itemId, problem.itemName);
        complain(QStringLiteral("%1: %2 %3 (SHA-256 %4)")
                     .arg(item, problem.fileName,
                          problem.missing ? QStringLiteral("is missing from the evidence store")
                                          : QStringLiteral("was altered"),
                          problem.sha256));
    }
    return kFailed;
}

// The database, and unless quick every evidence file it names, read in full.
int check(bool quick) {
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
    if (!quick) {
        QList<Riri::EvidenceProblem> problems;
        {
            TerminalProgress shown(QStringLiteral("Checking the evidence files..."));
            problems = Riri::EvidenceStore().check(shown.progress());
        }
        if (!problems.isEmpty()) {
            return evidenceProblems(problems);
        }
    }
    say(line);
    return 0;
}

int backUp(const QString& file) {
    Riri::InventoryCheck copy;
    {
        TerminalProgress shown(QStringLiteral("Backing up..."));
        copy = Riri::BackupArchive::backUp(file, shown.progress());
    }
    say(QStringLiteral("Backed up %1 and %2 to %3.")
            .arg(items(copy.items), evidenceFiles(copy.evidenceFiles), shown(file)));
    return 0;
}

int restore(const QString& file) {
    if (Riri::OffsiteCopies::isEncrypted(file)) {
        return OffsiteCommandLine::restore(file);
    }
    Riri::InventoryCheck backup;
    {
        TerminalProgress shown(QStringLiteral("Restoring..."));
        backup = Riri::BackupArchive::restoreFile(file, shown.progress());
    }
    const QString held = Riri::BackupArchive::isArchive(file)
                             ? QStringLiteral("%1 and %2")
                                   .arg(items(backup.items), evidenceFiles(backup.evidenceFiles))
                             : items(backup.items);
    say(QStringLiteral("Restored %1 from %2.").arg(held, shown(file)));
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
        QStringLiteral("backup"),
        QStringLiteral("Write a verified backup archive of the inventory and its evidence to FILE "
                       "(a ZIP file)."),
        QStringLiteral("FILE"));
    const QCommandLineOption restoreOption(
        QStringLiteral("restore"),
        QStringLiteral("Replace the inventory with the backup FILE, a backup archive or a "
                       "database copy (an automatic copy of the current inventory is made first)."),
        QStringLiteral("FILE"));
    const QCommandLineOption exportOption(QStringLiteral("export-csv"),
                                          QStringLiteral("Write every item to the CSV file FILE."),
                                          QStringLiteral("FILE"));
    const QCommandLineOption importOption(
        QStringLiteral("import-csv"),
        QStringLiteral("Add the items of the CSV file FILE (nothing is stored when a row is "
                       "wrong; an automatic copy is made first)."),
        QStringLiteral("FILE"));
    const QCommandLineOption quickOption(
        QStringLiteral("quick"),
        QStringLiteral("With --check: check the database only, not the evidence files."));

    const QCommandLineOption offsiteOption(
        QStringLiteral("offsite"),
        QStringLiteral("Write an encrypted off-site copy now with the saved settings (the "
                       "passphrase from the keyring, else from standard input)."));
    const QCommandLineOption historyOption(
        QStringLiteral("history"),
        QStringLiteral("Print the changes of the item ITEMID, newest first."),
        QStringLiteral("ITEMID"));
    parser.addOptions({checkOption, quickOption, backupOption, restoreOption, exportOption,
                       importOption, offsiteOption, historyOption});
    parser.process(arguments); // --help, --version and unknown options end here

    const QList<const QCommandLineOption*> commands{&checkOption,  &backupOption, &restoreOption,
                                                    &exportOption, &importOption, &offsiteOption,
                                                    &historyOption};
    const QCommandLineOption* chosen = nullptr;
    int given = 0;
    for (const QCommandLineOption* option : commands) {
        if (parser.isSet(*option)) {
            chosen = option;
            ++given;
        }
    }
    if (given != 1 || !parser.positionalArguments().isEmpty() ||
        (parser.isSet(quickOption) && chosen != &checkOption)) {
        complain(QStringLiteral("Give exactly one of --check, --backup, --restore, --export-csv, "
                                "--import-csv, --offsite and --history; --help lists them."));
        return kUsage;
    }
    const QString file =
        chosen == &checkOption || chosen == &offsiteOption ? QString() : parser.value(*chosen);

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
            return check(parser.isSet(quickOption));
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
        if (chosen == &offsiteOption) {
            return OffsiteCommandLine::writeCopy();
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
