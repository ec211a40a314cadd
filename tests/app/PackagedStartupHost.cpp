// Runs the program's start-up in the packaged layout in a process of its own:
// the read-only files in FOLDER, the data in the user's data folder below
// $XDG_DATA_HOME, as a packaged build has them. Every message box is written
// to standard output (and answered with its default button) instead of shown.
//
// Usage: packaged_startup_host FOLDER [OPTION...]
// With options after FOLDER it runs the command line instead, as the
// packaged program does when started with them.
// Output lines: "BOX <flags>|<caption>|<text with line breaks as \n>",
// "SHOWN <data folder>" when the main window is shown, and "STOPPED" when
// start-up stopped without showing it. The process ends with 0 when
// EndProgram ended it, 3 after "SHOWN", 4 after "STOPPED".

#include "frmMain.h"
#include "modMain.h"
#include "shared/modGlobal.h"

#include <Riri/ComponentFolder.h>
#include <Riri/MsgBox.h>

#include <QApplication>
#include <QDir>
#include <cstdio>

int main(int argc, char** argv) {
    if (argc > 2) {
        QCoreApplication app(argc, argv);
        setProgramFolder(QDir(QString::fromLocal8Bit(argv[1])).absolutePath());
        Riri::setComponentFolder(Riri::dataFolder(Riri::Layout::Packaged));
        QStringList arguments = QCoreApplication::arguments();
        arguments.removeAt(1);
        return runCommandLine(Riri::Layout::Packaged, arguments);
    }
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: packaged_startup_host FOLDER\n");
        return 2;
    }
    setProgramFolder(QDir(QString::fromLocal8Bit(argv[1])).absolutePath());
    // What the component's folder is in a build configured for this layout.
    Riri::setComponentFolder(Riri::dataFolder(Riri::Layout::Packaged));
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
    seams.layout = Riri::Layout::Packaged;
    if (!Main(seams)) {
        std::printf("STOPPED\n");
        return 4;
    }
    std::printf("SHOWN %s\n", Riri::componentFolder().toUtf8().constData());
    return 3;
}
