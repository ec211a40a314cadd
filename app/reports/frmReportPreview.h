#pragma once

#include <QWidget>
#include <memory>

class BandReport;
class QComboBox;
class QLabel;
class QPushButton;
class QScrollArea;
class QSpinBox;
class ReportPageView;

// The modeless preview of one report: one page at a time, with page
// navigation, zoom, printing and saving as PDF. It owns its report and the
// rows bound to it, and frees them when it closes.
class frmReportPreview : public QWidget {
    Q_OBJECT
public:
    explicit frmReportPreview(std::unique_ptr<BandReport> report, QWidget* parent = nullptr);
    ~frmReportPreview() override;

    const BandReport& report() const { return *m_report; }
    // Shows a fresh run of the same report in this window, keeping the page
    // (or the last one, when there are fewer now) and the zoom.
    void setReport(std::unique_ptr<BandReport> report);
    // The page shown, counted from 0.
    int currentPage() const;
    void showPage(int page);

    // The zoom choices in the order the list offers them.
    enum Zoom { FitPage, FitWidth, Percent50, Percent75, Percent100, Percent150, Percent200 };
    void setZoomChoice(Zoom choice);

    // Asks for a file name through the file-dialog seam and writes the PDF.
    // True when a file was written; a failure is reported to the user.
    bool saveAsPdf();
    // Asks for a printer through the printer seam and prints. True when the
    // pages went to the printer.
    bool printReport();

    QPushButton* cmdFirst = nullptr;
    QPushButton* cmdPrevious = nullptr;
    QSpinBox* txtPage = nullptr;
    QLabel* lblPageCount = nullptr;
    QPushButton* cmdNext = nullptr;
    QPushButton* cmdLast = nullptr;
    QComboBox* cboZoom = nullptr;
    QPushButton* cmdPrint = nullptr;
    QPushButton* cmdSavePdf = nullptr;
    QPushButton* cmdClose = nullptr;
    QScrollArea* scrPage = nullptr;
    ReportPageView* pageView = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void applyZoom();
    void updateNavigation();
    // The page count and the page box's range after a report was given.
    void updatePageCount();

    std::unique_ptr<BandReport> m_report;
};
