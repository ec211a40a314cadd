#pragma once

#include "Progress.h"
#include "RiriExport.h"

#include <QString>

class QIODevice;

namespace Riri {

// The evidence store: one folder (home/evidence/ beside the inventory) that
// holds every attached file once, named by the lowercase hex SHA-256 of its
// content. A file in the store is never changed: it is written under a
// temporary name, forced to the disk and renamed into place, and the folder
// entry is forced to the disk too, all before the row that names it commits.
class RIRI_EXPORT EvidenceFiles {
public:
    // The store of the inventory database at databaseFile.
    explicit EvidenceFiles(const QString& databaseFile);
    // The store of the component's inventory.
    static EvidenceFiles forInventory();

    // The largest file the store takes: 1 GB.
    static constexpr qint64 kMaxFileSize = 1000LL * 1000 * 1000;

    const QString& folder() const { return m_folder; }
    // The file's place in the store, whether or not it is there yet.
    QString pathFor(const QString& sha256) const;
    bool contains(const QString& sha256) const;
    // Whether a text is a SHA-256 as the store names files (64 lowercase hex digits).
    static bool isSha256(const QString& text);

    // Copies everything the device gives into the store and returns its
    // SHA-256. A file already there is kept as it is and the copy dropped.
    // Refuses (Riri::Error) content over kMaxFileSize, and content whose
    // hash is not expectedSha256 when that is given; a refused or cancelled
    // copy leaves nothing in the store. Progress counts bytes of
    // expectedSize (0 when unknown).
    QString put(QIODevice& source, const QString& expectedSha256 = QString(),
                qint64 expectedSize = 0, const Progress& progress = {}) const;
    // The same from a file.
    QString putFile(const QString& path, const Progress& progress = {}) const;

    // The SHA-256 of a file, read in full; empty when it cannot be read.
    static QString hashFile(const QString& path, const Progress& progress = {});

private:
    QString m_folder;
};

} // namespace Riri
