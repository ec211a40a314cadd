#include "InventorySchema.h"

#include "Error.h"
#include "HistorySchema.h"

#include <QFile>
#include <QStringList>
#include <algorithm>
#include <sqlite3.h>

namespace Riri {

namespace {

// The base version: what install/schema.sql makes (a test compares the two).
constexpr int kBaseVersion = 1;

// SQLite's own tables, made by SQLite itself when a table uses AUTOINCREMENT
// or ANALYZE runs. Nothing else may use the reserved prefix.
struct InternalTable {
    const char* name;
    const char* sql;
};
constexpr InternalTable kInternalTables[] = {
    {"sqlite_sequence", "CREATE TABLE sqlite_sequence(name,seq)"},
    {"sqlite_stat1", "CREATE TABLE sqlite_stat1(tbl,idx,stat)"},
    {"sqlite_stat4", "CREATE TABLE sqlite_stat4(tbl,idx,neq,nlt,ndlt,sample)"},
};

QString text(sqlite3_stmt* stmt, int column) {
    return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, column)));
}

void exec(sqlite3* db, const QString& sql) {
    char* message = nullptr;
    if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &message) != SQLITE_OK) {
        const QString description =
            message != nullptr ? QString::fromUtf8(message) : QString::fromUtf8(sqlite3_errmsg(db));
        sqlite3_free(message);
        throw Error(sqlite3_extended_errcode(db), description);
    }
}

bool isInternal(const QString& type, const QString& name, const QString& sql, bool hasSql) {
    if (type == QLatin1String("index")) {
        // The index behind a UNIQUE or PRIMARY KEY constraint: no text of
        // its own, nothing it could run.
        return name.startsWith(QLatin1String("sqlite_autoindex_")) && !hasSql;
    }
    if (type != QLatin1String("table")) {
        return false;
    }
    return std::any_of(
        std::begin(kInternalTables), std::end(kInternalTables), [&](const InternalTable& table) {
            return name == QLatin1String(table.name) && sql == QLatin1String(table.sql);
        });
}

// Version 2: evidence. Deleting an item deletes its attachment rows in the
// same statement, whichever program deletes it; the files stay in the store
// until the daily sweep finds that nothing names them.
const QString kEvidenceTable = QStringLiteral(
    "CREATE TABLE tblEvidence ( ID INTEGER PRIMARY KEY AUTOINCREMENT, ItemRef INTEGER NOT NULL, "
    "Kind TEXT NOT NULL, Caption TEXT NOT NULL DEFAULT '', FileName TEXT NOT NULL, "
    "MediaType TEXT NOT NULL, Size INTEGER NOT NULL, Sha256 TEXT NOT NULL, Width INTEGER, "
    "Height INTEGER, TakenDate TEXT, AddDate TEXT NOT NULL, Thumbnail BLOB )");
const QString kEvidenceItemIndex =
    QStringLiteral("CREATE INDEX idxEvidenceItem ON tblEvidence (ItemRef, ID)");
const QString kEvidenceSha256Index =
    QStringLiteral("CREATE INDEX idxEvidenceSha256 ON tblEvidence (Sha256)");
const QString kEvidenceCascade = QStringLiteral(
    "CREATE TRIGGER trgItemEvidenceGone AFTER DELETE ON tblItems BEGIN DELETE FROM tblEvidence "
    "WHERE ItemRef = OLD.ID; END");

// Version 4: insurance claims and the items each one lists. A claim lists
// an item at most once; deleting a claim deletes its item rows, and deleting
// an inventory item takes it off every claim, so no claim names an item the
// inventory no longer has.
const QString kClaimsTable = QStringLiteral(
    "CREATE TABLE tblClaims ( ID INTEGER PRIMARY KEY AUTOINCREMENT, EventDate TEXT, "
    "EventKind TEXT NOT NULL, Description TEXT NOT NULL DEFAULT '', Insurer TEXT NOT NULL DEFAULT "
    "'', PolicyNumber TEXT NOT NULL DEFAULT '', ClaimNumber TEXT NOT NULL DEFAULT '', AddDate TEXT "
    "NOT NULL, ModDate TEXT )");
