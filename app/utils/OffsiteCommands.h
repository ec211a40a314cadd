#pragma once

#include <Riri/OffsiteKey.h>
#include <Riri/OffsiteSettings.h>

#include <QString>
#include <optional>

class QWidget;

// The off-site copies as the windows use them: the passphrase from the
// desktop's keyring or asked for, a copy written as a long task with its
// outcome recorded for the schedule, the copy due at the end of the
// program, and the main window's notice.
namespace OffsiteCommands {

// Utils, "Off-site Copies...".
void openSettings(QWidget* parent);

// The passphrase of the copies: the keyring's when the user chose to keep
// it there and it is found, else asked for with the prompt. Nothing when
// the user cancels.
std::optional<QString> passphrase(QWidget* parent, const Riri::OffsiteSettings& settings,
                                  const QString& prompt);

// Whether the outcome of a copy is told: both, or only a failure (the copy
// at the end of the program).
enum class Tell { Always, FailuresOnly };

// Writes a copy now with the saved settings and records the outcome;
// without a passphrase given, it is found as passphrase() finds it. True
// when a copy was written.
bool writeCopyNow(QWidget* parent, std::optional<QString> secret = std::nullopt,
                  Tell tell = Tell::Always);

// At the end of the program: the copy the schedule asks for, when its
// folder is there. One due while the folder is absent stays due. True when
// a copy was written.
bool writeDueCopyAtEnd();

// What the main window tells at start-up about the copies; empty when all
// is well.
QString startNotice();

// The key derivation's limits for the copies written; tests lower them.
Riri::KeyLimits keyLimits();
void setKeyLimits(const Riri::KeyLimits& limits);

} // namespace OffsiteCommands
