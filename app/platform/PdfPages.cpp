#include "platform/PdfPages.h"

#include <QPainter>
#include <QPdfDocument>

PdfPages::PdfPages(const QString& path) : m_document(std::make_unique<QPdfDocument>()) {
    m_document->load(path);
}

PdfPages::~PdfPages() = default;

bool PdfPages::isValid() const {
    return m_document->status() == QPdfDocument::Status::Ready && m_document->pageCount() > 0;
}

int PdfPages::count() const {
    return isValid() ? m_document->pageCount() : 0;
}

QImage PdfPages::render(int page, const QSize& bound) const {
    if (page < 0 || page >= count() || !bound.isValid()) {
        return {};
    }
    const QSizeF points = m_document->pagePointSize(page);
    if (points.isEmpty()) {
        return {};
    }
    const QSize size = points.toSize().scaled(bound, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
    const QImage drawn = m_document->render(page, size);
    // Pages are transparent where nothing is drawn: put them on paper.
    QImage paper(drawn.size(), QImage::Format_RGB32);
    paper.fill(Qt::white);
    QPainter painter(&paper);
    painter.drawImage(0, 0, drawn);
    painter.end();
    return paper;
}
