// bench_offsite [--full] [--items N] [--evidence-mb M]
//
// offsite.ratio_100k: an encrypted off-site copy of an inventory against the
// verified backup archive of the same, in one run: both written, read back
// and verified in full; the key derivation (timed on its own and printed
// beside) is left out of the copy's time. By default 10,000 items with 50 MB
// of evidence; --full is 100,000 items with 500 MB.

#include "BenchInventory.h"

#include <Riri/BackupArchive.h>
#include <Riri/EvidenceFiles.h>
#include <Riri/InventorySchema.h>
#include <Riri/OffsiteCopies.h>
#include <Riri/OffsiteKey.h>

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <sqlite3.h>

namespace {

constexpr int kFileBytes = 2 * 1000 * 1000;

// Attaches `files` files of random bytes (as incompressible as photos) to
// the first items, through the store and plain SQL.
bool addEvidence(const QString& database, int files) {
    Riri::InventorySchema::bringUpToDate(database);
    const Riri::EvidenceFiles store(database);
    QRandomGenerator random(20261207);
    QByteArray bytes(kFileBytes, '\0');
    sqlite3* db = nullptr;
    if (sqlite3_open(database.toUtf8().constData(), &db) != SQLITE_OK) {
        return false;
    }
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    bool ok = true;
    for (int n = 0; n < files && ok; ++n) {
        random.fillRange(reinterpret_cast<quint32*>(bytes.data()), kFileBytes / 4);
        QBuffer source(&bytes);
        source.open(QIODevice::ReadOnly);
        const QString sha256 = store.put(source);
        const QByteArray sql =
            QStringLiteral("INSERT INTO tblEvidence (ItemRef, Kind, FileName, MediaType, Size, "
                           "Sha256, AddDate) VALUES (%1, 'Photo', 'photo%1.jpg', 'image/jpeg', "
                           "%2, '%3', '2026-12-07 10:00:00')")
                .arg(n + 1)
                .arg(kFileBytes)
                .arg(sha256)
                .toUtf8();
        ok = sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr) == SQLITE_OK;
    }
    ok = sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK && ok;
    sqlite3_close(db);
    return ok;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    const bool full = args.contains(QStringLiteral("--full"));
    int items = full ? 100000 : 10000;
    int megabytes = full ? 500 : 50;
    for (int i = 1; i + 1 < args.size(); ++i) {
        if (args[i] == QStringLiteral("--items")) {
            items = args[i + 1].toInt();
        } else if (args[i] == QStringLiteral("--evidence-mb")) {
            megabytes = args[i + 1].toInt();
        }
    }
    std::printf("offsite: %d items, %d MB of evidence\n", items, megabytes);
    BenchInventory inventory(items, QStringLiteral(QUORVANE_PRISTINE_DB));
    if (!addEvidence(inventory.database(), megabytes * 1000 * 1000 / kFileBytes)) {
        std::fprintf(stderr, "the evidence could not be added\n");
        return 1;
    }
    QTemporaryDir away;
    const QString passphrase = QStringLiteral("correct horse battery staple");

    QElapsedTimer timer;
    double deriveMs = 0;

    // Each measured twice, alternating, and the better time of each kept, so
    // that neither profits alone from a warm page cache.
    double plainMs = 1e300;
    double copyMs = 1e300;
    for (int round = 0; round < 2; ++round) {
        timer.restart();
        Riri::BackupArchive::backUp(away.filePath(QStringLiteral("plain-%1.zip").arg(round)));
        plainMs = std::min(plainMs, static_cast<double>(timer.nsecsElapsed()) / 1e6);
        // The copy derives its key once, with a salt of its own; the same
        // derivation timed just before stands for it.
        timer.restart();
        Riri::OffsiteKey::derive(passphrase, Riri::KeyLimits::moderate());
        deriveMs = static_cast<double>(timer.nsecsElapsed()) / 1e6;
        timer.restart();
        Riri::OffsiteCopies::write(away.path(), passphrase, 10, {}, nullptr,
                                   QDateTime::currentDateTime().addSecs(round));
        copyMs = std::min(copyMs, static_cast<double>(timer.nsecsElapsed()) / 1e6 - deriveMs);
    }
    PrintFigure("offsite.plain_archive_ms", plainMs, "ms");
    PrintFigure("offsite.encrypted_copy_ms (key derivation left out)", copyMs, "ms");
    PrintFigure("offsite.key_derivation_ms", deriveMs, "ms");
    std::printf("offsite.ratio_100k %.3f (target <= 1.3; key derivation %.0f ms beside it)\n",
                copyMs / plainMs, deriveMs);
    return 0;
}
