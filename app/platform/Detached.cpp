#include "Detached.h"

#include <QProcess>
#include <QStringList>

namespace Detached {

bool Start(const QString& commandLine) {
    QStringList words = QProcess::splitCommand(commandLine);
    if (words.isEmpty()) {
        return false;
    }
    const QString program = words.takeFirst();
    return QProcess::startDetached(program, words);
}

bool StartProgram(const QString& program) {
    return !program.isEmpty() && QProcess::startDetached(program, QStringList());
}

} // namespace Detached
