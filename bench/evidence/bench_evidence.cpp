// How long adding photos to an item takes against copying and hashing the
// same files with the shell's tools, and how quickly the Item Evidence window
// shows 40 attachments. Prints named figures; asserts nothing.
//
//   bench_evidence [PHOTOS]    PHOTOS generated 12-megapixel JPEGs (20 unless
//                              given; 200 for the full figure)
#include "BenchInventory.h"
#include "evidence/EvidenceIntake.h"
#include "evidence/frmItemEvidence.h"

#include <Riri/EvidenceStore.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>
#include <random>
#include <vector>

namespace {

// A photo-like picture: smooth light, a few shapes and grain, so that it
// compresses as a camera's JPEG does (a few megabytes at 12 megapixels).
QImage photoLike(const QSize& size) {
    QImage image(size, QImage::Format_RGB32);
    std::mt19937 random(1207);
    for (int y = 0; y < size.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            const int grain = int(random() % 24);
            line[x] = qRgb((x * 200 / size.width() + grain) & 255,
                           (y * 180 / size.height() + grain) & 255, (90 + grain) & 255);
        }
    }
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i < 40; ++i) {
        painter.setBrush(QColor::fromHsv(i * 9 % 360, 160, 200));
        painter.drawEllipse(
            QPoint(int(random() % unsigned(size.width())), int(random() % unsigned(size.height()))),
            size.width() / 20, size.height() / 20);
    }
    return image;
}

// Writes `count` different JPEGs of the base picture (each with its number
// drawn in, so every file has a hash of its own) and returns their paths.
QStringList writePhotos(const QString& folder, int count, const QImage& base) {
    QStringList paths;
    for (int i = 0; i < count; ++i) {
        QImage photo = base;
        QPainter painter(&photo);
        painter.setFont(QFont(QStringLiteral("DejaVu Sans"), 96));
        painter.drawText(100, 300, QStringLiteral("Photo %1").arg(i));
        painter.end();
        const QString path =
            QDir(folder).filePath(QStringLiteral("IMG_%1.jpg").arg(i, 4, 10, QChar(u'0')));
        photo.save(path, "JPEG", 92);
        paths << path;
    }
    return paths;
}

qint64 fileBytes(const QStringList& paths) {
    qint64 bytes = 0;
    for (const QString& path : paths) {
        bytes += QFileInfo(path).size();
    }
    return bytes;
}

// Storing the files alone, without reading their facts: the share of the
// store in adding them.
qint64 storeOnly(const QStringList& paths) {
    const BenchInventory inventory(10, QStringLiteral(QUORVANE_PRISTINE_DB));
    QList<Riri::NewAttachment> files;
    for (const QString& path : paths) {
        Riri::NewAttachment file;
        file.sourcePath = path;
        files.append(file);
    }
    QElapsedTimer timer;
    timer.start();
    Riri::EvidenceStore().add(Riri::EvidenceStore().itemRefOf(QStringLiteral("A-1")), files);
    return timer.nsecsElapsed();
}

void addRatio(int photos) {
    QTemporaryDir sources;
    std::fprintf(stderr, "writing %d photos of 12 megapixels...\n", photos);
    const QStringList paths = writePhotos(sources.path(), photos, photoLike(QSize(4000, 3000)));

    // The shell's tools: every file copied, then all of them hashed, in one run.
    QTemporaryDir copies;
    QStringList arguments{
        QStringLiteral("-c"),
        QStringLiteral("cp \"$@\" '%1'/ && sha256sum '%1'/* > /dev/null").arg(copies.path()),
        QStringLiteral("sh")};
    arguments << paths;
    QElapsedTimer timer;
    timer.start();
    QProcess::execute(QStringLiteral("sh"), arguments);
    const qint64 shell = timer.nsecsElapsed();
    const qint64 store = storeOnly(paths);

    const BenchInventory inventory(10, QStringLiteral(QUORVANE_PRISTINE_DB));
    const qint64 itemRef = Riri::EvidenceStore().itemRefOf(QStringLiteral("A-1"));
    timer.restart();
    const EvidenceIntake::Outcome outcome = EvidenceIntake::add(itemRef, paths, {}, {});
    const qint64 added = timer.nsecsElapsed();

    std::printf("evidence.add_photos %d (%lld MB, %lld stored)\n", photos,
                fileBytes(paths) / 1000000, static_cast<long long>(outcome.added.size()));
    std::printf("evidence.add_ms %.0f\n", added / 1e6);
    std::printf("evidence.copy_hash_ms %.0f\n", shell / 1e6);
    std::printf("evidence.store_only_ms %.0f (the files without their facts)\n", store / 1e6);
    std::printf("evidence.add_ratio %.2f (target <= 3)\n", double(added) / double(shell));
}

void windowForty() {
    BenchInventory inventory(10, QStringLiteral(QUORVANE_PRISTINE_DB));
    QTemporaryDir sources;
    // Phone-sized photos: the window shows their stored thumbnails only.
    const QStringList paths = writePhotos(sources.path(), 40, photoLike(QSize(1600, 1200)));
    const qint64 itemRef = Riri::EvidenceStore().itemRefOf(QStringLiteral("A-1"));
    EvidenceIntake::add(itemRef, paths, {}, {});

    std::vector<qint64> times;
    for (int run = 0; run < 15; ++run) {
        QElapsedTimer timer;
        timer.start();
        auto* window = new frmItemEvidence(itemRef);
        window->show();
        // Painted once, every visible thumbnail included.
        const QPixmap shown = window->grab();
        times.push_back(timer.nsecsElapsed());
        delete window;
        QApplication::processEvents();
    }
    std::printf("evidence.window_ms_40 %.1f (target <= 150)\n", MedianMs(times));
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int photos = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : 20;
    addRatio(photos);
    windowForty();
    return 0;
}
