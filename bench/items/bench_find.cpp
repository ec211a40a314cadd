// How quickly the find window opens and narrows its list as the user types,
// and how much memory it holds. Prints named figures; asserts nothing.
//
//   bench_find                 every figure (100,000 items here, 1,000,000
//                              items in a process of its own)
//   bench_find --million       the 1,000,000-item figures only
#include "BenchInventory.h"
#include "FirstRows.h"
#include "items/ItemListView.h"
#include "items/frmFindItems.h"

#include <Riri/MsgBox.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <algorithm>
#include <cstdio>
#include <sqlite3.h>
#include <vector>

namespace {

// A query of several words, typed one character at a time.
const QString kQuery = QStringLiteral("brass lamp kitchen drawer");

// Opening the find window until it has read every item and been painted.
qint64 openFindWindow(int* rows) {
    QElapsedTimer timer;
    timer.start();
    auto* window = new frmFindItems;
    window->show();
    readToEnd(*window->lvItems);
    const qint64 elapsed = timer.nsecsElapsed();
    *rows = window->lvItems->items()->rowCount();
    delete window;
    QApplication::processEvents();
    return elapsed;
}

// Each keystroke of the query: the list narrowed, the totals written, the
// window painted.
std::vector<qint64> typeQuery(frmFindItems& window) {
    std::vector<qint64> times;
    for (qsizetype i = 1; i <= kQuery.size(); ++i) {
        QElapsedTimer timer;
        timer.start();
        window.txtFind->setText(kQuery.left(i));
        QApplication::processEvents();
        times.push_back(timer.nsecsElapsed());
    }
    return times;
}

void hundredThousand() {
    const int items = 100000;
    BenchInventory inventory(items, QStringLiteral(QUORVANE_PRISTINE_DB));
    std::vector<qint64> baseline;
    std::vector<qint64> window;
    int rows = 0;
    openFindWindow(&rows); // warm the file cache and the fonts once
    for (int run = 0; run < 5; ++run) {
        baseline.push_back(ReadWithSqlite(inventory.database()));
        window.push_back(openFindWindow(&rows));
    }
    PrintFigure("find: SQLite read of 100,000 items (median ms)", MedianMs(baseline), "ms");
    PrintFigure("find: window ready with 100,000 items (median ms)", MedianMs(window), "ms");
    PrintFigure("find.open_ratio_100k", MedianMs(window) / MedianMs(baseline), "");

    frmFindItems find;
    find.show();
    QApplication::processEvents();
    const std::vector<qint64> keys = typeQuery(find);
    PrintFigure("find.keystroke_ms_100k", MedianMs(keys), "ms");
    PrintFigure("find: longest keystroke, 100,000 items (ms)",
                static_cast<double>(*std::max_element(keys.begin(), keys.end())) / 1e6, "ms");
    std::printf("  (%d items listed; the query keeps %d)\n", rows,
                find.lvItems->items()->rowCount());
}

int million() {
    const int items = 1000000;
    BenchInventory inventory(items, QStringLiteral(QUORVANE_PRISTINE_DB));
    frmMain main;
    main.show();
    QApplication::processEvents();
    const long before = ResidentKiB();
    QElapsedTimer timer;
    timer.start();
    int firstRows = 0;
    const double firstMs = firstRowsMs<frmFindItems>(
        main, "mnuEditFindItems", [](frmFindItems& w) -> QWidget* { return w.txtFind; },
        &firstRows);
    frmFindItems& find = *main.findChild<frmFindItems*>();
    const QString whileReading = find.lblTotals->text();
    readToEnd(*find.lvItems);
    const double openMs = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    const long open = ResidentKiB();
    find.txtFind->clear();
    QApplication::processEvents();
    const std::vector<qint64> keys = typeQuery(find);
    PrintFigure("find.first_rows_ms_1m", firstMs, "ms");
    std::printf("  (%d rows shown first; %s)\n", firstRows, qPrintable(whileReading));
    PrintFigure("find: window ready with 1,000,000 items (ms)", openMs, "ms");
    PrintFigure("find.keystroke_ms_1m", MedianMs(keys), "ms");
    PrintFigure("find: longest keystroke, 1,000,000 items (ms)",
                static_cast<double>(*std::max_element(keys.begin(), keys.end())) / 1e6, "ms");
    PrintFigure("find: resident memory before opening (MB)", before / 1024.0, "MB");
    PrintFigure("find.resident_mb_1m (find window open)", open / 1024.0, "MB");
    PrintFigure("find: resident memory after typing (MB)", ResidentKiB() / 1024.0, "MB");
    std::printf("  (%d items listed before typing; the query keeps %d; %s)\n",
                static_cast<int>(find.lvItems->items()->storedRowCount()),
                find.lvItems->items()->rowCount(), qPrintable(find.lblTotals->text()));
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    UseOffscreenUnlessSet();
    QApplication app(argc, argv);
    PrintUnexpectedMessages();
    if (app.arguments().contains(QStringLiteral("--million"))) {
        return million();
    }
    hundredThousand();
    // The million in a process of its own, so its memory figure counts only it.
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedChannels);
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--million")});
    child.waitForFinished(-1);
    return 0;
}
