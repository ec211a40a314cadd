#include "InventoryCheck.h"

#include "Error.h"
#include "InventorySchema.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <sqlite3.h>

namespace Riri {

namespace {

const char* const kItemColumns[] = {"ID",          "ItemID", "ItemName", "SN",      "Model",
                                    "RoomName",    "Cost",   "CurValue", "BuyDate", "AccquiredFrom",
                                    "Description", "Notes",  "AddDate",  "ModDate"};
const char* const kOwnerColumns[] = {"OwnerID", "LName", "FName", "MName",   "FullName", "Address",
                                     "City",    "State", "Zip",   "AddDate", "ModDate"};

// The rows of a one-column query as texts; false (with the message) when
// the query fails.
bool column(sqlite3* db, const char* sql, QStringList* rows, QString* error) {
    sqlite3_stmt* stmt = nullptr;
    int rc = sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr);
    if (rc == SQLITE_OK) {
        while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
            rows->append(
                QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0))));
        }
    }
    sqlite3_finalize(stmt);
    if (rc != SQLITE_DONE && rc != SQLITE_OK) {
        *error = QString::fromUtf8(sqlite3_errmsg(db));
        return false;
    }
    return true;
}

template <size_t N>
QString missingColumn(sqlite3* db, const char* table, const char* const (&expected)[N]) {
    QStringList names;
    QString error;
    if (!column(db,
                qPrintable(QStringLiteral("SELECT name FROM pragma_table_info('%1')")
                               .arg(QLatin1String(table))),
                &names, &error)) {
        return error;
    }
    if (names.isEmpty()) {
        return QStringLiteral("The file holds no inventory: the table %1 is missing.")
            .arg(QLatin1String(table));
    }
    for (const char* name : expected) {
        if (!names.contains(QLatin1String(name), Qt::CaseInsensitive)) {
            return QStringLiteral("The table %1 has no column %2.")
                .arg(QLatin1String(table), QLatin1String(name));
        }
    }
    return QString();
}

InventoryCheck failed(const QString& problem) {
    InventoryCheck check;
    check.problem = problem;
    return check;
}

InventoryCheck openAndCheck(const QString& path, bool quick) {
    const QFileInfo info(path);
    if (!info.exists()) {
        return failed(
            QStringLiteral("The file %1 does not exist.").arg(QDir::toNativeSeparators(path)));
    }
    if (!info.isFile()) {
        return failed(QStringLiteral("%1 is not a file.").arg(QDir::toNativeSeparators(path)));
    }
    if (info.size() == 0) {
        return failed(QStringLiteral("The file is empty: it holds no inventory."));
    }
    for (int attempt = 0; attempt < 2; ++attempt) {
        // Read-only first. A journal left by an interrupted write must be
        // rolled back before the file can be read; a read-only connection
        // cannot, so the second attempt opens it for writing just for that.
        sqlite3* db = nullptr;
        const int flags = attempt == 0 ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE;
        int rc = openDatabase(QFile::encodeName(path).constData(), &db, flags);
        if (rc != SQLITE_OK) {
            const QString text =
                QString::fromUtf8(db != nullptr ? sqlite3_errmsg(db) : sqlite3_errstr(rc));
            sqlite3_close_v2(db);
            return failed(QStringLiteral("The file cannot be opened as a database: %1.").arg(text));
        }
        sqlite3_extended_result_codes(db, 1);
        sqlite3_busy_timeout(db, 2000);
        // The checks read the whole file; mapped, they read it faster.
        sqlite3_exec(db, "PRAGMA mmap_size=1073741824", nullptr, nullptr, nullptr);
        InventoryCheck check = InventoryCheck::inspectOpen(db, quick);
        const int code = sqlite3_extended_errcode(db);
        sqlite3_close_v2(db);
        if (!check.ok && attempt == 0 && code == SQLITE_READONLY_ROLLBACK) {
            continue;
        }
        return check;
    }
    return failed(QStringLiteral("The file cannot be read."));
}

} // namespace

InventoryCheck InventoryCheck::inspect(const QString& path) {
    return openAndCheck(path, false);
}

InventoryCheck InventoryCheck::quickCheck(const QString& path) {
    return openAndCheck(path, true);
}

