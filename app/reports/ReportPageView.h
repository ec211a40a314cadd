#pragma once

#include <QImage>
#include <QWidget>

class BandReport;

// Shows one page of a report at a zoom factor (1.0 is the paper's real size
// on the screen). Only the page shown is drawn, when it is first shown, and
// it is kept until the page or the zoom changes.
class ReportPageView : public QWidget {
    Q_OBJECT
public:
    explicit ReportPageView(const BandReport& report, QWidget* parent = nullptr);

    // Shows another report (the same report read again) in place of the
    // one given so far, at the same zoom; the page is kept where it exists.
    void setReport(const BandReport& report);

    int page() const { return m_page; }
    void setPage(int page);
    qreal zoom() const { return m_zoom; }
    void setZoom(qreal zoom);

    // The screen resolution one zoom step stands for.
    qreal screenDpi() const;
    // The page's size on screen at a zoom factor, in pixels.
    QSize pageSizeAt(qreal zoom) const;

    // How many times a page was drawn (each page and zoom at most once).
    int renderCount() const { return m_renderCount; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void ensureImage();

    const BandReport* m_report;
    int m_page = 0;
    qreal m_zoom = 1.0;
    QImage m_image;
    int m_imagePage = -1;
    qreal m_imageDpi = 0;
    int m_renderCount = 0;
};
