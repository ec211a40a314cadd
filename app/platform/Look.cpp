#include "Look.h"

#include "Fonts.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

namespace Look {

void StyleButton(QPushButton* button) {
    button->setFont(Fonts::Make(Fonts::Verdana, 9.75, true));
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

bool FocusCaptions::eventFilter(QObject* watched, QEvent* event) {
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
