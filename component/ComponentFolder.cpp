#include "ComponentFolder.h"

#include <QFileInfo>
#include <dlfcn.h>

namespace Riri {

namespace {

QString& overrideFolder() {
    static QString folder;
    return folder;
}

QString libraryFolder() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&libraryFolder), &info) == 0 || info.dli_fname == nullptr) {
        return QString();
    }
    return QFileInfo(QString::fromLocal8Bit(info.dli_fname)).canonicalPath();
}

} // namespace

QString ComponentFolder() {
    if (!overrideFolder().isEmpty()) {
        return overrideFolder();
    }
    static const QString folder = libraryFolder();
    return folder;
}

void SetComponentFolder(const QString& folder) {
    overrideFolder() = folder;
}

} // namespace Riri
