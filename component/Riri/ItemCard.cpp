#include "ItemCard.h"

#include "Connection.h"
#include "InventoryCopy.h"

namespace Riri {

std::optional<ItemCard> ItemCard::read(qint64 itemRef) {
    Connection con;
    con.setConnectionString(QStringLiteral("Data Source=") +
                            connectionValue(InventoryCopy::databasePath()) + QLatin1Char(';'));
    con.setReadOnly(true);
    con.Open();
    const std::shared_ptr<Recordset> rows = con.Execute(
        QStringLiteral("SELECT ID, ItemID, ItemName, RoomName, Cost, CurValue FROM tblItems "
                       "WHERE ID = ") +
        QString::number(itemRef));
    con.Close();
    if (!rows || rows->isEmpty()) {
        return std::nullopt;
    }
    ItemCard card;
    card.ref = itemRef;
    card.itemId = rows->Field(1);
    card.name = rows->Field(2);
    card.room = rows->Field(3);
    card.cost = rows->Field(4);
    card.value = rows->Field(5);
    return card;
}

} // namespace Riri
