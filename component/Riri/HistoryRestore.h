#pragma once

#include "RiriExport.h"

#include <QString>
#include <vector>

struct sqlite3;

namespace Riri {

// Writes that the history makes possible: an item put back as it was after
// one of its changes, deleted items brought back with their attachments, and
// the record of a restored inventory. Each runs in one transaction, recorded
// by the triggers like every other change; failures throw Riri::Error.
class RIRI_EXPORT HistoryRestore {
public:
    struct BroughtBack {
        qint64 itemRef = 0;
        QString itemId;      // the Item ID it has now
        QString formerId;    // the one it had, when that was taken meanwhile
        int attachments = 0; // attachment rows that came back
    };

    // Puts the stored item back as it was after the history row historyId:
    // every change recorded after it undone. False when that already is how
    // the item is.
    static bool restoreVersion(qint64 itemRef, qint64 historyId);
    // Brings the deleted items back under their own numbers, with the
    // attachments deleted with them. An item whose Item ID another item has
    // taken meanwhile gets a new one ("A-" and the next free number).
    static std::vector<BroughtBack> bringBack(const std::vector<qint64>& itemRefs);
    // Records, in the database being restored, that it was restored from
    // the named file.
    static void recordRestore(sqlite3* db, const QString& fileName);
};

} // namespace Riri
