#pragma once

#include <QDateTime>
#include <QStringList>
#include <vector>

// The three arguments of AddItems and UpdateItems, filled as the item windows
// fill them: eight texts, two amounts and the acquisition date.
struct ItemArgs {
    QStringList text;
    std::vector<double> money{25, 12.5};
    QDateTime date{QDate(2005, 3, 1), QTime(0, 0)};

    explicit ItemArgs(const QString& id, const QString& name = QStringLiteral("Lamp"))
        : text{id, name, "SN-1", "X1", "Kitchen", "Bob's Store", "A lamp", "None"} {}
};

// The item columns, in the order of ItemArgs::text.
inline const QStringList kItemColumns{"ItemID",   "ItemName",      "SN",          "Model",
                                      "RoomName", "AccquiredFrom", "Description", "Notes"};
