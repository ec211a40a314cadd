#pragma once

class QWidget;
class frmReportPreview;

// The Reports menu's three commands: the complete inventory, the inventory
// by room and the valuation summary, each run after the main window's record
// check has found items. Each reads the database afresh and shows its report
// in a modeless preview; a preview of the same report left from an earlier
// run is discarded first, so there is never more than one per report. The
// reading and the laying out run as a long task (ui/LongTask.h) that may be
// cancelled; a cancel says so and shows nothing, any other failure while
// reading or laying out shows nothing. The preview is a window
// of its own, kept above `parent` when one is given. An open preview follows the
// inventory notice: it runs its report again in place after every change
// that touches what it prints, and closes when no item is left.
void runTotalInventoryReport(QWidget* parent = nullptr);
void runRoomReport(QWidget* parent = nullptr);
void runValuationSummary(QWidget* parent = nullptr);
// The inventory with photos: every item by room with its first photo's
// thumbnail, run as the others are.
void runInventoryPhotos(QWidget* parent = nullptr);

// The open preview of each report, or null.
frmReportPreview* totalInventoryPreview();
frmReportPreview* roomReportPreview();
frmReportPreview* valuationSummaryPreview();
frmReportPreview* inventoryPhotosPreview();
