#include "shared/VerifiedRestore.h"

#include "AppInfo.h"
#include "platform/DialogFolder.h"
#include "platform/Pointer.h"
#include "shared/InventoryNotice.h"
#include "ui/LongTask.h"

#include <Riri/BackupArchive.h>
#include <Riri/Error.h>
#include <Riri/ErrorNumbers.h>
#include <Riri/Formats.h>
#include <Riri/InventoryCheck.h>
#include <Riri/InventoryCopy.h>
#include <Riri/MsgBox.h>

#include <QDir>
#include <QFile>
#include <QLocale>
#include <tuple>
#include <utility>

namespace VerifiedRestore {

namespace {

QString items(qint64 count) {
    return count == 1 ? QStringLiteral("1 item") : QStringLiteral("%1 items").arg(count);
}

QString evidenceFiles(qint64 count) {
    return count == 1 ? QStringLiteral("1 evidence file")
                      : QStringLiteral("%1 evidence files").arg(count);
}

// The check of a backup: a backup archive is read through and checked in
// full, a bare database copy inspected.
Riri::InventoryCheck checkBackup(const QString& path, const Riri::Progress& progress) {
    if (!Riri::BackupArchive::isArchive(path)) {
        return Riri::InventoryCheck::inspect(path, progress);
    }
    QFile archive(path);
    if (!archive.open(QIODevice::ReadOnly)) {
        throw Riri::Error(Riri::ErrorNumber::FileNotFound,
                          QStringLiteral("Cannot read %1: %2")
                              .arg(QDir::toNativeSeparators(path), archive.errorString()));
    }
    return Riri::BackupArchive::verify(archive, progress);
}

void inform(const QString& text) {
    Riri::MsgBox(text, Riri::vbInformation | Riri::vbOKOnly, AppInfo::Title);
}

void fail(const QString& text) {
    Pointer::setScreen(Pointer::Default);
    Riri::MsgBox(text, Riri::vbCritical | Riri::vbOKOnly, AppInfo::Title);
}

// A stored date and time in the user's short date and time form.
QString shownDate(const QString& stored) {
    if (stored.isEmpty()) {
        return QStringLiteral("none recorded");
    }
    const QDateTime when = Riri::parseSqlDateTime(stored);
    if (!when.isValid()) {
        return stored;
    }
    const QLocale locale;
    return when.toString(Riri::shortDateFormat(locale) + QLatin1Char(' ') +
                         Riri::timeFormat(locale));
}

// The restore's steps in the progress window, counted in bytes; each can be
// cancelled until the inventory is replaced.
TaskOptions restoreTask(const QString& label) {
    TaskOptions options;
    options.title = QStringLiteral("Restore Inventory");
    options.label = label;
    options.unit = TaskOptions::Unit::Bytes;
    options.cancellable = true;
    return options;
}

bool cancelled(const Riri::Error& error) {
    return error.number() == Riri::ErrorNumber::Cancelled;
}

} // namespace

QString chooseBackup(QWidget* parent) {
    return DialogFolder(QStringLiteral("backup"))
        .askOpen(parent, QStringLiteral("Restore Inventory"),
                 QStringLiteral("Backups (*.zip *.inv);;Backup archives (*.zip);;"
                                "Inventory backups (*.inv);;All files (*)"));
}

bool restoreFrom(const QString& path, Confirm confirm) {
    const QString cancelText = QStringLiteral("The restore was cancelled; nothing was changed. ");
    Riri::InventoryCheck backup;
    Riri::InventoryCheck current;
    try {
        // Both files are checked through before the question tells what they
        // hold; the current one only when the question is asked.
        std::tie(backup, current) = LongTask::run(
            restoreTask(QStringLiteral("Checking the backup...")),
            [&path, confirm](const TaskProgress& progress) {
                const Riri::InventoryCheck chosen = checkBackup(path, progress);
                if (confirm != Confirm::Ask || !chosen.ok) {
                    return std::pair(chosen, Riri::InventoryCheck());
                }
                progress.setLabel(QStringLiteral("Checking the current inventory..."));
                return std::pair(chosen, Riri::InventoryCheck::inspect(
                                             Riri::InventoryCopy::databasePath(), progress));
            });
    } catch (const Riri::Error& error) {
        if (cancelled(error)) {
            inform(cancelText);
        } else {
            fail(QStringLiteral("The inventory was NOT restored.\r\n\r\n%1 ")
                     .arg(error.description()));
        }
        return false;
    }
    if (!backup.ok) {
        fail(QStringLiteral("%1 cannot be restored: it is not an inventory backup.\r\n\r\n%2 ")
                 .arg(QDir::toNativeSeparators(path), backup.problem));
        return false;
    }
    if (confirm == Confirm::Ask) {
        const QString now = current.ok ? QStringLiteral("holds %1").arg(items(current.items))
                                       : QStringLiteral("cannot be read");
        const QString question =
            QStringLiteral("Replace the current inventory with the backup?\r\n\r\n"
                           "The current inventory %1.\r\n"
                           "The backup holds %2; its newest change: %3.\r\n\r\n"
                           "A copy of the current inventory is kept in home/backups. ")
                .arg(now, items(backup.items), shownDate(backup.newestChange));
        if (Riri::MsgBox(question, Riri::vbQuestion | Riri::vbYesNo | Riri::vbDefaultButton2,
                         AppInfo::Title) != Riri::vbYes) {
            return false;
        }
    }
    try {
        const Riri::InventoryCheck restored =
            LongTask::run(restoreTask(QStringLiteral("Restoring the inventory...")),
                          [&path](const TaskProgress& progress) {
                              return Riri::BackupArchive::restoreFile(path, progress);
                          });
        InventoryNotice::send(InventoryChange::Everything);
        const QString held =
            Riri::BackupArchive::isArchive(path)
                ? QStringLiteral("%1 and %2")
                      .arg(items(restored.items), evidenceFiles(restored.evidenceFiles))
                : items(restored.items);
        inform(QStringLiteral("The inventory was restored from\r\n\r\n%1\r\n\r\nIt holds %2. ")
                   .arg(QDir::toNativeSeparators(path), held));
        return true;
    } catch (const Riri::Error& error) {
        if (cancelled(error)) {
            inform(cancelText);
            return false;
        }
        fail(QStringLiteral("The inventory was NOT restored.\r\n\r\n%1 ").arg(error.description()));
        return false;
    }
}

} // namespace VerifiedRestore
