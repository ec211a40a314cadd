#pragma once

#include <QString>
#include <functional>
#include <optional>

class QWidget;

// Asks the user for a passphrase, with what it is for; the answer is not
// shown as it is typed. Tests install a handler that answers instead of the
// dialog. Nothing when the user cancels.
namespace PassphrasePrompt {

using Handler = std::function<std::optional<QString>(QWidget* parent, const QString& prompt)>;

std::optional<QString> ask(QWidget* parent, const QString& prompt);
// Installs a handler and returns the previous one; an empty handler goes
// back to the dialog.
Handler setHandler(Handler handler);

} // namespace PassphrasePrompt
