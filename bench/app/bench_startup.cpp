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
//
// Usage: bench_startup [RUNS]   (default 3; each run takes about 8 seconds)

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
    StartupSeams seams;
    seams.splashPause = [&progress](int seconds) {
        const qint64 start = nowMs();
        const bool result = Pause(seconds);
        progress += nowMs() - start;
        return result;
    };
    const bool shown = Main(seams);
    const qint64 mainShown = nowMs();
    std::printf("%lld %lld %lld %d\n", static_cast<long long>(watch.splashPainted),
                static_cast<long long>(mainShown), static_cast<long long>(progress), shown ? 1 : 0);
    std::fflush(stdout);
    std::_Exit(0);
}

qint64 median(QList<qint64> values) {
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? 0 : values.at(values.size() / 2);
}

} // namespace

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
        QTemporaryDir folder;
        QTemporaryDir runtime;
        QProcess::execute(
            QStringLiteral("cp"),
            {QStringLiteral("-r"), QStringLiteral(QUORVANE_INSTALL_DIR "/."), folder.path()});
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
        if (!process.waitForFinished(60000)) {
            std::fprintf(stderr, "run %d: the child did not finish\n", run + 1);
            process.kill();
            return 1;
        }
        const QList<QByteArray> figures = process.readAllStandardOutput().trimmed().split(' ');
        if (figures.size() != 4 || figures[3] != "1") {
            std::fprintf(stderr, "run %d: start-up did not show the main window\n", run + 1);
            return 1;
        }
        const qint64 splash = figures[0].toLongLong() - start;
        const qint64 main = figures[1].toLongLong() - start;
        const qint64 progress = figures[2].toLongLong();
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
    return 0;
}
