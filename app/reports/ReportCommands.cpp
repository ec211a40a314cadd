#include "reports/ReportCommands.h"

#include "reports/dataReport.h"
#include "reports/frmReportPreview.h"
#include "reports/rptRoomReport.h"
#include "reports/rptTotalInventory.h"
#include "reports/rptValuationSummary.h"
#include "shared/InventoryNotice.h"

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

// One run of a report: the laid-out report, and whether it found any item.
struct Run {
    std::unique_ptr<BandReport> report;
    bool anyItems = false;
};

// Each reads the database afresh through the reports' data source, closing
// the rows of the previous run first; a failure to read throws.
Run makeTotalInventory() {
    DataReport& data = dataReportInstance();
    if (data.rscmdItemTotal && data.rscmdItemTotal->isOpen()) {
        data.rscmdItemTotal->Close();
    }
    data.cmdItemTotal();
    auto report = std::make_unique<rptTotalInventory>();
    report->bind(data.rscmdItemTotal);
    return {std::move(report), data.rscmdItemTotal->rowCount() > 0};
}

Run makeRoomReport() {
    DataReport& data = dataReportInstance();
    if (data.rscmdRoomTotal_Grouping && data.rscmdRoomTotal_Grouping->isOpen()) {
        data.rscmdRoomTotal_Grouping->Close();
    }
    data.cmdRoomTotal_Grouping();
    auto report = std::make_unique<rptRoomReport>();
    report->bind(*data.rscmdRoomTotal_Grouping);
    return {std::move(report), data.rscmdRoomTotal_Grouping->rowCount() > 0};
}

Run makeValuationSummary() {
    DataReport& data = dataReportInstance();
    data.cmdValuationSummary();
    auto report =
        std::make_unique<rptValuationSummary>(*data.rscmdValuationSummary, data.rscmdOwner.get());
    return {std::move(report), data.rscmdValuationSummary->rowCount() > 0};
}

// What a report preview shows and which changes of the inventory it follows.
struct ReportKind {
    QPointer<frmReportPreview>* slot;
    Run (*make)();
    bool showsOwner;
};

const ReportKind kTotalInventory{&g_totalInventory, &makeTotalInventory, false};
const ReportKind kRoomReport{&g_roomReport, &makeRoomReport, false};
const ReportKind kValuationSummary{&g_valuationSummary, &makeValuationSummary, true};

// Runs the report again into its open preview after the inventory changed;
// the same window stays, on the same page where it still exists. With no
// item left, or when the inventory cannot be read, the preview closes: it
// would show what is no longer there.
void rerun(const ReportKind& kind, InventoryChange change) {
    frmReportPreview* preview = kind.slot->data();
    if (preview == nullptr || !(InventoryNotice::touchesItems(change) ||
                                (kind.showsOwner && InventoryNotice::touchesOwner(change)))) {
        return;
    }
    Run run;
    try {
        BusyPointer busy;
        run = kind.make();
    } catch (const std::exception&) {
        run = {};
    }
    if (run.report && run.anyItems) {
        preview->setReport(std::move(run.report));
    } else {
        preview->close();
    }
}

void present(const ReportKind& kind, QWidget* parent) {
    try {
        discard(*kind.slot);
        BusyPointer busy;
        Run run = kind.make();
        busy.release();
        auto* preview = new frmReportPreview(std::move(run.report), parent);
        *kind.slot = preview;
        QObject::connect(&InventoryNotice::instance(), &InventoryNotice::inventoryChanged, preview,
                         [&kind](InventoryChange change) { rerun(kind, change); });
        preview->show();
        preview->raise();
        preview->activateWindow();
    } catch (const std::exception&) {
        // Nothing is shown; Riri::Error and allocation failures alike.
    }
}

} // namespace

void runTotalInventoryReport(QWidget* parent) {
    present(kTotalInventory, parent);
}

void runRoomReport(QWidget* parent) {
    present(kRoomReport, parent);
}

void runValuationSummary(QWidget* parent) {
    present(kValuationSummary, parent);
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
