#include "reports/ReportPageView.h"

#include "platform/Twips.h"
#include "reports/BandReport.h"

#include <QPaintEvent>
#include <QPainter>

ReportPageView::ReportPageView(const BandReport& report, QWidget* parent)
    : QWidget(parent), m_report(&report) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFixedSize(pageSizeAt(m_zoom));
}

qreal ReportPageView::screenDpi() const {
    const int dpi = logicalDpiX();
    return dpi > 0 ? dpi : 96.0;
}

QSize ReportPageView::pageSizeAt(qreal zoom) const {
    const qreal scale = screenDpi() * zoom / Twips::PerInch;
    const Band::Definition& d = m_report->definition();
    return QSize(qMax(1, qRound(d.pageWidth() * scale)), qMax(1, qRound(d.pageHeight() * scale)));
}

QSize ReportPageView::sizeHint() const {
    return pageSizeAt(m_zoom);
}

void ReportPageView::setReport(const BandReport& report) {
    m_report = &report;
    m_page = qBound(0, m_page, qMax(0, m_report->pageCount() - 1));
    m_image = QImage();
    m_imagePage = -1;
    setFixedSize(pageSizeAt(m_zoom));
    update();
}

void ReportPageView::setPage(int page) {
    page = qBound(0, page, qMax(0, m_report->pageCount() - 1));
    if (page != m_page) {
        m_page = page;
        update();
    }
}

void ReportPageView::setZoom(qreal zoom) {
    zoom = qBound(0.05, zoom, 8.0);
    if (!qFuzzyCompare(zoom, m_zoom)) {
        m_zoom = zoom;
        setFixedSize(pageSizeAt(m_zoom));
        update();
    }
}

void ReportPageView::ensureImage() {
    const qreal ratio = devicePixelRatioF();
    const qreal dpi = screenDpi() * m_zoom * ratio;
    if (m_imagePage == m_page && qFuzzyCompare(m_imageDpi, dpi) && !m_image.isNull()) {
        return;
    }
    m_image = m_report->renderPage(m_page, dpi);
    m_image.setDevicePixelRatio(ratio);
    m_imagePage = m_page;
    m_imageDpi = dpi;
    ++m_renderCount;
}

void ReportPageView::paintEvent(QPaintEvent* event) {
    ensureImage();
    QPainter painter(this);
    painter.fillRect(event->rect(), Qt::white);
    painter.drawImage(QPointF(0, 0), m_image);
}
