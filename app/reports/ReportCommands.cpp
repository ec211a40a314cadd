#include "reports/ReportCommands.h"

#include "AppInfo.h"
#include "reports/dataReport.h"
#include "reports/frmReportPreview.h"
#include "reports/rptInventoryPhotos.h"
#include "reports/rptRoomReport.h"
#include "reports/rptTotalInventory.h"
#include "reports/rptValuationSummary.h"
#include "shared/InventoryNotice.h"
#include "ui/LongTask.h"

#include <Riri/Error.h>
#include <Riri/ErrorNumbers.h>
#include <Riri/MsgBox.h>

#include <QPointer>
#include <exception>

namespace {

QPointer<frmReportPreview> g_totalInventory;
QPointer<frmReportPreview> g_roomReport;
QPointer<frmReportPreview> g_valuationSummary;
QPointer<frmReportPreview> g_inventoryPhotos;

void discard(QPointer<frmReportPreview>& preview) {
    delete preview.data();
    preview = nullptr;
}

// One run of a report: the laid-out report, and whether it found any item.
struct Run {
    std::unique_ptr<BandReport> report;
    bool anyItems = false;
};

// Each runs on the worker thread of a long task: it reads the database afresh
// through the reports' data source, whose connection is opened and closed on
// that thread, closing the rows of the previous run first; then it lays out
// the pages. A failure to read, or a cancel, throws. Only one long task runs
// at a time (its window is modal), so the data source is never shared.
void layingOut(const TaskProgress& progress) {
    progress.setLabel(QStringLiteral("Laying out the pages..."));
}

Run makeTotalInventory(DataReport& data, const TaskProgress& progress) {
    if (data.rscmdItemTotal && data.rscmdItemTotal->isOpen()) {
        data.rscmdItemTotal->Close();
    }
    data.cmdItemTotal(progress);
    layingOut(progress);
    auto report = std::make_unique<rptTotalInventory>();
    report->bind(data.rscmdItemTotal);
    return {std::move(report), data.rscmdItemTotal->rowCount() > 0};
}

Run makeRoomReport(DataReport& data, const TaskProgress& progress) {
    if (data.rscmdRoomTotal_Grouping && data.rscmdRoomTotal_Grouping->isOpen()) {
        data.rscmdRoomTotal_Grouping->Close();
    }
    data.cmdRoomTotal_Grouping(progress);
    layingOut(progress);
    auto report = std::make_unique<rptRoomReport>();
    report->bind(*data.rscmdRoomTotal_Grouping);
    return {std::move(report), data.rscmdRoomTotal_Grouping->rowCount() > 0};
}

Run makeValuationSummary(DataReport& data, const TaskProgress& progress) {
    data.cmdValuationSummary(progress);
    layingOut(progress);
    auto report =
        std::make_unique<rptValuationSummary>(*data.rscmdValuationSummary, data.rscmdOwner.get());
    return {std::move(report), data.rscmdValuationSummary->rowCount() > 0};
}

Run makeInventoryPhotos(DataReport& data, const TaskProgress& progress) {
    data.cmdPhotoInventory(progress);
    layingOut(progress);
    auto report = std::make_unique<rptInventoryPhotos>(
        *data.rscmdPhotoInventory, data.rscmdOwner.get(), &rptInventoryPhotos::storedThumbnail);
    return {std::move(report), data.rscmdPhotoInventory->rowCount() > 0};
}

// What a report preview shows and which changes of the inventory it follows.
struct ReportKind {
    QPointer<frmReportPreview>* slot;
    Run (*make)(DataReport&, const TaskProgress&);
    bool showsOwner;
    // The command's name, the title of its progress window.
    const char* title;
};

const ReportKind kTotalInventory{&g_totalInventory, &makeTotalInventory, false,
                                 "Total Dedi Rividizar"};
const ReportKind kRoomReport{&g_roomReport, &makeRoomReport, false, "Inventory By Room"};
const ReportKind kValuationSummary{&g_valuationSummary, &makeValuationSummary, true,
                                   "Valuation Summary"};
const ReportKind kInventoryPhotos{&g_inventoryPhotos, &makeInventoryPhotos, true,
                                  "Inventory with Photos"};

// Runs a report as a long task: reading the items and laying out the pages
// off the GUI thread. A first run may be cancelled (it then shows nothing);
// a run into an open preview may not, since the preview would go on showing
// what is no longer there.
Run runTask(const ReportKind& kind, QWidget* parent, bool cancellable) {
    TaskOptions options;
    options.parent = parent;
    options.title = QString::fromLatin1(kind.title);
    options.label = QStringLiteral("Reading the items...");
    options.unit = TaskOptions::Unit::Items;
    options.cancellable = cancellable;
    // Made here, on the GUI thread, which also registers its release at the end.
    DataReport& data = dataReportInstance();
    return LongTask::run(options, [&kind, &data](const TaskProgress& progress) {
        return kind.make(data, progress);
    });
}

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
        run = runTask(kind, preview, false);
    } catch (const std::exception&) {
        run = {};
    }
    if (kind.slot->isNull()) {
        return; // closed meanwhile
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
        Run run = runTask(kind, parent, true);
        auto* preview = new frmReportPreview(std::move(run.report), parent);
        *kind.slot = preview;
        QObject::connect(&InventoryNotice::instance(), &InventoryNotice::inventoryChanged, preview,
                         [&kind](InventoryChange change) { rerun(kind, change); });
        preview->show();
        preview->raise();
        preview->activateWindow();
    } catch (const Riri::Error& error) {
        if (error.number() == Riri::ErrorNumber::Cancelled) {
            Riri::MsgBox(QStringLiteral("The report was cancelled; nothing is shown. "),
                         Riri::vbInformation | Riri::vbOKOnly, AppInfo::Title);
        }
        // Any other failure to read shows nothing.
    } catch (const std::exception&) {
        // Nothing is shown: allocation failures and the like.
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

void runInventoryPhotos(QWidget* parent) {
    present(kInventoryPhotos, parent);
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
frmReportPreview* inventoryPhotosPreview() {
    return g_inventoryPhotos.data();
}
