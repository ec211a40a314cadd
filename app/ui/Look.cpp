#include "ui/Look.h"

#include "platform/Fonts.h"

#include <QApplication>
#include <QEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

namespace Look {

void styleButton(QPushButton* button) {
    button->setFont(Fonts::make(Fonts::Verdana, 9.75, true));
    QPalette palette = button->palette();
    palette.setColor(QPalette::Button, ButtonFace);
    button->setPalette(palette);
    button->setAutoFillBackground(true);
}

} // namespace Look

void FocusCaptions::link(QWidget* field, QLabel* caption) {
    m_captions.insert(field, caption);
    field->installEventFilter(this);
}

namespace {

bool ownsOpenPopup(const QObject* field) {
    for (const QObject* o = QApplication::activePopupWidget(); o != nullptr; o = o->parent()) {
        if (o == field) {
            return true;
        }
    }
    return false;
}

} // namespace

bool FocusCaptions::eventFilter(QObject* watched, QEvent* event) {
    // While a field's own popup is open (the room list, the calendar) the
    // field is still the one being filled: its caption stays highlighted.
    if (event->type() == QEvent::FocusOut &&
        (static_cast<QFocusEvent*>(event)->reason() == Qt::PopupFocusReason ||
         ownsOpenPopup(watched))) {
        return QObject::eventFilter(watched, event);
    }
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
        if (QLabel* caption = m_captions.value(watched)) {
            const bool focused = event->type() == QEvent::FocusIn;
            QFont font = caption->font();
            font.setBold(focused);
            caption->setFont(font);
            QPalette palette = caption->palette();
            palette.setColor(QPalette::WindowText,
                             focused ? Look::FocusColour : Look::CaptionColour);
            caption->setPalette(palette);
        }
    }
    return QObject::eventFilter(watched, event);
}

void EnterMoves::link(QWidget* from, QWidget* to) {
    m_targets.insert(from, to);
    from->installEventFilter(this);
}

bool EnterMoves::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            if (QWidget* target = m_targets.value(watched)) {
                target->setFocus(Qt::TabFocusReason);
                return true;
            }
        }
    }
    return QObject::eventFilter(watched, event);
}
