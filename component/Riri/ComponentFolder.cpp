#include "ComponentFolder.h"

#include <QDir>
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

Layout configuredLayout() {
#ifdef QUORVANE_PACKAGED
    return Layout::Packaged;
#else
    return Layout::SelfContained;
#endif
}

QString userDataFolder() {
    QString base = qEnvironmentVariable("XDG_DATA_HOME");
    if (base.isEmpty() || QDir::isRelativePath(base)) {
        base = QDir::homePath() + QStringLiteral("/.local/share");
    }
    return QDir::cleanPath(base + QStringLiteral("/Quorvane"));
}

QString dataFolder(Layout layout) {
    if (layout == Layout::Packaged) {
        return userDataFolder();
    }
    static const QString folder = libraryFolder();
    return folder;
}

QString componentFolder() {
    if (!overrideFolder().isEmpty()) {
        return overrideFolder();
    }
    return dataFolder(configuredLayout());
}

void setComponentFolder(const QString& folder) {
    overrideFolder() = folder;
}

} // namespace Riri
