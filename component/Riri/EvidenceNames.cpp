#include "EvidenceNames.h"

#include "Connection.h"
#include "Error.h"
#include "InventorySchema.h"
#include "SafeFile.h"

#include <QFile>
#include <sqlite3.h>

namespace Riri {

namespace {

// Every column that names a file of the store, with its table. A table a
// later schema adds whose rows name files gets its line here, and the sweep
// and the backup then keep those files too.
struct NamingColumn {
    const char* table;
    const char* column;
};
constexpr NamingColumn kNamingColumns[] = {
    {"tblEvidence", "Sha256"},
};

[[noreturn]] void failed(sqlite3* db) {
    throw Error(SafeFile::failureNumber(db), QString::fromUtf8(sqlite3_errmsg(db)));
}

} // namespace

bool EvidenceNames::hasTable(sqlite3* db, const char* table) {
    sqlite3_stmt* prepared = nullptr;
    if (sqlite3_prepare_v2(db, "SELECT 1 FROM sqlite_schema WHERE type = 'table' AND name = ?", -1,
                           &prepared, nullptr) != SQLITE_OK) {
        failed(db);
    }
    const Connection::StatementHandle stmt(prepared);
    sqlite3_bind_text(prepared, 1, table, -1, SQLITE_STATIC);
    const int rc = sqlite3_step(prepared);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE) {
        failed(db);
    }
    return rc == SQLITE_ROW;
}

QSet<QString> EvidenceNames::of(sqlite3* db) {
    QSet<QString> named;
    for (const NamingColumn& naming : kNamingColumns) {
        if (!hasTable(db, naming.table)) {
            continue;
        }
        const QByteArray sql = QByteArrayLiteral("SELECT DISTINCT ") + naming.column +
                               QByteArrayLiteral(" FROM ") + naming.table;
        sqlite3_stmt* prepared = nullptr;
        if (sqlite3_prepare_v2(db, sql.constData(), -1, &prepared, nullptr) != SQLITE_OK) {
            failed(db);
        }
        const Connection::StatementHandle stmt(prepared);
        int rc = SQLITE_OK;
        while ((rc = sqlite3_step(prepared)) == SQLITE_ROW) {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(prepared, 0));
            named.insert(QString::fromUtf8(text, sqlite3_column_bytes(prepared, 0)));
        }
        if (rc != SQLITE_DONE) {
            failed(db);
        }
    }
    return named;
}

QSet<QString> EvidenceNames::ofFile(const QString& databaseFile) {
    sqlite3* opened = nullptr;
    const int rc =
        openDatabase(QFile::encodeName(databaseFile).constData(), &opened, SQLITE_OPEN_READONLY);
    const Connection::DatabaseHandle db(opened);
    if (rc != SQLITE_OK) {
        throw Error(rc, SafeFile::failureText(db.get(), databaseFile));
    }
    sqlite3_busy_timeout(db.get(), Connection::kBusyTimeoutMs);
    if (InventorySchema::program().fileVersion(db.get()) > InventorySchema::program().version()) {
        throw Error(SQLITE_READONLY, QStringLiteral("%1 was written by a newer version of the "
                                                    "program.")
                                         .arg(databaseFile));
    }
    return of(db.get());
}

} // namespace Riri
