#include "ProgramFolder.h"

#include <QCoreApplication>

namespace {

QString& programFolderOverride() {
    static QString folder;
    return folder;
}

} // namespace

QString ProgramFolder() {
    if (!programFolderOverride().isEmpty()) {
        return programFolderOverride();
    }
    return QCoreApplication::applicationDirPath();
}

void SetProgramFolder(const QString& folder) {
    programFolderOverride() = folder;
}
