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

#include "BenchInventory.h"
#include "frmMain.h"
#include "frmSplash.h"
#include "modMain.h"
#include "platform/Fonts.h"
#include "shared/modGlobal.h"

#include <Riri/ComponentFolder.h>

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

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
// database, that file replaces the installation folder's inventory.
QList<qint64> runChild(int run, const QString& database = QString()) {
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

int main(int argc, char** argv) {
    if (argc == 3 && qstrcmp(argv[1], "--child") == 0) {
        return child(argc, argv, QString::fromLocal8Bit(argv[2]));
    }
    QCoreApplication app(argc, argv);
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
