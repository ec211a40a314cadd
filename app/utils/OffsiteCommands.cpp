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

QString& sessionSecret() {
    static QString secret;
    return secret;
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
                                  const QString& prompt, bool* asked) {
    if (asked != nullptr) {
        *asked = false;
    }
    if (settings.rememberPassphrase) {
        const std::optional<QString> kept = Keyring::read(Riri::OffsiteCopies::keyringKey());
        if (kept && !kept->isEmpty()) {
            return kept;
        }
    }
    if (!sessionSecret().isEmpty()) {
        return sessionSecret();
    }
    if (asked != nullptr) {
        *asked = true;
    }
    const std::optional<QString> given = PassphrasePrompt::ask(parent, prompt);
    if (!given || !Riri::OffsiteCopies::list(settings.folder).isEmpty()) {
        // With copies in the folder, the copy checks it against the newest.
        return given;
    }
    // The first copy sets the passphrase: long enough, and typed twice.
    if (given->size() < frmOffsiteCopies::kMinimumLength) {
        tell(QStringLiteral("The passphrase needs at least %1 characters. ")
                 .arg(frmOffsiteCopies::kMinimumLength),
             Riri::vbExclamation);
        return std::nullopt;
    }
    const std::optional<QString> again =
        PassphrasePrompt::ask(parent, QStringLiteral("The same passphrase once more:"));
    if (!again) {
        return std::nullopt;
    }
    if (*again != *given) {
        tell(QStringLiteral("The two entries of the passphrase are not the same. "),
             Riri::vbExclamation);
        return std::nullopt;
    }
    return given;
}

void rememberForSession(const QString& secret) {
    sessionSecret() = secret;
}

bool writeCopyNow(QWidget* parent, std::optional<QString> secret, Tell told,
                  const QString& prompt) {
    const Riri::OffsiteSettings settings = Riri::OffsiteSettings::load();
    if (!settings.isConfigured()) {
        tell(QStringLiteral("Choose a folder for the off-site copies first: Utils, "
                            "\"Off-site Copies...\". "),
             Riri::vbExclamation);
        return false;
    }
    bool asked = false;
    if (!secret) {
        secret = passphrase(parent, settings, prompt, &asked);
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
            // A passphrase typed only once must be the one of the copies
            // already there, or they could not all be restored alike.
            if (asked && !Riri::OffsiteCopies::opensNewest(settings.folder, *secret)) {
                throw Riri::Error(
                    Riri::OffsiteCopies::kRefused,
                    QStringLiteral("The passphrase given does not open the newest copy in %1; "
                                   "give the one the copies were written with, or set a new "
                                   "one in Utils, \"Off-site Copies...\".")
                        .arg(QDir::toNativeSeparators(settings.folder)));
            }
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
    // A passphrase asked for here is checked as one asked for by the
    // command itself.
    return writeCopyNow(
        nullptr, std::nullopt, Tell::FailuresOnly,
        QStringLiteral("An off-site copy of the inventory is due. Its passphrase:"));
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
