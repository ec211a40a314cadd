#pragma once

#include "InventoryCheck.h"
#include "Progress.h"
#include "RiriExport.h"

#include <QString>

namespace Riri {

// Whole-file operations on the inventory database: a verified copy made
// while the program may be writing, and the replacement of the inventory by
// such a copy. Every failure throws Riri::Error with a description for the
// user; a failed operation leaves nothing under the target's name and the
// inventory as it was.
class RIRI_EXPORT InventoryCopy {
public:
    // The inventory database: home/inv.inv in the component's folder.
    static QString databasePath();
    // Whether the inventory at path was written by a newer version of the
    // program (and so is never replaced); false when it cannot be read, as a
    // damaged inventory may be.
    static bool writtenByNewerVersion(const QString& path);

    // Copies the inventory to target with SQLite's online backup, checks the
    // copy (integrity, both tables with their columns, the same item and
    // owner counts as the inventory had at the moment of the copy) and only
    // then gives it the target's name. Returns the copy's check. Progress
    // counts bytes: the pages copied, then the pages of the copy checked.
    // Cancelled, it leaves no file behind.
    static InventoryCheck backUp(const QString& target, const Progress& progress = {});
    // The same from any database file.
    static InventoryCheck backUpFile(const QString& source, const QString& target,
                                     const Progress& progress = {});

    // Replaces the inventory's content with the backup's. The backup must be
    // an inventory database; an automatic copy of the current inventory is
    // made first. The new content is written to a file beside the inventory,
    // checked, forced to the disk and renamed onto it, so a crash leaves
    // either the old or the new inventory. Returns the backup's check.
    // Progress counts bytes as backUp does; it can cancel until the new file
    // is ready, which leaves the inventory as it was and no automatic copy.
    // The rename onto the inventory is not cancelled.
    static InventoryCheck restore(const QString& backup, const Progress& progress = {});
};

} // namespace Riri
