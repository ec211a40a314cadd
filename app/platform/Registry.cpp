#include "platform/Registry.h"

#include <QFileInfo>
#include <QStandardPaths>

namespace Registry {

namespace {

const QString kBrowserKey = QStringLiteral("htmlfile\\shell\\open\\command");
const QString kSysInfoKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
const QString kSysInfoLocationKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location");

bool same(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

QStringList sysInfoPrograms() {
    return {QStringLiteral("hardinfo"), QStringLiteral("kinfocenter"), QStringLiteral("lshw-gtk")};
}

QString findSysInfoProgram() {
    for (const QString& name : sysInfoPrograms()) {
        const QString path = QStandardPaths::findExecutable(name);
        if (!path.isEmpty()) {
            return path;
        }
    }
    return QString();
}

bool keyExists(unsigned int root, const QString& keyPath) {
    if (root == HKEY_CLASSES_ROOT) {
        return same(keyPath, kBrowserKey);
    }
    if (root == HKEY_LOCAL_MACHINE) {
        return (same(keyPath, kSysInfoKey) || same(keyPath, kSysInfoLocationKey)) &&
               !findSysInfoProgram().isEmpty();
    }
    return false;
}

std::optional<QString> read(unsigned int root, const QString& keyPath, const QString& valueName) {
    if (!keyExists(root, keyPath)) {
        return std::nullopt;
    }
    if (root == HKEY_CLASSES_ROOT && valueName.isEmpty()) {
        return QStringLiteral("xdg-open");
    }
    if (root == HKEY_LOCAL_MACHINE) {
        const QString program = findSysInfoProgram();
        if (same(keyPath, kSysInfoKey) && same(valueName, QStringLiteral("PATH"))) {
            return program;
        }
        if (same(keyPath, kSysInfoLocationKey) && same(valueName, QStringLiteral("MSINFO"))) {
            return QFileInfo(program).absolutePath();
        }
    }
    return std::nullopt;
}

} // namespace Registry
