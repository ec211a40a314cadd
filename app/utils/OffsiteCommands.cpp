#include "utils/OffsiteCommands.h"

#include "AppInfo.h"
#include "platform/Keyring.h"
#include "platform/Pointer.h"
#include "ui/LongTask.h"
#include "ui/PassphrasePrompt.h"
#include "utils/frmOffsiteCopies.h"

#include <Riri/Error.h>
#include <Riri/ErrorNumbers.h>
#include <Riri/InventoryCheck.h>
#include <Riri/MsgBox.h>
#include <Riri/OffsiteCopies.h>
#include <Riri/OffsiteSchedule.h>

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

namespace OffsiteCommands {

namespace {

Riri::KeyLimits& limits() {
    static Riri::KeyLimits current = Riri::KeyLimits::moderate();
    return current;
}

QString items(qint64 count) {
    return count == 1 ? QStringLiteral("1 item") : QStringLiteral("%1 items").arg(count);
}

void tell(const QString& text, int icon) {
    Pointer::setScreen(Pointer::Default);
    Riri::MsgBox(text, icon | Riri::vbOKOnly, AppInfo::Title);
}

} // namespace

void openSettings(QWidget* parent) {
    frmOffsiteCopies::openDialog(parent);
}

std::optional<QString> passphrase(QWidget* parent, const Riri::OffsiteSettings& settings,
                                  const QString& prompt) {
    if (settings.rememberPassphrase) {
        const std::optional<QString> kept = Keyring::read(Riri::OffsiteCopies::keyringKey());
        if (kept && !kept->isEmpty()) {
            return kept;
        }
    }
    return PassphrasePrompt::ask(parent, prompt);
}

bool writeCopyNow(QWidget* parent, std::optional<QString> secret, Tell told) {
    const Riri::OffsiteSettings settings = Riri::OffsiteSettings::load();
    if (!settings.isConfigured()) {
        tell(QStringLiteral("Choose a folder for the off-site copies first: Utils, "
                            "\"Off-site Copies...\". "),
             Riri::vbExclamation);
        return false;
    }
    if (!secret) {
        secret =
            passphrase(parent, settings, QStringLiteral("The passphrase of the off-site copies:"));
        if (!secret) {
            return false;
        }
    }
    const QDateTime started = QDateTime::currentDateTime();
    TaskOptions options;
    options.parent = parent;
    options.title = QStringLiteral("Off-site Copy");
    options.label = QStringLiteral("Writing the off-site copy...");
    options.unit = TaskOptions::Unit::Bytes;
    options.cancellable = true;
    try {
        Riri::InventoryCheck check;
        const QString path = LongTask::run(options, [&](const TaskProgress& progress) {
            return Riri::OffsiteCopies::write(settings.folder, *secret, settings.keep, progress,
                                              &check, started, limits());
        });
        Riri::OffsiteSettings::recordCopy(started);
        if (told == Tell::Always) {
            tell(QStringLiteral("The off-site copy was written to\r\n\r\n%1\r\n\r\nIt holds %2. ")
                     .arg(QDir::toNativeSeparators(path), items(check.items)),
                 Riri::vbInformation);
        }
        return true;
    } catch (const Riri::Error& error) {
        if (error.number() == Riri::ErrorNumber::Cancelled) {
            tell(QStringLiteral("The off-site copy was cancelled; nothing was written. "),
                 Riri::vbInformation);
            return false;
        }
        Riri::OffsiteSettings::recordFailure(started, error.description());
        tell(QStringLiteral("The off-site copy was NOT written.\r\n\r\n%1 ")
                 .arg(error.description()),
             Riri::vbCritical);
        return false;
    }
}

bool writeDueCopyAtEnd() {
    const Riri::OffsiteSettings settings = Riri::OffsiteSettings::load();
    if (!Riri::OffsiteSchedule::dueAtEnd(settings, Riri::OffsiteSchedule::inventoryChanged(),
                                         QDateTime::currentDateTime()) ||
        !QFileInfo(settings.folder).isDir()) {
        return false;
    }
    const std::optional<QString> secret =
        passphrase(nullptr, settings,
                   QStringLiteral("An off-site copy of the inventory is due. Its passphrase:"));
    return secret && writeCopyNow(nullptr, secret, Tell::FailuresOnly);
}

QString startNotice() {
    const Riri::OffsiteSettings settings = Riri::OffsiteSettings::load();
    return Riri::OffsiteSchedule::notice(settings, Riri::OffsiteSchedule::inventoryChanged(),
                                         QDateTime::currentDateTime(),
                                         QFileInfo(settings.folder).isDir());
}

Riri::KeyLimits keyLimits() {
    return limits();
}

void setKeyLimits(const Riri::KeyLimits& replacement) {
    limits() = replacement;
}

} // namespace OffsiteCommands
