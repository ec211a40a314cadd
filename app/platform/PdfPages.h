#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <memory>

class QPdfDocument;

// The pages of a PDF file, drawn with Qt PDF. Made and used on one thread;
// that may be a worker thread.
class PdfPages {
public:
    explicit PdfPages(const QString& path);
    ~PdfPages();
    PdfPages(const PdfPages&) = delete;
    PdfPages& operator=(const PdfPages&) = delete;

    // Whether the file is a PDF that Qt PDF could open.
    bool isValid() const;
    int count() const;
    // A page (from 0) drawn as large as fits within `bound`, on white; null
    // for a page that is not there.
    QImage render(int page, const QSize& bound) const;

private:
    std::unique_ptr<QPdfDocument> m_document;
};
