#pragma once

#include "InventoryCheck.h"
#include "Progress.h"
#include "RiriExport.h"

#include <QString>

class QIODevice;

namespace Riri {

// The backup archive: one ZIP file that any unzip program opens, holding
// inventory.inv (SQLite's online backup of the inventory), evidence/<sha256>
// for every evidence file the inventory names, and SHA256SUMS. Every failure
// throws Riri::Error with a description for the user; a failed or cancelled
// operation leaves the inventory and the store as they were.
class RIRI_EXPORT BackupArchive {
public:
    // Whether the file begins as a ZIP archive does.
    static bool isArchive(const QString& path);

    // Writes the archive of the component's inventory to out, which may be
    // sequential (an encrypting stream). Progress counts bytes.
    static InventoryCheck write(QIODevice& out, const Progress& progress = {});
    // Reads a whole archive from in into a private temporary folder and
    // checks it: entry names, sizes, the manifest, every hash, the database's
    // integrity and counts. Leaves nothing behind; returns the database's check.
    static InventoryCheck verify(QIODevice& in, const Progress& progress = {});
    // Restores the inventory from an archive read from in: everything is
    // checked before anything is replaced, then the database is swapped as
    // InventoryCopy::restore does and the evidence files added to the store.
    static InventoryCheck restore(QIODevice& in, const Progress& progress = {});

    // The archive of the inventory written to target under a temporary name,
    // read back and verified, and only then renamed into place.
    static InventoryCheck backUp(const QString& target, const Progress& progress = {});
    // Restores from a file: a backup archive, or a bare database copy.
    static InventoryCheck restoreFile(const QString& path, const Progress& progress = {});
};

} // namespace Riri
