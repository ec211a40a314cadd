// Measures the backup archive of an inventory with evidence against the same
// work done the plain way, and prints one named figure:
//   backup.archive_ratio_2gb  BackupArchive::backUp (the archive written,
//                             forced to the disk, read back and checked)
//                             vs one shell run of `sqlite3 FILE ".backup
//                             COPY"`, `cp` of the evidence files and
//                             `sha256sum` of the copies
// The evidence is incompressible, as photos are, in files of --file-mb MB.
// Each side runs --rounds times, taking turns with the other; the best time
// counts. The figure's size is --mb 2048; the default is smaller so that a
// run takes about a minute.
//
// bench_archive [--mb N] [--file-mb N] [--items N] [--rounds N]

#include "BenchInventory.h"

#include <Riri/BackupArchive.h>
#include <Riri/EvidenceFiles.h>
#include <Riri/InventorySchema.h>

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <sqlite3.h>

namespace {

int option(const QStringList& arguments, const QString& name, int fallback) {
    const qsizetype at = arguments.indexOf(name);
    return at >= 0 && at + 1 < arguments.size() ? arguments.at(at + 1).toInt() : fallback;
}

// Stores `files` files of `bytes` random bytes each and attaches them to the
// items in turn.
void attachEvidence(const QString& database, int files, qint64 bytes, int items) {
    const Riri::EvidenceFiles store(database);
    sqlite3* db = nullptr;
    sqlite3_open(database.toUtf8().constData(), &db);
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db,
                       "INSERT INTO tblEvidence (ItemRef, Kind, FileName, MediaType, Size, Sha256, "
                       "AddDate) VALUES (?, 'Photo', 'photo.jpg', 'image/jpeg', ?, ?, "
                       "'2026-12-07 10:00:00')",
                       -1, &insert, nullptr);
    QByteArray content(bytes, Qt::Uninitialized);
    for (int n = 0; n < files; ++n) {
        QRandomGenerator::global()->fillRange(reinterpret_cast<quint32*>(content.data()),
                                              content.size() / 4);
        QBuffer source(&content);
        source.open(QIODevice::ReadOnly);
        const QByteArray sha256 = store.put(source).toLatin1();
        sqlite3_bind_int(insert, 1, 1 + n % std::max(1, items));
        sqlite3_bind_int64(insert, 2, bytes);
        sqlite3_bind_text(insert, 3, sha256.constData(), -1, SQLITE_TRANSIENT);
        if (sqlite3_step(insert) != SQLITE_DONE) {
            std::fprintf(stderr, "cannot attach: %s\n", sqlite3_errmsg(db));
            std::exit(1);
        }
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

double timedMs(const std::function<void()>& work) {
    QElapsedTimer timer;
    timer.start();
    work();
    return double(timer.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    const int megabytes = option(arguments, QStringLiteral("--mb"), 200);
    const int fileMegabytes = std::max(1, option(arguments, QStringLiteral("--file-mb"), 8));
    const int items = option(arguments, QStringLiteral("--items"), 2000);
    const int rounds = std::max(1, option(arguments, QStringLiteral("--rounds"), 3));

    const BenchInventory inventory(items, QStringLiteral(QUORVANE_PRISTINE_DB));
    Riri::InventorySchema::bringUpToDate(inventory.database()); // as start-up does
    attachEvidence(inventory.database(), std::max(1, megabytes / fileMegabytes),
                   qint64(fileMegabytes) << 20, items);
    const QString store = Riri::EvidenceFiles(inventory.database()).folder();

    QTemporaryDir out;
    const QString archive = out.filePath(QStringLiteral("backup.zip"));
    const QString copies = out.filePath(QStringLiteral("plain"));
    const QString script =
        QStringLiteral("set -e; rm -rf '%1'; mkdir -p '%1/evidence'; sqlite3 '%2' \".backup "
                       "'%1/copy.inv'\"; cp '%3'/* '%1/evidence/'; sha256sum '%1/evidence'/* "
                       "> /dev/null")
            .arg(copies, inventory.database(), store);
    double ours = 1e300;
    double plain = 1e300;
    for (int round = 0; round < rounds; ++round) {
        QFile::remove(archive);
        ours = std::min(ours, timedMs([&] { Riri::BackupArchive::backUp(archive); }));
        plain = std::min(
            plain, timedMs([&] {
                if (QProcess::execute(QStringLiteral("sh"), {QStringLiteral("-c"), script}) != 0) {
                    std::fprintf(stderr, "the plain backup failed\n");
                    std::exit(1);
                }
            }));
    }
    std::printf("evidence: %d MB in files of %d MB, %d items; best of %d\n", megabytes,
                fileMegabytes, items, rounds);
    PrintFigure("backup.archive_ms", ours, "ms");
    PrintFigure("backup.plain_ms", plain, "ms");
    PrintFigure("backup.archive_ratio_2gb", ours / plain, "(target <= 2)");
    return 0;
}
