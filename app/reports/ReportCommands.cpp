#include "reports/ReportCommands.h"

#include "reports/dataReport.h"
#include "reports/frmReportPreview.h"
#include "reports/rptRoomReport.h"
#include "reports/rptTotalInventory.h"
#include "reports/rptValuationSummary.h"

#include <Riri/Error.h>

#include <QGuiApplication>
#include <QPointer>
#include <exception>

namespace {

QPointer<frmReportPreview> g_totalInventory;
QPointer<frmReportPreview> g_roomReport;
QPointer<frmReportPreview> g_valuationSummary;

// The busy pointer while the rows are read and the pages planned.
class BusyPointer {
public:
    BusyPointer() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyPointer() { release(); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;
    void release() {
        if (m_active) {
            QGuiApplication::restoreOverrideCursor();
            m_active = false;
        }
    }

private:
    bool m_active = true;
};

void discard(QPointer<frmReportPreview>& preview) {
    delete preview.data();
    preview = nullptr;
}

void present(QPointer<frmReportPreview>& slot, std::unique_ptr<BandReport> report,
             QWidget* parent) {
    slot = new frmReportPreview(std::move(report), parent);
    slot->show();
    slot->raise();
    slot->activateWindow();
}

} // namespace

void runTotalInventoryReport(QWidget* parent) {
    try {
        DataReport& data = dataReportInstance();
        if (data.rscmdItemTotal && data.rscmdItemTotal->isOpen()) {
            data.rscmdItemTotal->Close();
        }
        discard(g_totalInventory);

        BusyPointer busy;
        data.cmdItemTotal();
        auto report = std::make_unique<rptTotalInventory>();
        report->bind(data.rscmdItemTotal);
        busy.release();
        present(g_totalInventory, std::move(report), parent);
    } catch (const std::exception&) {
        // Nothing is shown; Riri::Error and allocation failures alike.
    }
}

void runRoomReport(QWidget* parent) {
    try {
        DataReport& data = dataReportInstance();
        if (data.rscmdRoomTotal_Grouping && data.rscmdRoomTotal_Grouping->isOpen()) {
            data.rscmdRoomTotal_Grouping->Close();
        }
        discard(g_roomReport);

        BusyPointer busy;
        data.cmdRoomTotal_Grouping();
        auto report = std::make_unique<rptRoomReport>();
        report->bind(*data.rscmdRoomTotal_Grouping);
        busy.release();
        present(g_roomReport, std::move(report), parent);
    } catch (const std::exception&) {
    }
}

void runValuationSummary(QWidget* parent) {
    try {
        DataReport& data = dataReportInstance();
        discard(g_valuationSummary);

        BusyPointer busy;
        data.cmdValuationSummary();
        auto report = std::make_unique<rptValuationSummary>(*data.rscmdValuationSummary,
                                                            data.rscmdOwner.get());
        busy.release();
        present(g_valuationSummary, std::move(report), parent);
    } catch (const std::exception&) {
    }
}

frmReportPreview* totalInventoryPreview() {
    return g_totalInventory.data();
}
frmReportPreview* roomReportPreview() {
    return g_roomReport.data();
}
frmReportPreview* valuationSummaryPreview() {
    return g_valuationSummary.data();
}
