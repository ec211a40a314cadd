#include "utils/InventoryCommands.h"

#include "AppInfo.h"
#include "platform/DialogFolder.h"
#include "platform/Pointer.h"
#include "shared/InventoryNotice.h"
#include "shared/VerifiedRestore.h"
#include "ui/LongTask.h"
#include "utils/frmAutoCopies.h"
#include "utils/frmImportProblems.h"

#include <Riri/BackupArchive.h>
#include <Riri/Error.h>
#include <Riri/ErrorNumbers.h>
#include <Riri/Formats.h>
#include <Riri/InventoryCheck.h>
#include <Riri/InventoryCopy.h>
#include <Riri/ItemsCsv.h>
#include <Riri/MsgBox.h>

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <tuple>
#include <utility>

namespace InventoryCommands {

namespace {

const QString kBackupFilter = QStringLiteral("Backup archives (*.zip);;All files (*)");
const QString kCsvFilter = QStringLiteral("CSV files (*.csv);;All files (*)");

// The kinds of file whose dialogs remember their folder.
const QString kBackupKind = QStringLiteral("backup");
const QString kCsvKind = QStringLiteral("csv");

// Asks through the seam and remembers the folder of the file chosen.
QString items(qint64 count) {
    return count == 1 ? QStringLiteral("1 item") : QStringLiteral("%1 items").arg(count);
}

QString evidenceFiles(qint64 count) {
    return count == 1 ? QStringLiteral("1 evidence file")
                      : QStringLiteral("%1 evidence files").arg(count);
}

void inform(const QString& text) {
    Pointer::setScreen(Pointer::Default);
    Riri::MsgBox(text, Riri::vbInformation | Riri::vbOKOnly, AppInfo::Title);
}

void fail(const QString& text) {
    Pointer::setScreen(Pointer::Default);
    Riri::MsgBox(text, Riri::vbCritical | Riri::vbOKOnly, AppInfo::Title);
}

// A whole-file task on the inventory, counted in bytes; each can be cancelled
// until it changes anything.
TaskOptions fileTask(QWidget* parent, const QString& title, const QString& label) {
    TaskOptions options;
    options.parent = parent;
    options.title = title;
    options.label = label;
    options.unit = TaskOptions::Unit::Bytes;
    options.cancellable = true;
    return options;
}

// A task over the items, counted in rows; cancelled, it leaves nothing
// written.
TaskOptions rowTask(QWidget* parent, const QString& title, const QString& label) {
    TaskOptions options = fileTask(parent, title, label);
    options.unit = TaskOptions::Unit::Items;
    return options;
}

bool cancelled(const Riri::Error& error) {
    return error.number() == Riri::ErrorNumber::Cancelled;
}

} // namespace

QString suggestedBackupPath() {
    return DialogFolder(kBackupKind)
        .suggest(QStringLiteral("Quorvane-backup-") + QDate::currentDate().toString(Qt::ISODate) +
                 QStringLiteral(".zip"));
}

QString suggestedExportPath() {
    return DialogFolder(kCsvKind).suggest(QStringLiteral("Quorvane-items-") +
                                          QDate::currentDate().toString(Qt::ISODate) +
                                          QStringLiteral(".csv"));
}

void backUpInventory(QWidget* parent) {
    const QString path = DialogFolder(kBackupKind)
                             .askSave(parent, QStringLiteral("Back Up Inventory"),
                                      suggestedBackupPath(), kBackupFilter);
    if (path.isEmpty()) {
        return;
    }
    try {
        const Riri::InventoryCheck copy =
            LongTask::run(fileTask(parent, QStringLiteral("Back Up Inventory"),
                                   QStringLiteral("Backing up the inventory...")),
                          [&path](const TaskProgress& progress) {
                              return Riri::BackupArchive::backUp(path, progress);
                          });
        inform(QStringLiteral(
                   "The inventory was backed up to\r\n\r\n%1\r\n\r\nThe backup holds %2 and %3. ")
                   .arg(QDir::toNativeSeparators(path), items(copy.items),
                        evidenceFiles(copy.evidenceFiles)));
    } catch (const Riri::Error& error) {
        if (cancelled(error)) {
            inform(QStringLiteral("The backup was cancelled; nothing was changed. "));
            return;
        }
        fail(
            QStringLiteral("The inventory was NOT backed up.\r\n\r\n%1 ").arg(error.description()));
    }
}

void restoreInventory(QWidget* parent) {
    const QString path = VerifiedRestore::chooseBackup(parent);
    if (!path.isEmpty()) {
        VerifiedRestore::restoreFrom(path, VerifiedRestore::Confirm::Ask);
    }
}

void restoreAutomaticCopy(QWidget* parent) {
    frmAutoCopies::openDialog(parent);
}

void exportItems(QWidget* parent) {
    const QString path = DialogFolder(kCsvKind).askSave(
        parent, QStringLiteral("Export Items to CSV"), suggestedExportPath(), kCsvFilter);
    if (path.isEmpty()) {
        return;
    }
    try {
        const qint64 count = LongTask::run(rowTask(parent, QStringLiteral("Export Items to CSV"),
                                                   QStringLiteral("Writing the items...")),
                                           [&path](const TaskProgress& progress) {
                                               return Riri::ItemsCsv::exportItems(path, progress);
                                           });
        inform(QStringLiteral("%1 exported to\r\n\r\n%2 ")
                   .arg(count == 1 ? QStringLiteral("1 item was")
                                   : QStringLiteral("%1 items were").arg(count),
                        QDir::toNativeSeparators(path)));
    } catch (const Riri::Error& error) {
        if (cancelled(error)) {
            inform(QStringLiteral("The export was cancelled; nothing was written. "));
            return;
        }
        fail(QStringLiteral("The items were NOT exported.\r\n\r\n%1 ").arg(error.description()));
    }
}

void importItems(QWidget* parent) {
    const QString path =
        DialogFolder(kCsvKind).askOpen(parent, QStringLiteral("Import Items from CSV"), kCsvFilter);
    if (path.isEmpty()) {
        return;
    }
    const QString title = QStringLiteral("Import Items from CSV");
    try {
        // Reading and checking changes nothing, so it can always be cancelled.
        const Riri::ItemsCsv::ImportResult plan =
            LongTask::run(rowTask(parent, title, QStringLiteral("Checking the rows...")),
                          [&path](const TaskProgress& progress) {
                              return Riri::ItemsCsv::planImport(path, progress);
                          });
        if (!plan.ok()) {
            QStringList lines = plan.problems;
            if (plan.unlistedProblems > 0) {
                lines.append(QStringLiteral("... and %1 more rows with problems")
                                 .arg(plan.unlistedProblems));
            }
            if (!plan.unknownColumns.isEmpty()) {
                lines.append(QStringLiteral("Columns ignored: %1")
                                 .arg(plan.unknownColumns.join(QLatin1String(", "))));
            }
            frmImportProblems::openDialog(
                QStringLiteral("Nothing was imported from %1. Correct these rows and import "
                               "the file again:")
                    .arg(QDir::toNativeSeparators(path)),
                lines, parent);
            return;
        }
        if (Riri::MsgBox(importQuestion(plan),
                         Riri::vbQuestion | Riri::vbYesNo | Riri::vbDefaultButton2,
                         AppInfo::Title) != Riri::vbYes) {
            return;
        }
        const Riri::ItemsCsv::ImportResult result =
            LongTask::run(rowTask(parent, title, QStringLiteral("Storing the items...")),
                          [&plan](const TaskProgress& progress) {
                              return Riri::ItemsCsv::storeImport(plan, progress);
                          });
        if (result.stored > 0) {
            InventoryNotice::send(InventoryChange::Everything);
        }
        QString text =
            QStringLiteral("%1 imported from\r\n\r\n%2 ")
                .arg(result.stored == 1 ? QStringLiteral("1 item was")
                                        : QStringLiteral("%1 items were").arg(result.stored),
                     QDir::toNativeSeparators(path));
        if (!result.unknownColumns.isEmpty()) {
            text += QStringLiteral("\r\n\r\nThese columns were ignored: %1 ")
                        .arg(result.unknownColumns.join(QLatin1String(", ")));
        }
        inform(text);
    } catch (const Riri::Error& error) {
        if (cancelled(error)) {
            inform(QStringLiteral("The import was cancelled; nothing was changed. "));
            return;
        }
        fail(QStringLiteral("The items were NOT imported.\r\n\r\n%1 ").arg(error.description()));
    }
}

QString importQuestion(const Riri::ItemsCsv::ImportResult& plan) {
    return plan.counts() + QStringLiteral(". Import them?");
}

} // namespace InventoryCommands
