// Start-up timings, measured on whole processes.
//
// The benchmark starts itself again as a child that runs the program's real
// start-up (splash with its progress run, main window) in a copy of the
// build tree's installation folder, and reports, from the moment the child
// process was started:
//   splash_painted_ms      the splash window's first paint
//   main_shown_ms          the main window shown
//   progress_run_ms        the time spent in the splash's eight pauses
//   main_shown_net_ms      main_shown_ms less the progress run
// Target: the splash is painted within 300 ms of the start.
// Then the same start with an inventory of 1,000,000 items (its check and
// the day's automatic copy are due) and reports
//   startup.after_splash_ms_1m  the main window shown less the end of the
//                               splash's last pause; target 500 ms
//
// Usage: bench_startup [RUNS]   (default 3; each run takes about 8 seconds)
//
// With --evidence [MB [RUNS]] (default 256 MB, 2048 for the full figure) it only
// compares start-up with an inventory whose items have MB megabytes of
// evidence files in the store (named by its rows, the day's sweep due)
// against the same inventory without them, RUNS pairs, and reports
//   startup.evidence_ratio_2gb  main_shown_net_ms with the files against
//                               without; target 1.1

#include "BenchInventory.h"
#include "frmMain.h"
#include "frmSplash.h"
#include "modMain.h"
#include "platform/Fonts.h"
#include "shared/modGlobal.h"

#include <Riri/ComponentFolder.h>
#include <Riri/InventorySchema.h>

#include <QApplication>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <random>
#include <sqlite3.h>

namespace {

qint64 nowMs() {
    return QDateTime::currentMSecsSinceEpoch();
}

// Notes the first paint of the splash window.
class PaintWatch : public QObject {
public:
    qint64 splashPainted = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (splashPainted == 0 && event->type() == QEvent::Paint &&
            qobject_cast<frmSplash*>(watched) != nullptr) {
            splashPainted = nowMs();
        }
        return QObject::eventFilter(watched, event);
    }
};

int child(int argc, char** argv, const QString& folder) {
    QApplication app(argc, argv);
    Fonts::registerSubstitutes();
    setProgramFolder(folder);
    Riri::setComponentFolder(folder);
    PaintWatch watch;
    app.installEventFilter(&watch);
    qint64 progress = 0;
    qint64 pauseEnd = 0;
    StartupSeams seams;
    seams.splashPause = [&progress, &pauseEnd](int seconds) {
        const qint64 start = nowMs();
        const bool result = Pause(seconds);
        pauseEnd = nowMs();
        progress += pauseEnd - start;
        return result;
    };
    const bool shown = Main(seams);
    const qint64 mainShown = nowMs();
    std::printf("%lld %lld %lld %d %lld\n", static_cast<long long>(watch.splashPainted),
                static_cast<long long>(mainShown), static_cast<long long>(progress), shown ? 1 : 0,
                static_cast<long long>(pauseEnd));
    std::fflush(stdout);
    std::_Exit(0);
}

qint64 median(QList<qint64> values) {
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? 0 : values.at(values.size() / 2);
}

} // namespace

// The figures of one start-up in a child process: splash painted, main
// window shown (both from the start), the progress run and the end of the
// splash's last pause (as a time). Empty when the child failed. With a
// database, that file replaces the installation folder's inventory; with an
// evidence folder, its files are linked into the installation's store.
QList<qint64> runChild(int run, const QString& database = QString(),
                       const QString& evidence = QString()) {
    QTemporaryDir folder;
    QTemporaryDir runtime;
    QProcess::execute(
        QStringLiteral("cp"),
        {QStringLiteral("-r"), QStringLiteral(QUORVANE_INSTALL_DIR "/."), folder.path()});
    if (!database.isEmpty()) {
        const QString inventory = folder.path() + QStringLiteral("/home/inv.inv");
        QFile::remove(inventory);
        QFile::copy(database, inventory);
    }
    if (!evidence.isEmpty()) {
        QProcess::execute(QStringLiteral("cp"),
                          {QStringLiteral("-al"), evidence, folder.path() + "/home/evidence"});
    }
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    if (!environment.contains(QStringLiteral("DISPLAY")) &&
        !environment.contains(QStringLiteral("WAYLAND_DISPLAY"))) {
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    }
    process.setProcessEnvironment(environment);
    const qint64 start = nowMs();
    process.start(QCoreApplication::applicationFilePath(),
                  {QStringLiteral("--child"), folder.path()});
    if (!process.waitForFinished(120000)) {
        std::fprintf(stderr, "run %d: the child did not finish\n", run);
        process.kill();
        return {};
    }
    const QList<QByteArray> figures = process.readAllStandardOutput().trimmed().split(' ');
    if (figures.size() != 5 || figures[3] != "1") {
        std::fprintf(stderr, "run %d: start-up did not show the main window\n", run);
        return {};
    }
    return {figures[0].toLongLong() - start, figures[1].toLongLong() - start,
            figures[2].toLongLong(), figures[4].toLongLong() - start};
}

