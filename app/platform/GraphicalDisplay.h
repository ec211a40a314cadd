#pragma once

#include <QString>

// Whether the windows can be opened at all, asked before QApplication is
// made: without a window system Qt ends the process with an abort.
namespace GraphicalDisplay {

// True when the platform the windows would use can be reached. A platform
// named with -platform or in QT_QPA_PLATFORM (a list separated by ';' is
// tried in order) counts when any of its entries can start: xcb needs
// DISPLAY, wayland needs WAYLAND_DISPLAY, every other platform (offscreen,
// minimal, vnc, eglfs ...) needs nothing. With none named, DISPLAY or
// WAYLAND_DISPLAY must be set.
bool available(int argc, char** argv);

// The line said on the standard error stream when no display is available,
// naming the program as it was started.
QString missingMessage(const QString& program);

} // namespace GraphicalDisplay
