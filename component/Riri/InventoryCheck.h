#pragma once

#include "Progress.h"
#include "RiriExport.h"

#include <QString>

struct sqlite3;

namespace Riri {

// What a look at an inventory database file found: whether it is one (both
// tables with their columns, nothing in its schema that the program did not
// make, and SQLite's integrity check passes), how many
// items and owner records it holds and the date of its newest change.
class RIRI_EXPORT InventoryCheck {
public:
    // Opens the file read-only and checks it through: integrity_check, the
    // two tables and their columns, the counts. Progress counts an estimate
    // of the bytes read. Never throws, but Riri::Error with
    // ErrorNumber::Cancelled when progress asks to stop.
    static InventoryCheck inspect(const QString& path, const Progress& progress = {});
    // The quick form for start-up: quick_check and the two tables. A journal
    // left by an interrupted write is rolled back first, as any connection
    // would; nothing else is written.
    static InventoryCheck quickCheck(const QString& path);
    // A look at a copy for a list of copies, without a check of the whole
    // file: opened read-only, the numbers of items and owner records and the
    // total current value. Never throws; not ok (with the problem) when the
    // file cannot be read as an inventory.
    static InventoryCheck summary(const QString& path);
    // The same checks on an open handle (the copy being verified); without
    // newest, the date of the newest change is not looked up. Progress counts
    // an estimate of the bytes the check reads (the file's pages).
    static InventoryCheck inspectOpen(sqlite3* db, bool quick, bool newest = true,
                                      const Progress& progress = {});

    bool ok = false;
    // What is wrong, for the user, when not ok.
    QString problem;
    qint64 items = 0;
    qint64 owners = 0;
    // The sum of the items' current values in whole cents (summary only).
    qint64 totalValueCents = 0;
    // The newest AddDate or ModDate of the items and the owner record, as
    // stored ("2026-12-06 07:05:12"); empty when there is none.
    QString newestChange;
    // The file's schema version, and whether it is newer than this program's:
    // such a file is read but never written.
    int schemaVersion = 0;
    bool newerVersion = false;
    // The number of evidence files a backup archive carries (archives only).
    qint64 evidenceFiles = 0;
};

} // namespace Riri
