#include "Twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <cmath>

namespace Twips {

namespace {

qreal dpi(bool vertical) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return 96.0;
    }
    const qreal value = vertical ? screen->logicalDotsPerInchY() : screen->logicalDotsPerInchX();
    return value > 0 ? value : 96.0;
}

int convert(int twips, bool vertical) {
    return static_cast<int>(std::lround(twips * dpi(vertical) / PerInch));
}

} // namespace

int ToPixels(int twips) {
    return convert(twips, false);
}
int ToPixelsY(int twips) {
    return convert(twips, true);
}

QSize Size(int width, int height) {
    return QSize(ToPixels(width), ToPixelsY(height));
}

QRect Rect(int left, int top, int width, int height) {
    return QRect(ToPixels(left), ToPixelsY(top), ToPixels(width), ToPixelsY(height));
}

void Place(QWidget* widget, int left, int top, int width, int height) {
    widget->setGeometry(Rect(left, top, width, height));
}

void Place(QWidget* widget, const TwipsRect& rect) {
    Place(widget, rect.left, rect.top, rect.width, rect.height);
}

void FixInnerSize(QWidget* window, int width, int height) {
    window->setFixedSize(Size(width, height));
}

void FixInnerSize(QWidget* window, const TwipsSize& size) {
    FixInnerSize(window, size.width, size.height);
}

QSize Size(const TwipsSize& size) {
    return Size(size.width, size.height);
}

} // namespace Twips
