#include "ui/HousePicture.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

QImage drawHousePicture(const QSize& size) {
    QImage image(size, QImage::Format_RGB32);
    // Every pixel defined, also where the antialiased edges of the shapes
    // only partly cover one.
    image.fill(QColor(90, 170, 70));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // Work in a 100 by 150 box, scaled to the picture.
    p.scale(size.width() / 100.0, size.height() / 150.0);

    QLinearGradient sky(0, 0, 0, 95);
    sky.setColorAt(0, QColor(70, 130, 210));
    sky.setColorAt(1, QColor(190, 220, 250));
    p.fillRect(QRectF(0, 0, 100, 95), sky);

    // Sun and a cloud.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 215, 70));
    p.drawEllipse(QPointF(80, 20), 9, 9);
    p.setBrush(QColor(255, 255, 255, 230));
    p.drawEllipse(QPointF(22, 26), 10, 6);
    p.drawEllipse(QPointF(32, 23), 9, 7);
    p.drawEllipse(QPointF(40, 27), 8, 5);

    // Lawn and path.
    QLinearGradient lawn(0, 95, 0, 150);
    lawn.setColorAt(0, QColor(90, 170, 70));
    lawn.setColorAt(1, QColor(40, 110, 40));
    p.fillRect(QRectF(0, 95, 100, 55), lawn);
    p.setBrush(QColor(205, 190, 160));
    p.drawPolygon(
        QPolygonF({QPointF(45, 110), QPointF(55, 110), QPointF(68, 150), QPointF(32, 150)}));

    // Chimney, walls and roof.
    const QPen outline(QColor(60, 40, 30), 0.8);
    p.setPen(outline);
    p.setBrush(QColor(150, 70, 50));
    p.drawRect(QRectF(66, 42, 8, 18));
    p.setBrush(QColor(240, 225, 190));
    p.drawRect(QRectF(18, 70, 64, 40));
    p.setBrush(QColor(170, 45, 40));
    p.drawPolygon(QPolygonF({QPointF(12, 72), QPointF(50, 40), QPointF(88, 72)}));

    // Door with its knob, and two windows with their bars.
    p.setBrush(QColor(110, 65, 35));
    p.drawRect(QRectF(44, 86, 12, 24));
    p.setBrush(QColor(230, 190, 60));
    p.drawEllipse(QPointF(53.5, 99), 1, 1);
    for (const qreal left : {24.0, 64.0}) {
        p.setBrush(QColor(170, 215, 245));
        p.drawRect(QRectF(left, 80, 12, 12));
        p.drawLine(QPointF(left + 6, 80), QPointF(left + 6, 92));
        p.drawLine(QPointF(left, 86), QPointF(left + 12, 86));
    }
    // A round window in the gable.
    p.setBrush(QColor(170, 215, 245));
    p.drawEllipse(QPointF(50, 60), 4, 4);

    // A tree beside the house.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(100, 70, 40));
    p.drawRect(QRectF(88, 100, 4, 22));
    p.setBrush(QColor(50, 130, 50));
    p.drawEllipse(QPointF(90, 95), 9, 11);
    p.end();
    return image;
}
