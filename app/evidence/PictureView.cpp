#include "evidence/PictureView.h"

#include <QPainter>

PictureView::PictureView(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("PictureView"));
    setBackgroundRole(QPalette::Dark);
    setAutoFillBackground(true);
}

void PictureView::setImage(const QImage& image) {
    m_image = image;
    update();
}

void PictureView::setZoom(double zoom) {
    m_zoom = zoom;
    update();
}

double PictureView::shownScale() const {
    if (m_image.isNull()) {
        return 1;
    }
    if (m_zoom > 0) {
        return m_zoom;
    }
    const double across = double(width()) / m_image.width();
    const double down = double(height()) / m_image.height();
    return std::min({across, down, 1.0});
}

QSize PictureView::zoomedSize() const {
    return (QSizeF(m_image.size()) * (m_zoom > 0 ? m_zoom : 1)).toSize();
}

void PictureView::paintEvent(QPaintEvent* /*event*/) {
    if (m_image.isNull()) {
        return;
    }
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QSize shown = (QSizeF(m_image.size()) * shownScale()).toSize();
    QRect place(QPoint(0, 0), shown);
    place.moveCenter(rect().center());
    painter.drawImage(place, m_image);
}
