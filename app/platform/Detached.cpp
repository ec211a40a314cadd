#include "platform/Detached.h"

#include <QProcess>
#include <QStringList>

namespace Detached {

bool start(const QString& commandLine) {
    QStringList words = QProcess::splitCommand(commandLine);
    if (words.isEmpty()) {
        return false;
    }
    const QString program = words.takeFirst();
    return QProcess::startDetached(program, words);
}

bool startProgram(const QString& program) {
    return !program.isEmpty() && QProcess::startDetached(program, QStringList());
}

} // namespace Detached
