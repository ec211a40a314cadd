#pragma once

#include "RiriExport.h"

#include <QString>

namespace Riri {

// The folder that holds the component library at run time (not the working
// directory). The database lies in home/ below it and error.log in it.
RIRI_EXPORT QString ComponentFolder();

// Makes the component use another installation folder; an empty text goes
// back to the library's own folder. Hosts that keep their data elsewhere
// (the test suite's throw-away installations) use this.
RIRI_EXPORT void SetComponentFolder(const QString& folder);

} // namespace Riri