// An inventory of 1,000 items, the first of them with the files of folder
// (made here: megabytes of random content in files of 8 MB) attached.
QString evidenceInventory(const QString& folder, int megabytes) {
    const QString database = folder + QStringLiteral("/inv.inv");
    QFile::copy(QStringLiteral(QUORVANE_PRISTINE_DB), database);
    QFile::setPermissions(database, QFile::ReadOwner | QFile::WriteOwner);
    Riri::InventorySchema::bringUpToDate(database);
    QDir().mkpath(folder + QStringLiteral("/evidence"));
    sqlite3* db = nullptr;
    sqlite3_open(database.toUtf8().constData(), &db);
    sqlite3_exec(db,
                 "BEGIN; WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < "
                 "1000) INSERT INTO tblItems (ItemID, ItemName, RoomName, Cost, AddDate) SELECT "
                 "'A-' || i, 'Item ' || i, 'Den', i, '2026-11-30 09:15:00' FROM n",
                 nullptr, nullptr, nullptr);
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db,
                       "INSERT INTO tblEvidence (ItemRef, Kind, FileName, MediaType, Size, Sha256, "
                       "AddDate) VALUES (?, 'Photo', 'photo.jpg', 'image/jpeg', ?, ?, "
                       "'2026-12-01 10:00:00')",
                       -1, &insert, nullptr);
    std::mt19937_64 random(20261207);
    const int fileMb = 8;
    QByteArray content(fileMb * 1024 * 1024, '\0');
    for (int made = 0; made < megabytes; made += fileMb) {
        auto* words = reinterpret_cast<std::uint64_t*>(content.data());
        for (qsizetype w = 0; w < content.size() / 8; ++w) {
            words[w] = random();
        }
        const QByteArray hash =
            QCryptographicHash::hash(content, QCryptographicHash::Sha256).toHex();
        QFile file(folder + QStringLiteral("/evidence/") + QString::fromLatin1(hash));
        file.open(QIODevice::WriteOnly);
        file.write(content);
        file.close();
        sqlite3_bind_int64(insert, 1, 1 + made / fileMb % 1000);
        sqlite3_bind_int64(insert, 2, content.size());
        sqlite3_bind_text(insert, 3, hash.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_step(insert);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    return database;
}

// Start-up with the inventory's evidence files in the store against the
// same inventory without them.
int evidenceStartup(int runs, int megabytes) {
    std::printf("making an inventory with %d MB of evidence...\n", megabytes);
    std::fflush(stdout);
    QTemporaryDir made;
    const QString database = evidenceInventory(made.path(), megabytes);
    QList<qint64> with;
    QList<qint64> without;
    for (int run = 0; run < runs; ++run) {
        // Each pair in turn the other way round.
        for (const bool files : {run % 2 == 0, run % 2 != 0}) {
            const QList<qint64> figures =
                runChild(run + 1, database, files ? made.path() + "/evidence" : QString());
            if (figures.isEmpty()) {
                return 1;
            }
            (files ? with : without).append(figures[1] - figures[2]);
            std::printf("run %d %s evidence: main_shown_net_ms=%lld\n", run + 1,
                        files ? "with" : "without",
                        static_cast<long long>(figures[1] - figures[2]));
        }
    }
    std::printf("main_shown_net_ms: %lld with %d MB of evidence, %lld without (medians of %d)\n",
                static_cast<long long>(median(with)), megabytes,
                static_cast<long long>(median(without)), runs);
    std::printf("startup.evidence_ratio_2gb=%.3f (target 1.1; %d MB%s)\n",
                static_cast<double>(median(with)) / static_cast<double>(median(without)), megabytes,
                megabytes < 2048 ? ", bench_startup --evidence 2048 for the full size" : "");
    return 0;
}

int main(int argc, char** argv) {
    if (argc == 3 && qstrcmp(argv[1], "--child") == 0) {
        return child(argc, argv, QString::fromLocal8Bit(argv[2]));
    }
    QCoreApplication app(argc, argv);
    if (argc > 1 && qstrcmp(argv[1], "--evidence") == 0) {
        const int megabytes = argc > 2 ? std::max(8, atoi(argv[2])) : 256;
        const int runs = argc > 3 ? std::max(1, atoi(argv[3])) : 3;
        return evidenceStartup(runs, megabytes);
    }
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 3;
    QList<qint64> painted;
    QList<qint64> netShown;
    QList<qint64> shown;
    QList<qint64> progressRuns;
    for (int run = 0; run < runs; ++run) {
        const QList<qint64> figures = runChild(run + 1);
        if (figures.isEmpty()) {
            return 1;
        }
        const qint64 splash = figures[0];
        const qint64 main = figures[1];
        const qint64 progress = figures[2];
        painted.append(splash);
        shown.append(main);
        progressRuns.append(progress);
        netShown.append(main - progress);
        std::printf("run %d: splash_painted_ms=%lld main_shown_ms=%lld progress_run_ms=%lld "
                    "main_shown_net_ms=%lld\n",
                    run + 1, static_cast<long long>(splash), static_cast<long long>(main),
                    static_cast<long long>(progress), static_cast<long long>(main - progress));
    }
    std::printf("median over %d runs: splash_painted_ms=%lld (target 300) main_shown_ms=%lld "
                "progress_run_ms=%lld main_shown_net_ms=%lld\n",
                runs, static_cast<long long>(median(painted)),
                static_cast<long long>(median(shown)), static_cast<long long>(median(progressRuns)),
                static_cast<long long>(median(netShown)));

    // A million items: the check and the day's copy of the whole file run
    // while the splash shows.
    std::printf("making an inventory of 1,000,000 items...\n");
    std::fflush(stdout);
    const BenchInventory large(1000000, QStringLiteral(QUORVANE_PRISTINE_DB));
    QList<qint64> afterSplash;
    for (int run = 0; run < runs; ++run) {
        const QList<qint64> figures = runChild(run + 1, large.database());
        if (figures.isEmpty()) {
            return 1;
        }
        afterSplash.append(figures[1] - figures[3]);
        std::printf("run %d (1m): splash_painted_ms=%lld main_shown_ms=%lld after_splash_ms=%lld\n",
                    run + 1, static_cast<long long>(figures[0]), static_cast<long long>(figures[1]),
                    static_cast<long long>(figures[1] - figures[3]));
    }
    std::printf("startup.after_splash_ms_1m=%lld (target 500, median of %d)\n",
                static_cast<long long>(median(afterSplash)), runs);
    return 0;
}
