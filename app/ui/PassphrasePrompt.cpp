#include "ui/PassphrasePrompt.h"

#include "AppInfo.h"
#include "platform/Pointer.h"

#include <QInputDialog>
#include <QLineEdit>
#include <utility>

namespace PassphrasePrompt {

namespace {

Handler& handler() {
    static Handler current;
    return current;
}

} // namespace

std::optional<QString> ask(QWidget* parent, const QString& prompt) {
    if (handler()) {
        return handler()(parent, prompt);
    }
    Pointer::setScreen(Pointer::Default);
    bool ok = false;
    const QString answer =
        QInputDialog::getText(parent, AppInfo::Title, prompt, QLineEdit::Password, QString(), &ok);
    if (!ok) {
        return std::nullopt;
    }
    return answer;
}

Handler setHandler(Handler replacement) {
    return std::exchange(handler(), std::move(replacement));
}

} // namespace PassphrasePrompt
