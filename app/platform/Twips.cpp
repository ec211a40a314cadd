#include "platform/Twips.h"

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

int toPixels(int twips) {
    return convert(twips, false);
}
int toPixelsY(int twips) {
    return convert(twips, true);
}

QSize size(int width, int height) {
    return QSize(toPixels(width), toPixelsY(height));
}

QRect rect(int left, int top, int width, int height) {
    return QRect(toPixels(left), toPixelsY(top), toPixels(width), toPixelsY(height));
}

void place(QWidget* widget, int left, int top, int width, int height) {
    widget->setGeometry(rect(left, top, width, height));
}

void place(QWidget* widget, const TwipsRect& rect) {
    place(widget, rect.left, rect.top, rect.width, rect.height);
}

void fixInnerSize(QWidget* window, int width, int height) {
    window->setFixedSize(size(width, height));
}

void fixInnerSize(QWidget* window, const TwipsSize& size) {
    fixInnerSize(window, size.width, size.height);
}

QSize size(const TwipsSize& size) {
    return Twips::size(size.width, size.height);
}

} // namespace Twips
