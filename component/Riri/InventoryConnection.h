#pragma once

#include "Connection.h"
#include "InventoryCopy.h"

namespace Riri {

// Opens a connection on the inventory database of the component's folder.
inline void openInventoryConnection(Connection& con, bool readOnly) {
    con.setConnectionString(QStringLiteral("Data Source=") +
                            connectionValue(InventoryCopy::databasePath()) + QLatin1Char(';'));
    con.setReadOnly(readOnly);
    con.Open();
}

} // namespace Riri
