#include "cli/CommandLine.h"
#include "frmMain.h"
#include "modMain.h"
#include "platform/Fonts.h"
#include "platform/GraphicalDisplay.h"
#include "platform/SingleInstance.h"
#include "utils/OffsiteCommands.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFileInfo>
#include <QIcon>
#include <cstdio>

int main(int argc, char** argv) {
    if (CommandLine::requested(argc, argv)) {
        // The command line needs no display: no window system is loaded.
        QCoreApplication app(argc, argv);
        return runCommandLine(Riri::configuredLayout(), QCoreApplication::arguments());
    }
    if (!GraphicalDisplay::available(argc, argv)) {
        // Qt would end the process with an abort and a message about its
        // platform plugin; the user learns what works instead.
        const QString program =
            argc > 0 ? QFileInfo(QString::fromLocal8Bit(argv[0])).fileName() : QString();
        const QString line = GraphicalDisplay::missingMessage(
            program.isEmpty() ? QStringLiteral("Tallimer") : program);
        std::fputs(qPrintable(line + QLatin1Char('\n')), stderr);
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tallimer"));
    // The desktop entry and the icon an installed package provides.
    QApplication::setDesktopFileName(QStringLiteral("com.example.quorvane"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("quorvane")));
    Fonts::registerSubstitutes();
    if (!Main(StartupSeams{})) {
        // Start-up stopped on a failure it has shown: the main window, if it
        // was loaded, is never shown and the program ends.
        delete mainForm();
        SingleInstance::release();
        return 1;
    }
    const int status = app.exec();
    // The main window was closed: the program ends here, as through Exit.
    OffsiteCommands::writeDueCopyAtEnd();
    SingleInstance::release();
    return status;
}
