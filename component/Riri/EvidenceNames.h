#pragma once

#include "RiriExport.h"

#include <QSet>
#include <QString>

struct sqlite3;

namespace Riri {

// Which evidence files an inventory database names: the SHA-256 of every
// file some row still needs. The sweep keeps exactly these files (of the
// inventory and of every automatic copy), and a backup carries them.
class RIRI_EXPORT EvidenceNames {
public:
    // The hashes the open database names. A database without the tables
    // (one written before evidence existed) names none. Throws Riri::Error
    // when a table that is there cannot be read.
    static QSet<QString> of(sqlite3* db);
    // The same of a database file, opened read-only. A file of a newer
    // version may name files in tables this version does not know: that
    // throws Riri::Error too, so that nothing it may need is given up.
    static QSet<QString> ofFile(const QString& databaseFile);
    // Whether the database has a table of this name.
    static bool hasTable(sqlite3* db, const char* table);
};

} // namespace Riri
