#include "Registry.h"

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

QStringList SysInfoPrograms() {
    return {QStringLiteral("hardinfo"), QStringLiteral("kinfocenter"), QStringLiteral("lshw-gtk")};
}

QString FindSysInfoProgram() {
    for (const QString& name : SysInfoPrograms()) {
        const QString path = QStandardPaths::findExecutable(name);
        if (!path.isEmpty()) {
            return path;
        }
    }
    return QString();
}

bool KeyExists(unsigned int root, const QString& keyPath) {
    if (root == HKEY_CLASSES_ROOT) {
        return same(keyPath, kBrowserKey);
    }
    if (root == HKEY_LOCAL_MACHINE) {
        return (same(keyPath, kSysInfoKey) || same(keyPath, kSysInfoLocationKey)) &&
               !FindSysInfoProgram().isEmpty();
    }
    return false;
}

std::optional<QString> Read(unsigned int root, const QString& keyPath, const QString& valueName) {
    if (!KeyExists(root, keyPath)) {
        return std::nullopt;
    }
    if (root == HKEY_CLASSES_ROOT && valueName.isEmpty()) {
        return QStringLiteral("xdg-open");
    }
    if (root == HKEY_LOCAL_MACHINE) {
        const QString program = FindSysInfoProgram();
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
