#pragma once

#include "RiriExport.h"

#include <QString>
#include <vector>

struct sqlite3;

namespace Riri {

// Opens a database file with the settings every connection of the component
// uses: defensive mode (no SQL can write the schema tables or switch the
// journal off) and an untrusted schema (triggers, views and defaults of the
// file cannot call functions with side effects). An inventory file is data,
// never code. Returns SQLite's result code; *db may be set even on failure.
RIRI_EXPORT int openDatabase(const char* path, sqlite3** db, int flags);

// The program's own schema, version by version, and the steps that bring an
// older inventory up to the newest version. The version of a file is its
// PRAGMA user_version (0, never set, counts as the base version).
//
// A later schema change adds one Step (its version and its statements) and
// the rows of the objects it makes, with that version as their `since`.
class RIRI_EXPORT InventorySchema {
public:
    struct Object {
        int since;    // the version that made it
        QString type; // "table", "index", "trigger" or "view"
        QString name; // as created
        QString sql;  // its CREATE statement, whitespace normalised
    };
    struct Step {
        int version; // the version the file has once the step ran
        QString sql; // one or more statements
    };

    InventorySchema(int baseVersion, std::vector<Object> objects, std::vector<Step> steps);

    // The schema this program writes: install/schema.sql and its steps.
    static const InventorySchema& program();

    // The newest version this schema knows.
    int version() const { return m_version; }
    const std::vector<Object>& objects() const { return m_objects; }

    // The file's version; throws Riri::Error when it cannot be read.
    int fileVersion(sqlite3* db) const;
    // What makes the file's schema other than this schema at that version,
    // for the user: the first object it does not know, one whose definition
    // differs, or one that is missing. Empty when the schema is the program's
    // own.
    QString foreignObject(sqlite3* db, int version) const;
    // Applies, in one transaction, every step newer than the file's version
    // and records the newest version. Only a file whose schema is this
    // schema at its version is changed; any other throws Riri::Error and
    // is left as it was.
    void upgrade(sqlite3* db) const;

    // Opens the inventory file read-write and applies upgrade(): readers
    // that open it read-only then find the newest schema. Throws Riri::Error.
    static void bringUpToDate(const QString& databaseFile);

    // The text with every run of blanks and line breaks made one space, and
    // none at the ends.
    static QString normalized(const QString& sql);
    // What a user is told about an inventory of a newer version.
    static QString newerVersionMessage();

private:
    int m_version;
    int m_baseVersion;
    std::vector<Object> m_objects;
    std::vector<Step> m_steps;
};

} // namespace Riri
