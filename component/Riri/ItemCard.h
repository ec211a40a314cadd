#pragma once

#include "RiriExport.h"

#include <QString>
#include <optional>

namespace Riri {

// The few fields of one item that a window about that item shows at its top,
// read by tblItems.ID (which is never reused). Amounts are the stored texts,
// as the item lists take them.
struct RIRI_EXPORT ItemCard {
    qint64 ref = 0;
    QString itemId;
    QString name;
    QString room;
    QString cost;
    QString value;

    // The item with this ID in the component's inventory; nothing when no
    // item has it. A database that cannot be read throws Riri::Error.
    static std::optional<ItemCard> read(qint64 itemRef);
};

} // namespace Riri
