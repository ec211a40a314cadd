#pragma once

#include <QApplication>
#include <QList>
#include <QTest>
#include <QWidget>

// Shows the window and waits until it is the active one, so that focus moves,
// focus events and key presses reach its controls as they would for a user.
inline bool showActive(QWidget& window) {
    window.show();
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window);
}

// Every window of the given class that exists now, shown or not.
template <class W> QList<W*> openWindows() {
    QList<W*> found;
    for (QWidget* widget : QApplication::allWidgets()) {
        if (auto* window = qobject_cast<W*>(widget)) {
            found.append(window);
        }
    }
    return found;
}
