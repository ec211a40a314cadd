#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// A read-only stand-in for the few registry values the program reads. Linux
// has no registry; the answers come from the desktop instead:
//   HKEY_CLASSES_ROOT  htmlfile\shell\open\command  (default value)
//       the XDG opener command, which opens a web page in the user's browser;
//   HKEY_LOCAL_MACHINE SOFTWARE\Microsoft\Shared Tools\MSINFO  "PATH"
//       the full path of a system information program found on PATH;
//   HKEY_LOCAL_MACHINE SOFTWARE\Microsoft\Shared Tools Location  "MSINFO"
//       the folder of that program.
// Every other key or value is absent. Key paths and value names ignore case,
// as registry names do; an empty value name means the key's default value.
// Root key handles, in the order GetRootKey tests its flags.
enum RootKey : unsigned int {
    HKEY_CLASSES_ROOT = 0x80000000u,
    HKEY_CURRENT_CONFIG = 0x80000005u,
    HKEY_CURRENT_USER = 0x80000001u,
    HKEY_DYN_DATA = 0x80000006u,
    HKEY_LOCAL_MACHINE = 0x80000002u,
    HKEY_PERFORMANCE_DATA = 0x80000004u,
    HKEY_USERS = 0x80000003u,
};

namespace Registry {

// True when the key exists under the root.
bool keyExists(unsigned int root, const QString& keyPath);
// The value's text, or nothing when the key or the value is absent.
std::optional<QString> read(unsigned int root, const QString& keyPath, const QString& valueName);

// The system information programs looked for on PATH, in order of preference.
QStringList sysInfoPrograms();
// The first of them found on PATH, as a full path; empty when none is found.
QString findSysInfoProgram();

} // namespace Registry
