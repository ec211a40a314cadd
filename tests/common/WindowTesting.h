#pragma once

#include <QApplication>
#include <QDir>
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

// Saves a picture of the window as <name>.png into the folder named by
// QUORVANE_SHOTS, when that is set, for looking at the layout.
inline void shoot(QWidget& window, const QString& name) {
    const QString folder = qEnvironmentVariable("QUORVANE_SHOTS");
    if (!folder.isEmpty()) {
        QDir().mkpath(folder);
        window.grab().save(folder + QLatin1Char('/') + name + QStringLiteral(".png"));
    }
}
