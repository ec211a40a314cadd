// How much the items' evidence costs the lists: the find window (which
// reads each item's number of attachments, photos and captions with its
// list) and the edit item window, filled on 100,000 items with 20,000
// attachments (thumbnails of 12 KB, as the store keeps them) against the
// same items without any. Prints named figures; asserts nothing.
//
//   bench_evidence_lists [ITEMS [ATTACHMENTS]]   default 100000 20000
#include "BenchInventory.h"
#include "FirstRows.h"
#include "items/frmEditItem.h"
#include "items/frmFindItems.h"
#include "shared/modGlobal.h"

#include <Riri/ComponentFolder.h>
#include <Riri/InventorySchema.h>
#include <Riri/MsgBox.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <random>
#include <sqlite3.h>

namespace {

// Adds attachment rows to random items: mostly photos, some with captions.
void addEvidence(const QString& file, int items, int attachments) {
    static const char* const kinds[] = {"Photo", "Photo",  "Photo",    "Receipt",
                                        "Photo", "Manual", "Warranty", "Serial label"};
    static const char* const captions[] = {"",
                                           "Front view",
                                           "Scratch on the left side",
                                           "Receipt from the shop",
                                           "",
                                           "Serial plate on the back",
                                           "Box and manual",
                                           ""};
    std::mt19937 random(20261207);
    sqlite3* db = nullptr;
    sqlite3_open(file.toUtf8().constData(), &db);
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db,
                       "INSERT INTO tblEvidence (ItemRef, Kind, Caption, FileName, MediaType, "
                       "Size, Sha256, Width, Height, AddDate, Thumbnail) VALUES (?, ?, ?, ?, "
                       "'image/jpeg', 2400000, ?, 4000, 3000, '2026-12-01 10:00:00', ?)",
                       -1, &stmt, nullptr);
    QByteArray thumbnail(12 * 1024, '\0');
    for (int i = 0; i < attachments; ++i) {
        for (char& byte : thumbnail) {
            byte = static_cast<char>(random());
        }
        const QByteArray name = QByteArray("IMG_") + QByteArray::number(i) + ".jpg";
        const QByteArray hash = QByteArray::number(i).rightJustified(64, '0');
        sqlite3_bind_int64(stmt, 1, 1 + static_cast<int>(random() % static_cast<unsigned>(items)));
        sqlite3_bind_text(stmt, 2, kinds[i % 8], -1, SQLITE_STATIC);
        sqlite3_bind_text(stmt, 3, captions[(i / 8) % 8], -1, SQLITE_STATIC);
        sqlite3_bind_text(stmt, 4, name.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(stmt, 5, hash.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_blob(stmt, 6, thumbnail.constData(), static_cast<int>(thumbnail.size()),
                          SQLITE_TRANSIENT);
        sqlite3_step(stmt);
        sqlite3_reset(stmt);
    }
    sqlite3_finalize(stmt);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

// Opens the window on the inventory of folder and lets its list read to the
// end; nanoseconds. With evidence, also the time until the photos and
// captions the find window reads after its list are there.
template <class Window> qint64 fillList(const QString& folder, qint64* evidence = nullptr) {
    Riri::setComponentFolder(folder);
    setProgramFolder(folder);
    QElapsedTimer timer;
    timer.start();
    auto* window = new Window;
    window->show();
    readToEnd(*window->lvItems);
    const qint64 elapsed = timer.nsecsElapsed();
    while (window->lvItems->isReadingEvidence()) {
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    if (evidence != nullptr) {
        *evidence = timer.nsecsElapsed();
    }
    delete window;
    QApplication::processEvents();
    return elapsed;
}

// The median of the ratios of runs made side by side, which the load of
// the machine shifts less than the runs themselves.
double medianRatio(const std::vector<qint64>& with, const std::vector<qint64>& without) {
    std::vector<double> ratios;
    for (size_t i = 0; i < with.size(); ++i) {
        ratios.push_back(static_cast<double>(with[i]) / static_cast<double>(without[i]));
    }
    std::sort(ratios.begin(), ratios.end());
    return ratios[ratios.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    UseOffscreenUnlessSet();
    QApplication app(argc, argv);
    PrintUnexpectedMessages();
    const int items = argc > 1 ? std::max(1, atoi(argv[1])) : 100000;
    const int attachments = argc > 2 ? std::max(0, atoi(argv[2])) : 20000;

    // The same items twice, at the newest schema: once without evidence,
    // once with.
    const BenchInventory without(items, QStringLiteral(QUORVANE_PRISTINE_DB));
    Riri::InventorySchema::bringUpToDate(without.database());
    const QString withoutFolder = QFileInfo(QFileInfo(without.database()).absolutePath()).path();
    QTemporaryDir with;
    QDir(with.path()).mkpath(QStringLiteral("home"));
    const QString withDatabase = with.path() + QStringLiteral("/home/inv.inv");
    QFile::copy(without.database(), withDatabase);
    addEvidence(withDatabase, items, attachments);

    std::vector<qint64> find[2];
    std::vector<qint64> edit[2];
    std::vector<qint64> details;
    const QString folders[2] = {withoutFolder, with.path()};
    for (const QString& folder : folders) { // warm the file cache and the fonts once
        fillList<frmFindItems>(folder);
        fillList<frmEditItem>(folder);
    }
    // Enough pairs that the median holds still: single pairs differ by up to a tenth.
    const int runs = 15;
    for (int run = 0; run < runs; ++run) {
        qint64 ready = 0;
        if (run % 2 == 0) {
            find[0].push_back(fillList<frmFindItems>(folders[0]));
        }
        find[1].push_back(fillList<frmFindItems>(folders[1], &ready));
        details.push_back(ready);
        if (run % 2 == 1) {
            find[0].push_back(fillList<frmFindItems>(folders[0]));
        }
        // Each pair in turn the other way round, so that neither side
        // always runs first.
        const int first = run % 2;
        edit[first].push_back(fillList<frmEditItem>(folders[first]));
        edit[1 - first].push_back(fillList<frmEditItem>(folders[1 - first]));
    }
    const double findRatio = medianRatio(find[1], find[0]);
    const double editRatio = medianRatio(edit[1], edit[0]);
    std::printf("  (%d items, %d attachments; medians of %d runs side by side)\n", items,
                attachments, runs);
    PrintFigure("evidence: find window, no evidence (ms)", MedianMs(find[0]), "ms");
    PrintFigure("evidence: find window, with evidence (ms)", MedianMs(find[1]), "ms");
    PrintFigure("evidence: find, photos and captions too (ms)", MedianMs(details), "ms");
    PrintFigure("evidence: edit window, no evidence (ms)", MedianMs(edit[0]), "ms");
    PrintFigure("evidence: edit window, with evidence (ms)", MedianMs(edit[1]), "ms");
    PrintFigure("evidence: find window ratio", findRatio, "");
    PrintFigure("evidence: edit window ratio", editRatio, "");
    PrintFigure("evidence.lists_ratio_100k (target <= 1.05)", std::max(findRatio, editRatio), "");
    return 0;
}
