#include "ui/MsgBoxPresenter.h"

#include <Riri/MsgBox.h>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <memory>
#include <vector>

namespace MsgBoxPresenter {

namespace {

struct ButtonKind {
    QMessageBox::StandardButton standard;
    int answer;
};

std::vector<ButtonKind> buttonsOf(int flags) {
    using SB = QMessageBox::StandardButton;
    switch (flags & Riri::kButtonMask) {
    case Riri::vbOKCancel:
        return {{SB::Ok, Riri::vbOK}, {SB::Cancel, Riri::vbCancel}};
    case Riri::vbAbortRetryIgnore:
        return {
            {SB::Abort, Riri::vbAbort}, {SB::Retry, Riri::vbRetry}, {SB::Ignore, Riri::vbIgnore}};
    case Riri::vbYesNoCancel:
        return {{SB::Yes, Riri::vbYes}, {SB::No, Riri::vbNo}, {SB::Cancel, Riri::vbCancel}};
    case Riri::vbYesNo:
        return {{SB::Yes, Riri::vbYes}, {SB::No, Riri::vbNo}};
    case Riri::vbRetryCancel:
        return {{SB::Retry, Riri::vbRetry}, {SB::Cancel, Riri::vbCancel}};
    default:
        return {{SB::Ok, Riri::vbOK}};
    }
}

QMessageBox::Icon iconOf(int flags) {
    switch (flags & Riri::kIconMask) {
    case Riri::vbCritical:
        return QMessageBox::Critical;
    case Riri::vbQuestion:
        return QMessageBox::Question;
    case Riri::vbExclamation:
        return QMessageBox::Warning;
    case Riri::vbInformation:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

// The box to show, with its icon, buttons, default and escape buttons.
QMessageBox* make(const QString& prompt, int flags, const QString& title, QWidget* parent) {
    auto* box = new QMessageBox(iconOf(flags), title, prompt, QMessageBox::NoButton, parent);
    const std::vector<ButtonKind> kinds = buttonsOf(flags);
    QMessageBox::StandardButtons buttons;
    for (const ButtonKind& kind : kinds) {
        buttons |= kind.standard;
    }
    box->setStandardButtons(buttons);
    const std::size_t index =
        static_cast<std::size_t>((flags & Riri::kDefaultMask) / Riri::vbDefaultButton2);
    box->setDefaultButton(kinds.at(index < kinds.size() ? index : 0).standard);
    // Esc answers Cancel where there is one, OK when it is the only button;
    // a Yes/No question has no escape and needs an answer.
    QMessageBox::StandardButton escape = QMessageBox::NoButton;
    for (const ButtonKind& kind : kinds) {
        if (kind.answer == Riri::vbCancel) {
            escape = kind.standard;
        }
    }
    if (kinds.size() == 1) {
        escape = kinds.front().standard;
    }
    if (escape != QMessageBox::NoButton) {
        box->setEscapeButton(escape);
    } else {
        box->setEscapeButton(static_cast<QAbstractButton*>(nullptr));
    }
    return box;
}

} // namespace

int present(const QString& prompt, int flags, const QString& title) {
    std::unique_ptr<QMessageBox> box(make(prompt, flags, title, QApplication::activeWindow()));
    // The pointer the user is shown while answering is the arrow.
    QApplication::setOverrideCursor(Qt::ArrowCursor);
    const int pressed = box->exec();
    QApplication::restoreOverrideCursor();
    for (const ButtonKind& kind : buttonsOf(flags)) {
        if (kind.standard == pressed) {
            return kind.answer;
        }
    }
    return Riri::defaultAnswer(flags);
}

void install() {
    Riri::setMsgBoxHandler(&present);
}

} // namespace MsgBoxPresenter
