// Measures the history and prints named figures:
//   history.write_ratio      AddItems and UpdateItems with the history's
//                            triggers against the same without them (the
//                            triggers dropped from a copy), in one run; the
//                            best of five turns each
//   history.window_ms_1000   the Item History window showing 1,000 changes of
//                            one item in a history of ROWS rows: from asking
//                            for the item to the list filled, median of five
//
// bench_history [--calls N] [--rows N]   (defaults 100 calls, 100,000 rows;
// the target figure is for --rows 1000000)

#include "BenchInventory.h"
#include "history/frmItemHistory.h"

#include <Riri/ComponentFolder.h>
#include <Riri/InventorySchema.h>
#include <Riri/dllHome.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTreeWidget>
#include <algorithm>
#include <cstdio>
#include <sqlite3.h>
#include <vector>

namespace {

int argument(int argc, char** argv, const char* name, int fallback) {
    for (int i = 1; i + 1 < argc; ++i) {
        if (qstrcmp(argv[i], name) == 0) {
            return QString::fromLocal8Bit(argv[i + 1]).toInt();
        }
    }
    return fallback;
}

void sql(const QString& file, const char* statement) {
    sqlite3* db = nullptr;
    sqlite3_open(QFile::encodeName(file).constData(), &db);
    char* message = nullptr;
    if (sqlite3_exec(db, statement, nullptr, nullptr, &message) != SQLITE_OK) {
        std::fprintf(stderr, "%s\n", message);
        std::exit(1);
    }
    sqlite3_close(db);
}

// Adds `calls` items and saves each once more; nanoseconds.
qint64 writes(int calls, int first) {
    QElapsedTimer timer;
    timer.start();
    for (int i = first; i < first + calls; ++i) {
        Riri::dllHome home;
        QStringList text{QStringLiteral("B-%1").arg(i), "Lamp", "SN", "X1", "Den", "Shop", "", ""};
        std::vector<double> money{25, 12.5};
        QDateTime date(QDate(2005, 3, 1), QTime(0, 0));
        home.AddItems(text, money, date);
        text = QStringList{
            QStringLiteral("B-%1").arg(i), "Desk lamp", "SN", "X1", "Den", "Shop", "", ""};
        home.UpdateItems(text, money, date);
    }
    return timer.nsecsElapsed();
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int calls = argument(argc, argv, "--calls", 100);
    const int rows = argument(argc, argv, "--rows", 100000);
    BenchInventory inventory(1000, QStringLiteral(QUORVANE_PRISTINE_DB));
    const QString with = inventory.database();
    Riri::InventorySchema::bringUpToDate(with);
    const QString without = with + QStringLiteral(".without");
    QFile::copy(with, without);
    sql(without, "DROP TRIGGER trgHistoryItemAdded; DROP TRIGGER trgHistoryItemChanged; "
                 "DROP TRIGGER trgHistoryItemDeleted");
    const QString folder = Riri::componentFolder();

    qint64 bestWith = -1;
    qint64 bestWithout = -1;
    for (int turn = 0; turn < 5; ++turn) {
        Riri::setComponentFolder(folder);
        const qint64 a = writes(calls, turn * calls * 2);
        QFile::rename(with, with + QStringLiteral(".with"));
        QFile::rename(without, with);
        const qint64 b = writes(calls, turn * calls * 2 + calls);
        QFile::rename(with, without);
        QFile::rename(with + QStringLiteral(".with"), with);
        bestWith = bestWith < 0 ? a : std::min(bestWith, a);
        bestWithout = bestWithout < 0 ? b : std::min(bestWithout, b);
    }
    PrintFigure("history.write_ratio", double(bestWith) / double(bestWithout), "(target <= 1.2)");

    // A history of `rows` rows, 1,000 of them changes of item 1.
    sql(with, QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n "
                             "WHERE i < %1) INSERT INTO tblHistory (ChangeDate, What, RowRef, "
                             "Action, Source, Fields) SELECT '2026-01-01 10:00:00', 'Item', "
                             "CASE WHEN i % (%1 / 1000) = 0 THEN 1 ELSE 2 + i % 5000 END, "
                             "'changed', 'Edit Item', 'ItemName=''Lamp ' || i || '''>''Lamp ' "
                             "|| (i + 1) || '''' || char(10) || 'Cost=12.5>13.75' || char(10) "
                             "FROM n")
                  .arg(rows)
                  .toUtf8()
                  .constData());
    std::vector<qint64> times;
    for (int turn = 0; turn < 5; ++turn) {
        frmItemHistory window;
        window.show();
        QEventLoop loop;
        QObject::connect(&window, &frmItemHistory::loaded, &loop, &QEventLoop::quit);
        QElapsedTimer timer;
        timer.start();
        window.showItem(QStringLiteral("A-1"));
        loop.exec();
        times.push_back(timer.nsecsElapsed());
        if (turn == 0) {
            PrintFigure("history.window_rows", window.lvChanges->topLevelItemCount(), "");
        }
    }
    PrintFigure("history.history_rows", rows, "");
    PrintFigure("history.window_ms_1000", MedianMs(times), "(target <= 200 ms)");
    return 0;
}