const QString kClaimItemsTable = QStringLiteral(
    "CREATE TABLE tblClaimItems ( ID INTEGER PRIMARY KEY AUTOINCREMENT, ClaimRef INTEGER NOT NULL, "
    "ItemRef INTEGER NOT NULL, Status TEXT NOT NULL, ReplacementCents INTEGER NOT NULL, Note TEXT "
    "NOT NULL DEFAULT '', UNIQUE (ClaimRef, ItemRef) )");
const QString kClaimItemsItemIndex =
    QStringLiteral("CREATE INDEX idxClaimItemsItem ON tblClaimItems (ItemRef)");
const QString kClaimItemsOfClaim = QStringLiteral(
    "CREATE TRIGGER trgClaimItemsGone AFTER DELETE ON tblClaims BEGIN DELETE FROM tblClaimItems "
    "WHERE ClaimRef = OLD.ID; END");
const QString kClaimItemsOfItem = QStringLiteral(
    "CREATE TRIGGER trgItemClaimsGone AFTER DELETE ON tblItems BEGIN DELETE FROM tblClaimItems "
    "WHERE ItemRef = OLD.ID; END");

bool isEmpty(sqlite3* db) {
    sqlite3_stmt* stmt = nullptr;
    bool empty = false;
    if (sqlite3_prepare_v2(db, "SELECT count(*) FROM sqlite_schema", -1, &stmt, nullptr) ==
            SQLITE_OK &&
        sqlite3_step(stmt) == SQLITE_ROW) {
        empty = sqlite3_column_int(stmt, 0) == 0;
    }
    sqlite3_finalize(stmt);
    return empty;
}

} // namespace

int openDatabase(const char* path, sqlite3** db, int flags) {
    int rc = sqlite3_open_v2(path, db, flags, nullptr);
    if (rc == SQLITE_OK) {
        rc = sqlite3_db_config(*db, SQLITE_DBCONFIG_DEFENSIVE, 1, static_cast<int*>(nullptr));
    }
    if (rc == SQLITE_OK) {
        // The same as PRAGMA trusted_schema = OFF.
        rc = sqlite3_db_config(*db, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, static_cast<int*>(nullptr));
    }
    return rc;
}

InventorySchema::InventorySchema(int baseVersion, std::vector<Object> objects,
                                 std::vector<Step> steps)
    : m_version(steps.empty() ? baseVersion : std::max(baseVersion, steps.back().version)),
      m_baseVersion(baseVersion), m_objects(std::move(objects)), m_steps(std::move(steps)) {
    for (Object& object : m_objects) {
        object.sql = normalized(object.sql);
    }
}

