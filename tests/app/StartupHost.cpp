// Runs the program's start-up in a process of its own for the start-up
// tests, with every message box written to standard output (and answered
// with its default button) instead of shown.
//
// Usage: startup_host [--packaged] FOLDER [exit]
//        startup_host [--packaged] FOLDER --OPTION...
//   --packaged  the packaged layout: the read-only files in FOLDER, the data
//               in the user's data folder below $XDG_DATA_HOME; without it
//               the layout the build is configured for, with the data in
//               FOLDER
//   FOLDER      the installation folder start-up works in
//   exit        choose Add > eXit once the main window is shown
//   --OPTION... run the command line with these options instead, as the
//               program does when started with them
// Output lines: "BOX <flags>|<caption>|<text with line breaks as \n>",
// "SHOWN <caption>|<working folder>|<data folder>" when the main window is
// shown, and "STOPPED" when start-up stopped without showing it. The process
// ends with 0 when EndProgram or the single-instance check ended it, 3 after
// "SHOWN", 4 after "STOPPED".

#include "frmMain.h"
#include "modMain.h"
#include "shared/modGlobal.h"

#include <Riri/ComponentFolder.h>
#include <Riri/MsgBox.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    const bool packagedLayout = argc > 1 && std::strcmp(argv[1], "--packaged") == 0;
    const int folderAt = packagedLayout ? 2 : 1;
    if (argc > folderAt + 1 && std::strncmp(argv[folderAt + 1], "--", 2) == 0) {
        QCoreApplication app(argc, argv);
        const QString folder = QDir(QString::fromLocal8Bit(argv[folderAt])).absolutePath();
        const Riri::Layout layout =
            packagedLayout ? Riri::Layout::Packaged : Riri::configuredLayout();
        setProgramFolder(folder);
        Riri::setComponentFolder(packagedLayout ? Riri::dataFolder(Riri::Layout::Packaged)
                                                : folder);
        QStringList arguments = QCoreApplication::arguments();
        arguments.remove(1, folderAt); // the program's name, then its options
        return runCommandLine(layout, arguments);
    }
    QApplication app(argc, argv);
    QStringList arguments = QApplication::arguments().mid(1);
    const bool packaged = !arguments.isEmpty() && arguments.first() == QStringLiteral("--packaged");
    if (packaged) {
        arguments.removeFirst();
    }
    if (arguments.isEmpty() || arguments.size() > 2 ||
        (arguments.size() == 2 && arguments[1] != QStringLiteral("exit"))) {
        std::fprintf(stderr, "usage: startup_host [--packaged] FOLDER [exit]\n");
        return 2;
    }
    const QString folder = QDir(arguments[0]).absolutePath();
    const bool exitAfterShow = arguments.size() == 2;
    setProgramFolder(folder);
    // What the component's folder is in a build configured for the packaged
    // layout.
    Riri::setComponentFolder(packaged ? Riri::dataFolder(Riri::Layout::Packaged) : folder);
    Riri::setMsgBoxHandler([](const QString& prompt, int flags, const QString& title) {
        QString text = prompt;
        text.replace(QStringLiteral("\r"), QStringLiteral("\\r"))
            .replace(QStringLiteral("\n"), QStringLiteral("\\n"));
        std::printf("BOX %d|%s|%s\n", flags, title.toUtf8().constData(), text.toUtf8().constData());
        std::fflush(stdout);
        return Riri::defaultAnswer(flags);
    });
    StartupSeams seams;
    seams.installPresenter = false;
    seams.splashPause = [](int) { return true; };
    if (packaged) {
        seams.layout = Riri::Layout::Packaged;
    }
    if (!Main(seams)) {
        std::printf("STOPPED\n");
        return 4;
    }
    std::printf("SHOWN %s|%s|%s\n", mainForm()->windowTitle().toUtf8().constData(),
                QDir::currentPath().toUtf8().constData(),
                Riri::componentFolder().toUtf8().constData());
    std::fflush(stdout);
    if (exitAfterShow) {
        mainForm()->findChild<QAction*>(QStringLiteral("mnuAddExit"))->trigger();
        std::printf("STILL RUNNING\n");
    }
    return 3;
}
