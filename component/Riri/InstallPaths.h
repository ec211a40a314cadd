#pragma once

#include "RiriExport.h"

#include <QString>

// Where the files of an installation lie below its folder, and the connection
// string that names the database. The component and the program both find
// the database and the log through these.
namespace Riri::InstallPaths {

// The database file below the installation folder.
inline constexpr char kDatabase[] = "home/inv.inv";
// The error log in the installation folder.
inline constexpr char kLogFile[] = "error.log";

RIRI_EXPORT QString databasePath(const QString& folder);
RIRI_EXPORT QString logPath(const QString& folder);

// Whether a connection string carries an empty "User ID=;" pair: the
// component's does, the reports' does not.
enum class UserField { Empty, Omitted };

// "Provider=SQLite3;[User ID=;]Data Source=<file>;Persist Security Info=False;"
// with the file quoted as Connection::dataSource() reads it back.
RIRI_EXPORT QString connectionString(const QString& databaseFile,
                                     UserField user = UserField::Empty);

} // namespace Riri::InstallPaths