static std::vector<InventorySchema::Object> programObjects() {
    std::vector<InventorySchema::Object> objects{
        {1, QStringLiteral("table"), QStringLiteral("tblItems"),
         QStringLiteral(
             "CREATE TABLE tblItems ( ID INTEGER PRIMARY KEY AUTOINCREMENT, ItemID TEXT NOT "
             "NULL UNIQUE, ItemName TEXT, SN TEXT, Model TEXT, RoomName TEXT, Cost REAL, "
             "CurValue REAL, BuyDate TEXT, AccquiredFrom TEXT, Description TEXT, Notes TEXT, "
             "AddDate TEXT, ModDate TEXT )")},
        {1, QStringLiteral("table"), QStringLiteral("tblOwner"),
         QStringLiteral("CREATE TABLE tblOwner ( OwnerID TEXT NOT NULL UNIQUE, LName TEXT, "
                        "FName TEXT, MName TEXT, FullName TEXT, Address TEXT, City TEXT, "
                        "State TEXT, Zip TEXT, AddDate TEXT, ModDate TEXT )")},
        // Version 2: the evidence of each item (photos, receipts, documents).
        // Rows belong to tblItems.ID, which is never reused; the files
        // themselves live in home/evidence/ under their SHA-256.
        {2, QStringLiteral("table"), QStringLiteral("tblEvidence"), kEvidenceTable},
        {2, QStringLiteral("index"), QStringLiteral("idxEvidenceItem"), kEvidenceItemIndex},
        {2, QStringLiteral("index"), QStringLiteral("idxEvidenceSha256"), kEvidenceSha256Index},
        {2, QStringLiteral("trigger"), QStringLiteral("trgItemEvidenceGone"), kEvidenceCascade},
        // Version 3: the history of every change, written by triggers.
        {3, QStringLiteral("table"), QStringLiteral("tblHistory"), HistorySchema::historyTable()},
        {3, QStringLiteral("index"), QStringLiteral("idxHistoryRow"), HistorySchema::rowIndex()},
        {3, QStringLiteral("index"), QStringLiteral("idxHistoryDeleted"),
         HistorySchema::deletedIndex()},
        {3, QStringLiteral("table"), QStringLiteral("tblHistorySource"),
         HistorySchema::sourceTable()},
    };
    const QStringList names = HistorySchema::triggerNames();
    const QStringList triggers = HistorySchema::triggers();
    for (qsizetype i = 0; i < names.size(); ++i) {
        objects.push_back({3, QStringLiteral("trigger"), names.at(i), triggers.at(i)});
    }
    // Version 4: claims and their items.
    objects.insert(
        objects.end(),
        {
            {4, QStringLiteral("table"), QStringLiteral("tblClaims"), kClaimsTable},
            {4, QStringLiteral("table"), QStringLiteral("tblClaimItems"), kClaimItemsTable},
            {4, QStringLiteral("index"), QStringLiteral("idxClaimItemsItem"), kClaimItemsItemIndex},
            {4, QStringLiteral("trigger"), QStringLiteral("trgClaimItemsGone"), kClaimItemsOfClaim},
            {4, QStringLiteral("trigger"), QStringLiteral("trgItemClaimsGone"), kClaimItemsOfItem},
        });
    return objects;
}

const InventorySchema& InventorySchema::program() {
    // One row per object, in the order the steps make them. The tables of
    // the base version are install/schema.sql's.
    static const InventorySchema schema(
        kBaseVersion, programObjects(),
        // The steps after the base version, oldest first.
        {
            {2,
             QStringList{kEvidenceTable, kEvidenceItemIndex, kEvidenceSha256Index, kEvidenceCascade}
                 .join(QStringLiteral(";\n"))},
            {3, HistorySchema::step()},
            {4, QStringList{kClaimsTable, kClaimItemsTable, kClaimItemsItemIndex,
                            kClaimItemsOfClaim, kClaimItemsOfItem}
                    .join(QStringLiteral(";\n"))},
        });
    return schema;
}

int InventorySchema::fileVersion(sqlite3* db) const {
    sqlite3_stmt* stmt = nullptr;
    int version = -1;
    if (sqlite3_prepare_v2(db, "PRAGMA user_version", -1, &stmt, nullptr) == SQLITE_OK &&
        sqlite3_step(stmt) == SQLITE_ROW) {
        version = sqlite3_column_int(stmt, 0);
    }
    sqlite3_finalize(stmt);
    if (version < 0) {
        throw Error(sqlite3_extended_errcode(db), QString::fromUtf8(sqlite3_errmsg(db)));
    }
    return version == 0 ? m_baseVersion : version;
}

