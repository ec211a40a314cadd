#pragma once

#include "HistoryFields.h"
#include "RiriExport.h"

#include <QString>
#include <vector>

namespace Riri {

// Reads the history of the inventory's items (see HistorySchema). Each call
// opens the inventory for reading, reads in one transaction and closes it;
// failures throw Riri::Error.
class RIRI_EXPORT ItemHistory {
public:
    struct Change {
        qint64 id = 0;     // tblHistory.ID
        qint64 rowRef = 0; // the item's tblItems.ID
        QString date;      // "yyyy-MM-dd HH:mm:ss"
        QString action;    // added, changed, deleted, brought back
        QString source;
        std::vector<HistoryFields::Field> fields;
    };
    struct DeletedItem {
        qint64 itemRef = 0; // its tblItems.ID, free while it is deleted
        QString date;       // when it was deleted
        std::vector<HistoryFields::Field> values;
        int attachments = 0; // deleted with it, brought back with it
    };

    // The item's number (tblItems.ID) for an Item ID: the stored item that
    // has it, else the item most recently deleted with it. -1 when none.
    static qint64 itemNumber(const QString& itemId);
    // The stored item's number, -1 when no item has that Item ID.
    static qint64 storedItemNumber(const QString& itemId);
    // Every change of one item, newest first.
    static std::vector<Change> changes(qint64 itemRef);
    // The items deleted and not brought back, most recently deleted first.
    static std::vector<DeletedItem> deletedItems();
};

} // namespace Riri
