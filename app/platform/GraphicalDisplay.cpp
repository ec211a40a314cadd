#include "platform/GraphicalDisplay.h"

#include <QByteArray>
#include <QList>

namespace GraphicalDisplay {

namespace {

bool isSet(const char* variable) {
    return !qgetenv(variable).isEmpty();
}

// Whether one platform plugin name can start with the environment as it is.
bool canStart(const QByteArray& platform) {
    const QByteArray name = platform.trimmed();
    if (name.startsWith("xcb")) {
        return isSet("DISPLAY");
    }
    if (name.startsWith("wayland")) {
        return isSet("WAYLAND_DISPLAY");
    }
    return !name.isEmpty();
}

} // namespace

bool available(int argc, char** argv) {
    QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    // The command line's -platform overrides the environment, as in Qt.
    for (int i = 1; i + 1 < argc; ++i) {
        if (QByteArray(argv[i]) == "-platform") {
            platform = QByteArray(argv[i + 1]);
        }
    }
    if (platform.trimmed().isEmpty()) {
        return isSet("DISPLAY") || isSet("WAYLAND_DISPLAY");
    }
    const QList<QByteArray> names = platform.split(';');
    for (const QByteArray& name : names) {
        if (canStart(name)) {
            return true;
        }
    }
    return false;
}

QString missingMessage(const QString& program) {
    return program + QStringLiteral(" needs a graphical display; the command-line options (") +
           program + QStringLiteral(" --help) work without one.");
}

} // namespace GraphicalDisplay
