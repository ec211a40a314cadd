#include "shared/modGlobal.h"

#include <Riri/Formats.h>

#include "platform/ProgramFolder.h"
#include "platform/Registry.h"
#include "platform/SingleInstance.h"
#include "ui/PlainText.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QEventLoop>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QThread>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

std::unique_ptr<Riri::dllHome> objHome;
std::shared_ptr<Riri::Recordset> rsData;
QPersistentModelIndex itmData;

namespace {

// What the parts of the program release when it ends, in registration order.
std::vector<std::function<void()>>& endProgramSteps() {
    static std::vector<std::function<void()>> steps;
    return steps;
}

} // namespace

void onEndProgram(std::function<void()> release) {
    endProgramSteps().push_back(std::move(release));
}

void newHome() {
    objHome.reset();
    objHome = std::make_unique<Riri::dllHome>();
}

void CloseRecordset() {
    if (rsData) {
        rsData->Close(); // closing a closed set fails; nothing to report
        rsData.reset();
    }
}

QString trimBlanks(const QString& text) {
    return Riri::trimBlanks(text);
}

void TrimFields(QWidget& window) {
    // Sets the text only when trimming changes it, so an untouched box keeps
    // its cursor and undo history.
    const auto trim = [](const QString& text, const auto& setText) {
        const QString trimmed = trimBlanks(text);
        if (trimmed != text) {
            setText(trimmed);
        }
    };
    // findChildren walks the window's children in creation order, which is the
    // order the windows build their controls in.
    const QList<QWidget*> children = window.findChildren<QWidget*>();
    for (QWidget* child : children) {
        if (auto* rich = qobject_cast<QTextEdit*>(child)) {
            trim(plainText(rich->document()),
                 [rich](const QString& text) { rich->setPlainText(text); });
        } else if (auto* plain = qobject_cast<QPlainTextEdit*>(child)) {
            trim(plainText(plain->document()),
                 [plain](const QString& text) { plain->setPlainText(text); });
        } else if (auto* line = qobject_cast<QLineEdit*>(child)) {
            // The edit lines inside combo boxes and date pickers are not text boxes.
            const QObject* owner = line->parent();
            if (owner != nullptr &&
                (owner->inherits("QComboBox") || owner->inherits("QAbstractSpinBox"))) {
                continue;
            }
            trim(line->text(), [line](const QString& text) { line->setText(text); });
        }
    }
}

bool Pause(int seconds) {
    // Whole seconds of the clock, counted from the epoch so that a change of
    // the local time (summer time) neither shortens nor stretches the wait.
    const qint64 start = QDateTime::currentSecsSinceEpoch();
    while (QDateTime::currentSecsSinceEpoch() - start <= seconds) {
        // Sleep in the event loop until just past the next change of the
        // clock's seconds; events (painting, input) are handled meanwhile and
        // no processor time is spent spinning.
        const qint64 now = QDateTime::currentMSecsSinceEpoch();
        const int untilNextSecond = static_cast<int>(1000 - now % 1000) + 1;
        if (QCoreApplication::instance() != nullptr) {
            QEventLoop loop;
            QTimer::singleShot(untilNextSecond, Qt::PreciseTimer, &loop, &QEventLoop::quit);
            loop.exec();
        } else {
            QThread::msleep(static_cast<unsigned long>(untilNextSecond));
        }
    }
    return true;
}

void EndProgram() {
    // 1. The program keeps no file open between operations: the component
    // opens and closes the database for each one, and the error log is
    // closed as soon as its block is written.

    // 2. Unload every window: child windows close with the main window,
    // separate windows (owner entry, help) on their own.
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr) {
        const QList<QWidget*> windows = QApplication::topLevelWidgets();
        for (QWidget* window : windows) {
            if (window->isVisible()) {
                window->close();
            }
        }
    }

    // 3. Release what the parts of the program hold: the report data source
    // closes its connection.
    for (const std::function<void()>& release : endProgramSteps()) {
        release();
    }

    // 4. Release the component object.
    CloseRecordset();
    objHome.reset();

    // 5. Back to the program folder.
    QDir::setCurrent(programFolder());

    // 6. Default pointer.
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr) {
        while (QApplication::overrideCursor() != nullptr) {
            QApplication::restoreOverrideCursor();
        }
    }

    // The lock of the one running instance goes with the program: the next
    // start must not have to find out that it is stale.
    SingleInstance::release();

    // 7. End at once: no event handler of any window runs any more, and no
    // static object is torn down under a still living application object.
    std::fflush(nullptr);
    std::_Exit(0);
}

unsigned int GetRootKey(bool classesRoot, bool currentConfig, bool currentUser, bool dynData,
                        bool localMachine, bool performanceData, bool users) {
    const std::pair<bool, RootKey> order[] = {
        {classesRoot, HKEY_CLASSES_ROOT},
        {currentConfig, HKEY_CURRENT_CONFIG},
        {currentUser, HKEY_CURRENT_USER},
        {dynData, HKEY_DYN_DATA},
        {localMachine, HKEY_LOCAL_MACHINE},
        {performanceData, HKEY_PERFORMANCE_DATA},
        {users, HKEY_USERS},
    };
    for (const auto& [flag, key] : order) {
        if (flag) {
            return key;
        }
    }
    return 0;
}

QString GetRegString(const QString& keyPath, const QString& valueName, bool classesRoot,
                     bool currentConfig, bool currentUser, bool dynData, bool localMachine,
                     bool performanceData, bool users, bool addSeparator) {
    // The value is read into a buffer of 255 characters with its terminating
    // zero; a longer value does not fit and reads as empty.
    constexpr qsizetype kBuffer = 255;
    const unsigned int root = GetRootKey(classesRoot, currentConfig, currentUser, dynData,
                                         localMachine, performanceData, users);
    const std::optional<QString> value = Registry::read(root, keyPath, valueName);
    if (!value || value->size() + 1 > kBuffer) {
        return QString();
    }
    QString result = trimBlanks(*value);
    // Folder values end in a separator when asked; Linux folders use "/",
    // and a value that already ends in either separator stays as it is.
    if (addSeparator && !result.endsWith(QLatin1Char('/')) && !result.endsWith(QLatin1Char('\\'))) {
        result += QLatin1Char('/');
    }
    return result;
}
