#pragma once

#include <QRect>
#include <QSize>

class QWidget;

// Window layouts are fixed in twips (1440 per inch) and converted at the
// screen's logical DPI: 15 twips per pixel at 96 DPI. With Qt's high-DPI
// scaling the logical DPI stays near 96 and the device pixel ratio enlarges
// the drawing, so layouts keep their proportions on every screen.
namespace Twips {

int ToPixels(int twips);
int ToPixelsY(int twips);
QSize Size(int width, int height);
QRect Rect(int left, int top, int width, int height);
// Places the widget at the given position and size, in twips.
void Place(QWidget* widget, int left, int top, int width, int height);
// Fixes a window's inner area to the given size, in twips.
void FixInnerSize(QWidget* window, int width, int height);

} // namespace Twips
