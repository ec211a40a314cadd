#pragma once

#include <QRect>
#include <QSize>

class QWidget;

// Window layouts are fixed in twips (1440 per inch) and converted at the
// screen's logical DPI: 15 twips per pixel at 96 DPI. With Qt's high-DPI
// scaling the logical DPI stays near 96 and the device pixel ratio enlarges
// the drawing, so layouts keep their proportions on every screen.

// A control's place in a fixed layout, in twips from the top-left corner of
// its parent: {.left = 120, .top = 600, .width = 6015, .height = 1335}.
struct TwipsRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// The inner size of a window with a fixed layout, in twips.
struct TwipsSize {
    int width = 0;
    int height = 0;
};

namespace Twips {

// Twips in one inch.
inline constexpr int PerInch = 1440;

int toPixels(int twips);
int toPixelsY(int twips);
QSize size(int width, int height);
QRect rect(int left, int top, int width, int height);
// Places the widget at the given position and size, in twips.
void place(QWidget* widget, int left, int top, int width, int height);
void place(QWidget* widget, const TwipsRect& rect);
// Fixes a window's inner area to the given size, in twips.
void fixInnerSize(QWidget* window, int width, int height);
void fixInnerSize(QWidget* window, const TwipsSize& size);
QSize size(const TwipsSize& size);

} // namespace Twips
