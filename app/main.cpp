#include "cli/CommandLine.h"
#include "frmMain.h"
#include "modMain.h"
#include "platform/Fonts.h"
#include "platform/SingleInstance.h"

#include <QApplication>
#include <QCoreApplication>
#include <QIcon>

int main(int argc, char** argv) {
    if (CommandLine::requested(argc, argv)) {
        // The command line needs no display: no window system is loaded.
        QCoreApplication app(argc, argv);
        return CommandLine::run(QCoreApplication::arguments());
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
    SingleInstance::release();
    return status;
}
