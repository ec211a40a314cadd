#pragma once

#include "frmMain.h"
#include "items/ItemListView.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>

// Milliseconds from a menu command of the main window to its item window
// painted with its first rows and taking a keystroke (Down in its list, or
// in `input` when given): the time a user waits before using the window.
template <class Window>
double firstRowsMs(frmMain& main, const char* command, QWidget* (*input)(Window&), int* rows) {
    QElapsedTimer timer;
    timer.start();
    main.findChild<QAction*>(QString::fromLatin1(command))->trigger();
    QApplication::processEvents();
    Window* window = nullptr;
    for (QMdiSubWindow* sub : main.mdiArea()->subWindowList()) {
        if (auto* found = qobject_cast<Window*>(sub->widget())) {
            window = found;
        }
    }
    if (window == nullptr) {
        *rows = -1;
        return -1;
    }
    QWidget* target = input != nullptr ? input(*window) : window->lvItems;
    QApplication::postEvent(target, new QKeyEvent(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier));
    QApplication::postEvent(target,
                            new QKeyEvent(QEvent::KeyRelease, Qt::Key_Down, Qt::NoModifier));
    QApplication::processEvents();
    const double ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    *rows = window->lvItems->items()->rowCount();
    return ms;
}

// Lets the window's list read to its end.
inline void readToEnd(const ItemListView& list) {
    while (list.isReading()) {
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    QApplication::processEvents();
}