InventoryCheck InventoryCheck::summary(const QString& path) {
    if (!QFileInfo(path).isFile()) {
        return failed(
            QStringLiteral("The file %1 does not exist.").arg(QDir::toNativeSeparators(path)));
    }
    sqlite3* db = nullptr;
    const int rc = openDatabase(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY);
    if (rc != SQLITE_OK) {
        const QString text =
            QString::fromUtf8(db != nullptr ? sqlite3_errmsg(db) : sqlite3_errstr(rc));
        sqlite3_close_v2(db);
        return failed(QStringLiteral("The file cannot be opened as a database: %1.").arg(text));
    }
    sqlite3_busy_timeout(db, 2000);
    // Each value rounded to whole cents before it is added, so the total is
    // exact.
    QStringList row;
    QString error;
    const bool read = column(db,
                             "SELECT (SELECT count(*) FROM tblItems) || ',' || (SELECT count(*) "
                             "FROM tblOwner) || ',' || (SELECT coalesce(sum(CAST(round("
                             "coalesce(CurValue, 0) * 100) AS INTEGER)), 0) FROM tblItems)",
                             &row, &error);
    sqlite3_close_v2(db);
    if (!read || row.size() != 1) {
        return failed(QStringLiteral("The database cannot be read: %1.").arg(error));
    }
    const QStringList parts = row.first().split(QLatin1Char(','));
    InventoryCheck check;
    check.ok = true;
    check.items = parts.value(0).toLongLong();
    check.owners = parts.value(1).toLongLong();
    check.totalValueCents = parts.value(2).toLongLong();
    return check;
}

InventoryCheck InventoryCheck::inspectOpen(sqlite3* db, bool quick, bool newest) {
    QStringList result;
    QString error;
    if (!column(db, quick ? "PRAGMA quick_check" : "PRAGMA integrity_check", &result, &error)) {
        if (sqlite3_errcode(db) == SQLITE_NOTADB) {
            return failed(QStringLiteral("The file is not an inventory database: %1.").arg(error));
        }
        return failed(QStringLiteral("The database cannot be read: %1.").arg(error));
    }
    if (result != QStringList{QStringLiteral("ok")}) {
        const QStringList first = result.mid(0, 3);
        return failed(
            QStringLiteral("The database is damaged: %1").arg(first.join(QLatin1String("; "))));
    }
    QString missing = missingColumn(db, "tblItems", kItemColumns);
    if (missing.isEmpty()) {
        missing = missingColumn(db, "tblOwner", kOwnerColumns);
    }
    if (!missing.isEmpty()) {
        return failed(missing);
    }
    // Beside its tables the file may hold nothing the program did not make:
    // a trigger or a view brought in by another program would run inside
    // every later write. A newer version's objects are not known here; such
    // a file is only ever read.
    const InventorySchema& schema = InventorySchema::program();
    int version = 0;
    try {
        version = schema.fileVersion(db);
    } catch (const Error& e) {
        return failed(QStringLiteral("The database cannot be read: %1.").arg(e.description()));
    }
    if (version <= schema.version()) {
        const QString foreign = schema.foreignObject(db, version);
        if (!foreign.isEmpty()) {
            return failed(foreign);
        }
    }
    // The newest change needs a pass over every item; a copy's check
    // leaves it out.
    const char* const countsOnly = "SELECT (SELECT count(*) FROM tblItems) || ',' || "
                                   "(SELECT count(*) FROM tblOwner) || ','";
    const char* const withNewest =
        "SELECT (SELECT count(*) FROM tblItems) || ',' || (SELECT count(*) FROM tblOwner) "
        "|| ',' || coalesce(max((SELECT max(max(coalesce(AddDate, '')), "
        "max(coalesce(ModDate, ''))) FROM tblItems), (SELECT max(max(coalesce(AddDate, "
        "'')), max(coalesce(ModDate, ''))) FROM tblOwner)), '')";
    QStringList counts;
    if (!column(db, newest ? withNewest : countsOnly, &counts, &error) || counts.size() != 1) {
        return failed(QStringLiteral("The database cannot be read: %1.").arg(error));
    }
    const QStringList parts = counts.first().split(QLatin1Char(','));
    InventoryCheck check;
    check.ok = true;
    check.items = parts.value(0).toLongLong();
    check.owners = parts.value(1).toLongLong();
    check.newestChange = parts.value(2);
    check.schemaVersion = version;
    check.newerVersion = version > schema.version();
    return check;
}

} // namespace Riri
