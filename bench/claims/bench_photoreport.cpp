// The first preview page of "Inventory with Photos" for 10,000 items, half
// of them with a photo: reading, laying out and drawing page one, as the
// report command and its preview do. Prints photos.report_first_page_ms_10k
// (the median of five runs). An argument gives another number of items.
#include "BenchInventory.h"

#include "reports/dataReport.h"
#include "reports/rptInventoryPhotos.h"

#include <Riri/InventorySchema.h>

#include <QApplication>
#include <QBuffer>
#include <QElapsedTimer>
#include <QImage>
#include <algorithm>
#include <sqlite3.h>
#include <vector>

namespace {

// A 256 x 192 thumbnail, as the evidence store keeps them, on every other item.
void addThumbnails(const QString& database, int items) {
    QImage image(256, 192, QImage::Format_RGB32);
    image.fill(QColor(90, 140, 200));
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", 80);
    sqlite3* db = nullptr;
    sqlite3_open(database.toUtf8().constData(), &db);
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db,
                       "INSERT INTO tblEvidence (ItemRef, Kind, FileName, MediaType, Size, "
                       "Sha256, AddDate, Thumbnail) VALUES (?, 'Photo', 'p.jpg', 'image/jpeg', "
                       "1, 'x', '2026-12-01 10:00:00', ?)",
                       -1, &stmt, nullptr);
    for (int item = 1; item <= items; item += 2) {
        sqlite3_bind_int(stmt, 1, item);
        sqlite3_bind_blob(stmt, 2, jpeg.constData(), static_cast<int>(jpeg.size()), SQLITE_STATIC);
        sqlite3_step(stmt);
        sqlite3_reset(stmt);
    }
    sqlite3_finalize(stmt);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

qint64 firstPage() {
    QElapsedTimer timer;
    timer.start();
    DataReport& data = dataReportInstance();
    data.cmdPhotoInventory();
    rptInventoryPhotos report(*data.rscmdPhotoInventory, data.rscmdOwner.get(),
                              &rptInventoryPhotos::storedThumbnail);
    const QImage page = report.renderPage(0, 96);
    const qint64 elapsed = timer.nsecsElapsed();
    releaseDataReport();
    return page.isNull() ? -1 : elapsed;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int items = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : 10000;
    BenchInventory inventory(items, QStringLiteral(QUORVANE_PRISTINE_DB));
    Riri::InventorySchema::bringUpToDate(inventory.database());
    addThumbnails(inventory.database(), items);
    firstPage(); // warm the file cache
    std::vector<qint64> runs;
    for (int run = 0; run < 5; ++run) {
        runs.push_back(firstPage());
    }
    PrintFigure(items == 10000 ? "photos.report_first_page_ms_10k (target <= 1000)"
                               : "photos.report_first_page_ms",
                MedianMs(runs), "ms");
    return 0;
}
