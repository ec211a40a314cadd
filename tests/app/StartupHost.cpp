// Runs the program's start-up in a process of its own for the start-up
// tests, with every message box written to standard output (and answered
// with its default button) instead of shown.
//
// Usage: startup_host FOLDER [exit]
//   FOLDER  the installation folder start-up works in
//   exit    choose Add > eXit once the main window is shown
// Output lines: "BOX <flags>|<caption>|<text with line breaks as \n>",
// "SHOWN <caption>|<working folder>" when the main window is shown, and
// "STOPPED" when start-up stopped without showing it. The process ends with
// 0 when EndProgram or the single-instance check ended it, 3 after "SHOWN",
// 4 after "STOPPED".

#include "frmMain.h"
#include "modMain.h"
#include "shared/modGlobal.h"

#include <Riri/ComponentFolder.h>
#include <Riri/MsgBox.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: startup_host FOLDER [exit]\n");
        return 2;
    }
    const QString folder = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    const bool exitAfterShow = argc > 2 && qstrcmp(argv[2], "exit") == 0;
    setProgramFolder(folder);
    Riri::setComponentFolder(folder);
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
    if (!Main(seams)) {
        std::printf("STOPPED\n");
        return 4;
    }
    std::printf("SHOWN %s|%s\n", mainForm()->windowTitle().toUtf8().constData(),
                QDir::currentPath().toUtf8().constData());
    std::fflush(stdout);
    if (exitAfterShow) {
        mainForm()->findChild<QAction*>(QStringLiteral("mnuAddExit"))->trigger();
        std::printf("STILL RUNNING\n");
    }
    return 3;
}
