#include "InventoryCheck.h"

#include "Connection.h"
#include "Error.h"
#include "ErrorNumbers.h"
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

// One number a statement gives (a pragma's value); 0 when it fails.
qint64 number(sqlite3* db, const char* sql) {
    sqlite3_stmt* prepared = nullptr;
    qint64 value = 0;
    if (sqlite3_prepare_v2(db, sql, -1, &prepared, nullptr) == SQLITE_OK) {
        const Connection::StatementHandle stmt(prepared);
        if (sqlite3_step(stmt.get()) == SQLITE_ROW) {
            value = sqlite3_column_int64(stmt.get(), 0);
        }
    } else {
        sqlite3_finalize(prepared);
    }
    return value;
}

// Reports how far SQLite's check of a file is, from its progress handler.
// The check runs a fairly even number of instructions per page it reads, so
// the instructions counted give an estimate of the bytes read; the estimate
// stays below the whole until the check has ended. Stopping interrupts the
// statement. The handler is removed when this goes.
class CheckMeter {
public:
    CheckMeter(sqlite3* db, const Progress& progress) : m_db(db), m_progress(progress) {
        if (!m_progress) {
            return;
        }
        m_pageSize = qMax<qint64>(1, number(db, "PRAGMA page_size"));
        m_total = number(db, "PRAGMA page_count") * m_pageSize;
        sqlite3_progress_handler(db, kInstructionsPerCall, &CheckMeter::call, this);
    }
    ~CheckMeter() {
        if (m_progress) {
            sqlite3_progress_handler(m_db, 0, nullptr, nullptr);
        }
    }
    CheckMeter(const CheckMeter&) = delete;
    CheckMeter& operator=(const CheckMeter&) = delete;

    bool cancelled() const { return m_cancelled; }
    // The whole is reached: false when progress asks to stop even now.
    bool finish() {
        if (m_progress) {
            sqlite3_progress_handler(m_db, 0, nullptr, nullptr);
        }
        m_cancelled = !goOn(m_progress, m_total, m_total);
        return !m_cancelled;
    }

private:
    // Measured on inventories of a few hundred to 200,000 items: the
    // integrity check runs some 450 to 750 instructions per page.
    static constexpr int kInstructionsPerCall = 10000;
    static constexpr qint64 kInstructionsPerPage = 700;

    static int call(void* self) {
        auto* meter = static_cast<CheckMeter*>(self);
        meter->m_instructions += kInstructionsPerCall;
        const qint64 estimate = meter->m_instructions / kInstructionsPerPage * meter->m_pageSize;
        const qint64 done = qMin(estimate, meter->m_total - meter->m_total / 100);
        if (!meter->m_progress(qMax<qint64>(0, done), meter->m_total)) {
            meter->m_cancelled = true;
            return 1; // interrupts the statement
        }
        return 0;
    }

    sqlite3* m_db;
    const Progress& m_progress;
    qint64 m_pageSize = 1;
    qint64 m_total = 0;
    qint64 m_instructions = 0;
    bool m_cancelled = false;
};

[[noreturn]] void throwCancelled() {
    throw Error(ErrorNumber::Cancelled, QStringLiteral("The check was cancelled."));
}

InventoryCheck failed(const QString& problem) {
    InventoryCheck check;
    check.problem = problem;
    return check;
}

InventoryCheck openAndCheck(const QString& path, bool quick, const Progress& progress = {}) {
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
        sqlite3* opened = nullptr;
        const int flags = attempt == 0 ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE;
        int rc = openDatabase(QFile::encodeName(path).constData(), &opened, flags);
        const Connection::DatabaseHandle handle(opened); // closed on every way out
        sqlite3* db = handle.get();
        if (rc != SQLITE_OK) {
            const QString text =
                QString::fromUtf8(db != nullptr ? sqlite3_errmsg(db) : sqlite3_errstr(rc));
            return failed(QStringLiteral("The file cannot be opened as a database: %1.").arg(text));
        }
        sqlite3_extended_result_codes(db, 1);
        sqlite3_busy_timeout(db, 2000);
        // The checks read the whole file; mapped, they read it faster.
        sqlite3_exec(db, "PRAGMA mmap_size=1073741824", nullptr, nullptr, nullptr);
        InventoryCheck check = InventoryCheck::inspectOpen(db, quick, true, progress);
        const int code = sqlite3_extended_errcode(db);
        if (!check.ok && attempt == 0 && code == SQLITE_READONLY_ROLLBACK) {
            continue;
        }
        return check;
    }
    return failed(QStringLiteral("The file cannot be read."));
}

} // namespace

InventoryCheck InventoryCheck::inspect(const QString& path, const Progress& progress) {
    return openAndCheck(path, false, progress);
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

InventoryCheck InventoryCheck::inspectOpen(sqlite3* db, bool quick, bool newest,
                                           const Progress& progress) {
    QStringList result;
    QString error;
    CheckMeter meter(db, progress);
    const bool read =
        column(db, quick ? "PRAGMA quick_check" : "PRAGMA integrity_check", &result, &error);
    if (meter.cancelled() || (read && !meter.finish())) {
        throwCancelled();
    }
    if (!read) {
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
