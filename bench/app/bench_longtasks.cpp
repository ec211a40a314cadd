// How live the windows stay while a long task runs: the backup, the restore
// and the complete inventory report of 200,000 items (300,000 with an
// argument), each run through the long-task runner as the menu commands run
// them. A timer on the GUI thread ticks every 10 ms; the largest gap between
// two ticks is how long a repaint could have waited.
//
//   <task>_ms             the task, start to end
//   <task>_gui_gap_ms     the largest gap between two ticks
// Target: every gap under 100 ms. Prints named figures; asserts nothing.
//
// Usage: bench_longtasks [ITEMS]

#include "BenchInventory.h"
#include "reports/ReportCommands.h"
#include "reports/frmReportPreview.h"
#include "ui/LongTask.h"

#include <Riri/InventoryCopy.h>
#include <Riri/MsgBox.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <functional>
#include <string>

namespace {

// Runs one task while a GUI-thread timer ticks, and prints its figures.
void measure(const char* name, const std::function<void()>& task) {
    QElapsedTimer sinceTick;
    qint64 largestGap = 0;
    QTimer ticker;
    ticker.setInterval(10);
    QObject::connect(&ticker, &QTimer::timeout,
                     [&] { largestGap = qMax(largestGap, sinceTick.restart()); });
    QElapsedTimer whole;
    whole.start();
    sinceTick.start();
    ticker.start();
    task();
    ticker.stop();
    largestGap = qMax(largestGap, sinceTick.elapsed());
    PrintFigure((std::string(name) + "_ms").c_str(), static_cast<double>(whole.elapsed()), "ms");
    PrintFigure((std::string(name) + "_gui_gap_ms").c_str(), static_cast<double>(largestGap), "ms");
}

TaskOptions options(const char* title) {
    TaskOptions task;
    task.title = QString::fromLatin1(title);
    task.label = task.title;
    task.cancellable = true;
    return task;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // The outcome boxes of the report command are answered at once.
    Riri::setMsgBoxHandler([](const QString&, int, const QString&) { return Riri::vbOK; });
    const int items = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 200000;
    BenchInventory inventory(items, QStringLiteral(QUORVANE_PRISTINE_DB));
    PrintFigure("items", items, "");
    QTemporaryDir out;
    const QString backup = out.filePath(QStringLiteral("backup.inv"));

    measure("backup", [&] {
        LongTask::run(options("Back Up Inventory"), [&](const TaskProgress& progress) {
            return Riri::InventoryCopy::backUp(backup, progress);
        });
    });
    measure("restore", [&] {
        LongTask::run(options("Restore Inventory"), [&](const TaskProgress& progress) {
            return Riri::InventoryCopy::restore(backup, progress);
        });
    });
    measure("report", [] { runTotalInventoryReport(); });
    delete totalInventoryPreview();
    return 0;
}