QString InventorySchema::foreignObject(sqlite3* db, int version) const {
    sqlite3_stmt* stmt = nullptr;
    int rc = sqlite3_prepare_v2(db, "SELECT type, name, sql FROM sqlite_schema ORDER BY rowid", -1,
                                &stmt, nullptr);
    QString problem;
    std::vector<bool> seen(m_objects.size(), false);
    while (rc == SQLITE_OK || (rc == SQLITE_ROW && problem.isEmpty())) {
        rc = sqlite3_step(stmt);
        if (rc != SQLITE_ROW) {
            break;
        }
        const QString type = text(stmt, 0);
        const QString name = text(stmt, 1);
        const bool hasSql = sqlite3_column_type(stmt, 2) != SQLITE_NULL;
        const QString sql = normalized(text(stmt, 2));
        if (isInternal(type, name, sql, hasSql)) {
            continue;
        }
        const auto known = std::find_if(m_objects.begin(), m_objects.end(), [&](const Object& o) {
            return o.since <= version && o.name.compare(name, Qt::CaseInsensitive) == 0;
        });
        if (known == m_objects.end()) {
            problem = QStringLiteral("The file holds %1 \"%2\", which is not part of an inventory.")
                          .arg(type, name);
        } else if (known->type != type || known->sql != sql) {
            problem = QStringLiteral(
                          "The file holds a changed %1 \"%2\", which is not part of an inventory.")
                          .arg(type, name);
        } else {
            seen[static_cast<size_t>(known - m_objects.begin())] = true;
        }
    }
    const QString error = QString::fromUtf8(sqlite3_errmsg(db));
    sqlite3_finalize(stmt);
    // SQLITE_ROW: stopped at the first foreign object.
    if (rc != SQLITE_DONE && rc != SQLITE_ROW) {
        return QStringLiteral("The database cannot be read: %1.").arg(error);
    }
    if (!problem.isEmpty()) {
        return problem;
    }
    for (size_t i = 0; i < m_objects.size(); ++i) {
        if (m_objects[i].since <= version && !seen[i]) {
            return QStringLiteral("The file holds no inventory: the %1 %2 is missing.")
                .arg(m_objects[i].type, m_objects[i].name);
        }
    }
    return QString();
}

void InventorySchema::upgrade(sqlite3* db) const {
    // The write lock first: two programs opening the same old file at once
    // apply the steps once.
    exec(db, QStringLiteral("BEGIN IMMEDIATE"));
    try {
        const int from = fileVersion(db);
        // An empty file holds no inventory to bring up: it is left for the
        // first statement to fail on, as on any file without the tables.
        if (from >= m_version || isEmpty(db)) {
            exec(db, QStringLiteral("COMMIT"));
            return;
        }
        const QString problem = foreignObject(db, from);
        if (!problem.isEmpty()) {
            throw Error(SQLITE_CORRUPT, problem);
        }
        for (const Step& step : m_steps) {
            if (step.version > from) {
                exec(db, step.sql);
            }
        }
        exec(db, QStringLiteral("PRAGMA user_version = %1").arg(m_version));
        exec(db, QStringLiteral("COMMIT"));
    } catch (const Error&) {
        sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
}

void InventorySchema::bringUpToDate(const QString& databaseFile) {
    sqlite3* db = nullptr;
    const int rc =
        openDatabase(QFile::encodeName(databaseFile).constData(), &db, SQLITE_OPEN_READWRITE);
    try {
        if (rc != SQLITE_OK) {
            throw Error(rc, QString::fromUtf8(sqlite3_errstr(rc)));
        }
        sqlite3_busy_timeout(db, 2000);
        const InventorySchema& schema = program();
        if (schema.fileVersion(db) < schema.version()) {
            schema.upgrade(db);
        }
    } catch (const Error&) {
        sqlite3_close_v2(db);
        throw;
    }
    sqlite3_close_v2(db);
}

QString InventorySchema::normalized(const QString& sql) {
    return sql.simplified();
}

QString InventorySchema::newerVersionMessage() {
    return QStringLiteral("This inventory was written by a newer version of Quorvane. It is "
                          "opened read-only; changes cannot be saved.");
}

} // namespace Riri
