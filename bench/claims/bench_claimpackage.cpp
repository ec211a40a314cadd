// A claim package of N items with three 12-megapixel photos each (N = 300
// for the full figure: bench_claimpackage 300; 10 by default) against the
// least the same work needs: the same photos decoded at their printed size
// and drawn into a QPdfWriter, and the files copied. Prints
// claim.package_ratio_<N>, the package's peak resident memory and the PDF's
// size.
#include "BenchInventory.h"

#include "claims/ClaimPackage.h"
#include "claims/PictureLoader.h"

#include <Riri/ClaimsStore.h>
#include <Riri/EvidenceFiles.h>
#include <Riri/InventorySchema.h>

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <sqlite3.h>

namespace {

constexpr int kPhotosPerItem = 3;

// A 4000 x 3000 photo with a little of everything a camera gives: a
// gradient, shapes and fine noise, different for each number.
QByteArray photo(int number) {
    QImage image(4000, 3000, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient gradient(0, 0, 4000, 3000);
    gradient.setColorAt(0, QColor::fromHsv((number * 37) % 360, 120, 230));
    gradient.setColorAt(1, QColor::fromHsv((number * 37 + 120) % 360, 200, 90));
    painter.fillRect(image.rect(), gradient);
    painter.setPen(QPen(Qt::white, 24));
    for (int i = 0; i < 40; ++i) {
        painter.drawEllipse(QPoint((number * 97 + i * 211) % 4000, (i * 157) % 3000), 200, 140);
    }
    painter.end();
    quint32 seed = 2166136261U ^ static_cast<quint32>(number);
    for (int y = 0; y < 3000; y += 2) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < 4000; x += 3) {
            seed = seed * 1664525U + 1013904223U;
            line[x] ^= (seed >> 24) & 0x0f0f0fU;
        }
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", 88);
    return bytes;
}

// The peak resident memory since the last reset, in KiB (-1 when unknown).
long peakResidentKiB() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) {
        return -1;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:")) {
            return line.mid(6).trimmed().split(' ').first().toLong();
        }
    }
    return -1;
}

// Starts the peak over from the present resident memory.
void resetPeak() {
    QFile refs(QStringLiteral("/proc/self/clear_refs"));
    if (refs.open(QIODevice::WriteOnly)) {
        refs.write("5");
    }
}

struct Fixture {
    qint64 claimId = 0;
    QStringList files; // the store's files, in package order
};

Fixture makeClaim(const QString& database, int items) {
    Riri::InventorySchema::bringUpToDate(database);
    const Riri::EvidenceFiles store(database);
    sqlite3* db = nullptr;
    sqlite3_open(database.toUtf8().constData(), &db);
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    Fixture fixture;
    QList<qint64> refs;
    for (int item = 1; item <= items; ++item) {
        refs.append(item);
        for (int p = 0; p < kPhotosPerItem; ++p) {
            QByteArray bytes = photo(item * kPhotosPerItem + p);
            QBuffer buffer(&bytes);
            buffer.open(QIODevice::ReadOnly);
            const QString sha = store.put(buffer);
            fixture.files.append(store.pathFor(sha));
            const QByteArray sql =
                QStringLiteral("INSERT INTO tblEvidence (ItemRef, Kind, FileName, MediaType, "
                               "Size, Sha256, AddDate) VALUES (%1, 'Photo', 'IMG_%2.jpg', "
                               "'image/jpeg', %3, '%4', '2026-12-01 10:00:00')")
                    .arg(item)
                    .arg(item * 10 + p)
                    .arg(bytes.size())
                    .arg(sha)
                    .toUtf8();
            sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr);
        }
    }
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    Riri::Claim claim;
    claim.eventDate = QDate(2026, 11, 30);
    claim.eventKind = QStringLiteral("Fire");
    claim.claimNumber = QStringLiteral("BENCH-1");
    Riri::ClaimsStore::save(claim);
    Riri::ClaimsStore::addItems(claim.id, refs);
    fixture.claimId = claim.id;
    return fixture;
}

// The baseline: every photo decoded at its printed size (four to a page)
// into a PDF, and every file copied.
qint64 baseline(const Fixture& fixture, const QString& folder) {
    QElapsedTimer timer;
    timer.start();
    QDir(folder).mkpath(QStringLiteral("evidence"));
    {
        QPdfWriter writer(folder + QStringLiteral("/photos.pdf"));
        writer.setResolution(72);
        QPainter painter(&writer);
        const QSizeF box(262, 250);
        for (int i = 0; i < fixture.files.size(); ++i) {
            if (i > 0 && i % 4 == 0) {
                writer.newPage();
            }
            const PictureLoader::Fitted fitted = PictureLoader::load(fixture.files.at(i), box);
            painter.drawImage(
                QRectF(QPointF(36 + (i % 2) * 270, 150 + (i / 2 % 2) * 280), fitted.points),
                fitted.image);
        }
    }
    for (int i = 0; i < fixture.files.size(); ++i) {
        QFile::copy(fixture.files.at(i), folder + QStringLiteral("/evidence/%1.jpg").arg(i));
    }
    return timer.nsecsElapsed();
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int items = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : 10;
    BenchInventory inventory(items, QStringLiteral(QUORVANE_PRISTINE_DB));
    std::printf("making %d items with %d photos of 12 MP...\n", items, items * kPhotosPerItem);
    std::fflush(stdout);
    const Fixture fixture = makeClaim(inventory.database(), items);

    QTemporaryDir out;
    const qint64 base = baseline(fixture, out.filePath(QStringLiteral("baseline")));

    resetPeak();
    long peakKiB = ResidentKiB();
    QElapsedTimer timer;
    timer.start();
    const QString target = out.filePath(QStringLiteral("package"));
    ClaimPackage::write(fixture.claimId, target, [&peakKiB](qint64, qint64) {
        peakKiB = std::max({peakKiB, ResidentKiB(), peakResidentKiB()});
        return true;
    });
    const qint64 package = timer.nsecsElapsed();
    peakKiB = std::max({peakKiB, ResidentKiB(), peakResidentKiB()});

    const QByteArray suffix = QByteArray::number(items);
    PrintFigure("claim: baseline, photos drawn and copied (ms)", base / 1e6, "ms");
    PrintFigure("claim: package written (ms)", package / 1e6, "ms");
    PrintFigure(QByteArray("claim.package_ratio_" + suffix + " (target <= 1.5)").constData(),
                static_cast<double>(package) / static_cast<double>(base), "");
    PrintFigure("claim.package_peak_rss_mb (target < 500)", peakKiB / 1024.0, "MB");
    PrintFigure(QByteArray("claim.pdf_mb_" + suffix).constData(),
                QFileInfo(target + QStringLiteral("/claim.pdf")).size() / 1e6, "MB");
    PrintFigure("claim: baseline PDF (MB)",
                QFileInfo(out.filePath(QStringLiteral("baseline/photos.pdf"))).size() / 1e6, "MB");
    return 0;
}
