#include "ui/WindowParts.h"

#include "AppInfo.h"
#include "platform/Fonts.h"
#include "platform/Twips.h"
#include "ui/Look.h"

#include <Riri/MsgBox.h>

#include <QColor>
#include <QEvent>
#include <QLabel>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QWidget>

namespace WindowParts {

bool askAnother(const QString& prompt, const QString& caption) {
    return Riri::MsgBox(prompt, Riri::vbQuestion | Riri::vbYesNo | Riri::vbDefaultButton2,
                        caption) == Riri::vbYes;
}

QLabel* heading(const QString& text, const QString& name, qreal points, const QColor& colour,
                QWidget* parent, const TwipsRect& rect) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setFont(Fonts::make(Fonts::Verdana, points, true));
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    if (colour.isValid()) {
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, colour);
        label->setPalette(palette);
    }
    Twips::place(label, rect);
    return label;
}

namespace {

// Takes the maximize button off the frame a window is put into, and fixes
// the frame's size once it is shown around the window.
class FrameFixer : public QObject {
public:
    explicit FrameFixer(QWidget* window) : QObject(window) { window->installEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::ParentChange || event->type() == QEvent::Show) {
            auto* window = static_cast<QWidget*>(watched);
            if (auto* frame = qobject_cast<QMdiSubWindow*>(window->parentWidget())) {
                const Qt::WindowFlags flags = frame->windowFlags();
                if (flags.testFlag(Qt::WindowMaximizeButtonHint)) {
                    const bool visible = frame->isVisible();
                    frame->setWindowFlags(flags & ~Qt::WindowMaximizeButtonHint);
                    if (visible) {
                        frame->show();
                    }
                }
                if (event->type() == QEvent::Show && !frame->isMinimized()) {
                    frame->setFixedSize(frame->size());
                }
            }
        }
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

QPushButton* button(const QString& caption, const QString& name, QWidget* parent,
                    const TwipsRect& rect) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    Look::styleButton(button);
    button->setAutoDefault(true);
    Twips::place(button, rect);
    return button;
}

void closeWindow(QWidget* window) {
    if (auto* frame = qobject_cast<QMdiSubWindow*>(window->parentWidget())) {
        frame->close();
    } else {
        window->close();
    }
}

QString caption() {
    return AppInfo::Title + QStringLiteral(" - ") + AppInfo::Version();
}

void keepFrameFixed(QWidget* window) {
    new FrameFixer(window);
}

} // namespace WindowParts
