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
// it there and it is found, else the one typed in the window during this
// run of the program, else asked for with the prompt (twice, and at least
// 12 characters, while the folder holds no copy whose passphrase it must
// match). Nothing when the user cancels or the entries differ; asked, when
// given, tells whether the user was asked.
std::optional<QString> passphrase(QWidget* parent, const Riri::OffsiteSettings& settings,
                                  const QString& prompt, bool* asked = nullptr);
// Keeps the passphrase the user typed twice in the window for the rest of
// this run of the program.
void rememberForSession(const QString& secret);

// Whether the outcome of a copy is told: both, or only a failure (the copy
// at the end of the program).
enum class Tell { Always, FailuresOnly };

// Writes a copy now with the saved settings and records the outcome;
// without a passphrase given, it is found as passphrase() finds it. True
// when a copy was written.
bool writeCopyNow(QWidget* parent, std::optional<QString> secret = std::nullopt,
                  Tell tell = Tell::Always,
                  const QString& prompt = QStringLiteral("The passphrase of the off-site copies:"));

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
