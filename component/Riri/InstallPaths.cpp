#include "InstallPaths.h"

#include "Connection.h"

namespace Riri::InstallPaths {

namespace {

QString below(const QString& folder, const char* relative) {
    return (folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/')) +
           QLatin1String(relative);
}

} // namespace

QString databasePath(const QString& folder) {
    return below(folder, kDatabase);
}

QString logPath(const QString& folder) {
    return below(folder, kLogFile);
}

QString connectionString(const QString& databaseFile, UserField user) {
    QString text = QStringLiteral("Provider=SQLite3;");
    if (user == UserField::Empty) {
        text += QStringLiteral("User ID=;");
    }
    text += QStringLiteral("Data Source=") + connectionValue(databaseFile) + QLatin1Char(';');
    text += QStringLiteral("Persist Security Info=False;");
    return text;
}

} // namespace Riri::InstallPaths
