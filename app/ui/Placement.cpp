#include "ui/Placement.h"

#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <QWidget>

namespace Placement {

void centreOnScreen(QWidget* window) {
    const QScreen* screen = window->screen();
    if (screen == nullptr) {
        screen = QGuiApplication::primaryScreen();
    }
    if (screen == nullptr) {
        return;
    }
    QRect frame = window->frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window->move(frame.topLeft());
}

void keepInside(QMdiArea* area) {
    const QRect inside = area->viewport()->rect();
    const QList<QMdiSubWindow*> children = area->subWindowList();
    for (QMdiSubWindow* child : children) {
        if (child->isMaximized() || child->isMinimized()) {
            continue;
        }
        QRect frame = child->geometry();
        if (frame.right() > inside.right()) {
            frame.moveRight(inside.right());
        }
        if (frame.bottom() > inside.bottom()) {
            frame.moveBottom(inside.bottom());
        }
        if (frame.left() < inside.left()) {
            frame.moveLeft(inside.left());
        }
        if (frame.top() < inside.top()) {
            frame.moveTop(inside.top());
        }
        if (frame.topLeft() != child->pos()) {
            child->move(frame.topLeft());
        }
    }
}

} // namespace Placement
