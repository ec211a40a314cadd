#pragma once

#include "RiriExport.h"

#include <QString>

namespace Riri {

// Where the system keeps what it writes, fixed when the build is configured:
// SelfContained keeps every path below the installation folder (the folder
// that holds the program and the library); Packaged keeps the read-only files
// there and writes to the user's data folder.
enum class Layout { SelfContained, Packaged };

// The layout this build was configured for.
RIRI_EXPORT Layout configuredLayout();

// The packaged layout's per-user data folder: Quorvane below
// $XDG_DATA_HOME, or below ~/.local/share when the variable is unset, empty
// or not an absolute path.
RIRI_EXPORT QString userDataFolder();

// The folder for the database (home/inv.inv) and error.log in the given
// layout: the folder that holds the component library, or the user's data
// folder.
RIRI_EXPORT QString dataFolder(Layout layout);

// The component's folder for the database and the log: the data folder of
// the configured layout, unless a host set another one.
RIRI_EXPORT QString componentFolder();

// Makes the component use another folder for its data; an empty text goes
// back to the library's own folder. Hosts that keep their data elsewhere
// (the test suite's throw-away installations) use this.
RIRI_EXPORT void setComponentFolder(const QString& folder);

} // namespace Riri
