#pragma once

#include <QString>

// The program's title and version, from which captions and messages are built.
namespace AppInfo {

inline const QString Title = QStringLiteral("Quorvane");
inline constexpr int Major = 2;
inline constexpr int Minor = 0;
inline constexpr int Revision = 21; // never shown

// "2.0"
inline QString Version() {
    return QString::number(Major) + QLatin1Char('.') + QString::number(Minor);
}

} // namespace AppInfo
