// How quickly the valuation summary gets its rows for 1,000,000 items, against
// the plain grouped SQL aggregate over the same table. Prints named figures.
#include "BenchInventory.h"
#include "reports/dataReport.h"
#include "reports/rptValuationSummary.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <sqlite3.h>
#include <vector>

namespace {

// The baseline: the rooms' counts and sums with the SQLite API.
qint64 plainAggregate(const QString& file, int* rooms) {
    QElapsedTimer timer;
    timer.start();
    sqlite3* db = nullptr;
    sqlite3_open_v2(file.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db,
                       "SELECT RoomName, COUNT(*), SUM(Cost), SUM(CurValue) FROM tblItems "
                       "GROUP BY RoomName ORDER BY RoomName",
                       -1, &stmt, nullptr);
    *rooms = 0;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        ++*rooms;
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return timer.nsecsElapsed();
}

// The summary's rows: read through the reports' data source and laid out.
qint64 summaryRows(int* rooms) {
    QElapsedTimer timer;
    timer.start();
    DataReport& data = dataReportInstance();
    data.cmdValuationSummary();
    rptValuationSummary report(*data.rscmdValuationSummary, data.rscmdOwner.get());
    const qint64 elapsed = timer.nsecsElapsed();
    *rooms = static_cast<int>(report.groups().front().rows->rowCount());
    return elapsed;
}

double median(std::vector<qint64> values) {
    std::sort(values.begin(), values.end());
    return static_cast<double>(values[values.size() / 2]) / 1e6;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    BenchInventory inventory(1000000, QStringLiteral(QUORVANE_PRISTINE_DB));
    int plainRooms = 0;
    int summaryRoomCount = 0;
    std::vector<qint64> plain;
    std::vector<qint64> summary;
    plainAggregate(inventory.database(), &plainRooms); // warm the file cache
    for (int run = 0; run < 5; ++run) {
        plain.push_back(plainAggregate(inventory.database(), &plainRooms));
        summary.push_back(summaryRows(&summaryRoomCount));
    }
    PrintFigure("summary: plain grouped aggregate, 1,000,000 items (median ms)", median(plain),
                "ms");
    PrintFigure("summary: valuation summary rows, 1,000,000 items (median ms)", median(summary),
                "ms");
    PrintFigure("summary.ratio_1m", median(summary) / median(plain), "");
    std::printf("  (%d rooms by the plain aggregate, %d in the summary)\n", plainRooms,
                summaryRoomCount);
    return 0;
}
