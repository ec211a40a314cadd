#include "platform/ProgramFolder.h"

#include <QCoreApplication>

namespace {

QString& programFolderOverride() {
    static QString folder;
    return folder;
}

} // namespace

QString programFolder() {
    if (!programFolderOverride().isEmpty()) {
        return programFolderOverride();
    }
    return QCoreApplication::applicationDirPath();
}

void setProgramFolder(const QString& folder) {
    programFolderOverride() = folder;
}
