#include "InventoryCopy.h"

#include "AutoBackups.h"
#include "ComponentFolder.h"
#include "Connection.h"
#include "Error.h"
#include "ErrorNumbers.h"
#include "HistoryRestore.h"
#include "InstallPaths.h"
#include "InventorySchema.h"
#include "SafeFile.h"
#include "WriteGate.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <functional>
#include <sqlite3.h>
#include <sys/stat.h>

namespace Riri {

namespace {

// How long a copy waits for another connection's write to end.
constexpr int kLockWaitMs = 10000;
// Pages copied per step of the online backup: 4 MiB of 4 KiB pages, a few
// milliseconds each, so progress is told often and cancelling is quick.
constexpr int kPagesPerStep = 1024;

// Removes the temporary file unless the operation got through.
class TemporaryGuard {
public:
    explicit TemporaryGuard(QString path) : m_path(std::move(path)) {}
    ~TemporaryGuard() {
        if (!m_kept) {
            SafeFile::discard(m_path);
        }
    }
    TemporaryGuard(const TemporaryGuard&) = delete;
    TemporaryGuard& operator=(const TemporaryGuard&) = delete;
    void keep() { m_kept = true; }

private:
    QString m_path;
    bool m_kept = false;
};

// A plain SQLite handle on a file, closed when it goes.
class Handle {
public:
    Handle(const QString& path, int flags) : m_path(path) {
        sqlite3* opened = nullptr;
        const int rc = openDatabase(QFile::encodeName(path).constData(), &opened, flags);
        m_db.reset(opened); // even a failed open may leave a handle to close
        if (rc != SQLITE_OK) {
            throw Error(rc, SafeFile::failureText(opened, path));
        }
        sqlite3_extended_result_codes(opened, 1);
        // Short, even waits for another connection's lock: SQLite's own
        // timeout waits longer and longer and can miss every gap between
        // the transactions of a busy writer.
        sqlite3_busy_handler(
            opened,
            [](void*, int tries) {
                if (tries * 2 >= kLockWaitMs) {
                    return 0;
                }
                sqlite3_sleep(2);
                return 1;
            },
            nullptr);
    }
    sqlite3* get() const { return m_db.get(); }
    // One number a statement gives (a pragma's value); 0 when it fails.
    qint64 number(const char* sql) const {
        sqlite3_stmt* prepared = nullptr;
        const bool ready = sqlite3_prepare_v2(get(), sql, -1, &prepared, nullptr) == SQLITE_OK;
        const Connection::StatementHandle stmt(prepared);
        return ready && sqlite3_step(stmt.get()) == SQLITE_ROW ? sqlite3_column_int64(stmt.get(), 0)
                                                               : 0;
    }
    void exec(const char* sql) const {
        if (sqlite3_exec(get(), sql, nullptr, nullptr, nullptr) != SQLITE_OK) {
            throw Error(SafeFile::failureNumber(get()), SafeFile::failureText(get(), m_path));
        }
    }

private:
    QString m_path;
    Connection::DatabaseHandle m_db;
};

std::pair<qint64, qint64> counts(sqlite3* db, const QString& path) {
    std::pair<qint64, qint64> result{-1, -1};
    {
        sqlite3_stmt* prepared = nullptr;
        const bool ready = sqlite3_prepare_v2(db,
                                              "SELECT (SELECT count(*) FROM tblItems), "
                                              "(SELECT count(*) FROM tblOwner)",
                                              -1, &prepared, nullptr) == SQLITE_OK;
        const Connection::StatementHandle stmt(prepared);
        if (ready && sqlite3_step(stmt.get()) == SQLITE_ROW) {
            result = {sqlite3_column_int64(stmt.get(), 0), sqlite3_column_int64(stmt.get(), 1)};
        }
    } // finalized before a failure is read from the handle
    if (result.first < 0) {
        throw Error(SafeFile::failureNumber(db), SafeFile::failureText(db, path));
    }
    return result;
}

[[noreturn]] void throwCancelled(const char* operation) {
    throw Error(ErrorNumber::Cancelled,
                QStringLiteral("The %1 was cancelled.").arg(QLatin1String(operation)));
}

// Copies every page of one database into another with SQLite's online
// backup, a few pages at a time, waiting for a writer's lock to pass.
// Progress counts the bytes of the pages copied.
void copyPages(sqlite3* from, sqlite3* to, const QString& toPath, const Progress& progress,
               const char* operation) {
    sqlite3_backup* backup = sqlite3_backup_init(to, "main", from, "main");
    if (backup == nullptr) {
        throw Error(SafeFile::failureNumber(to), SafeFile::failureText(to, toPath));
    }
    sqlite3_stmt* prepared = nullptr;
    qint64 pageSize = 4096;
    if (sqlite3_prepare_v2(from, "PRAGMA page_size", -1, &prepared, nullptr) == SQLITE_OK) {
        const Connection::StatementHandle stmt(prepared);
        if (sqlite3_step(stmt.get()) == SQLITE_ROW) {
            pageSize = qMax<qint64>(1, sqlite3_column_int64(stmt.get(), 0));
        }
    } else {
        sqlite3_finalize(prepared);
    }
    QElapsedTimer waited;
    waited.start();
    int rc = SQLITE_OK;
    int systemErrno = 0;
    bool cancelled = false;
    for (;;) {
        errno = 0;
        rc = sqlite3_backup_step(backup, kPagesPerStep);
        systemErrno = errno;
        if ((rc == SQLITE_BUSY || rc == SQLITE_LOCKED) && waited.elapsed() < kLockWaitMs) {
            sqlite3_sleep(20);
            continue;
        }
        if (rc != SQLITE_OK && rc != SQLITE_DONE) {
            break;
        }
        const qint64 pages = sqlite3_backup_pagecount(backup);
        const qint64 copied = pages - sqlite3_backup_remaining(backup);
        if (!goOn(progress, copied * pageSize, pages * pageSize)) {
            cancelled = true;
            break;
        }
        if (rc == SQLITE_DONE) {
            break;
        }
    }
    sqlite3_backup_finish(backup);
    if (cancelled) {
        throwCancelled(operation);
    }
    if (rc != SQLITE_DONE) {
        if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED) {
            throw Error(rc, QStringLiteral("The inventory is locked by another program."));
        }
        throw Error(SafeFile::failureNumber(to), SafeFile::failureText(to, toPath, systemErrno));
    }
}

// The copy's own settings: it is a new file nobody else uses, so its
// journal stays in memory (defensive mode allows no file without one), and
// the whole file is forced to the disk once at the end.
void prepareCopy(const Handle& copy) {
    copy.exec("PRAGMA journal_mode=MEMORY");
    copy.exec("PRAGMA synchronous=OFF");
    copy.exec("PRAGMA cache_size=-65536");
    // The check that follows reads the whole file: mapped, it reads it
    // about twice as fast.
    copy.exec("PRAGMA mmap_size=1073741824");
}

// Runs a check that may be cancelled, telling a cancel as the operation's.
InventoryCheck checked(const std::function<InventoryCheck()>& check, const char* operation) {
    try {
        return check();
    } catch (const Error& error) {
        if (error.number() == ErrorNumber::Cancelled) {
            throwCancelled(operation);
        }
        throw;
    }
}

InventoryCheck verify(sqlite3* copy, qint64 items, qint64 owners, const Progress& progress,
                      const char* operation) {
    const InventoryCheck check = checked(
        [&] { return InventoryCheck::inspectOpen(copy, false, false, progress); }, operation);
    if (!check.ok) {
        throw Error(SQLITE_CORRUPT,
                    QStringLiteral("The copy could not be verified: %1").arg(check.problem));
    }
    if (check.items != items || check.owners != owners) {
        throw Error(SQLITE_CORRUPT,
                    QStringLiteral("The copy could not be verified: it holds %1 items and %2 "
                                   "owner records instead of %3 and %4.")
                        .arg(check.items)
                        .arg(check.owners)
                        .arg(items)
                        .arg(owners));
    }
    return check;
}

} // namespace

bool InventoryCopy::writtenByNewerVersion(const QString& path) {
    try {
        const Handle file(path, SQLITE_OPEN_READONLY);
        const InventorySchema& schema = InventorySchema::program();
        return schema.fileVersion(file.get()) > schema.version();
    } catch (const Error&) {
        return false;
    }
}

QString InventoryCopy::databasePath() {
    return InstallPaths::databasePath(componentFolder());
}

InventoryCheck InventoryCopy::backUp(const QString& target, const Progress& progress) {
    return backUpFile(databasePath(), target, progress);
}

InventoryCheck InventoryCopy::backUpFile(const QString& source, const QString& target,
                                         const Progress& progress) {
    if (!QFile::exists(source)) {
        throw Error(SQLITE_CANTOPEN, QStringLiteral("The inventory %1 does not exist.")
                                         .arg(QDir::toNativeSeparators(source)));
    }
    const QString temporary = SafeFile::makeTemporary(target);
    TemporaryGuard guard(temporary);
    InventoryCheck check;
    {
        // The counts and the pages come from one read transaction, so they
        // describe the same moment even while another connection writes.
        Handle from(source, SQLITE_OPEN_READWRITE);
        from.exec("BEGIN");
        const auto [items, owners] = counts(from.get(), source);
        // Two steps of the same size: the pages copied, then checked.
        const qint64 bytes = from.number("PRAGMA page_count") * from.number("PRAGMA page_size");
        Handle copy(temporary, SQLITE_OPEN_READWRITE);
        prepareCopy(copy);
        copyPages(from.get(), copy.get(), target, stepOf(progress, 0, 2 * bytes), "backup");
        from.exec("COMMIT");
        check = verify(copy.get(), items, owners, stepOf(progress, bytes, 2 * bytes), "backup");
    }
    SafeFile::syncFile(temporary);
    SafeFile::commit(temporary, target);
    guard.keep();
    return check;
}

InventoryCheck InventoryCopy::restore(const QString& backup, const Progress& progress) {
    // Three steps of about the backup's size: its check, the copy of its
    // pages and the check of the copy.
    const qint64 bytes = qMax<qint64>(1, QFileInfo(backup).size());
    const Progress first = stepOf(progress, 0, 3 * bytes);
    const InventoryCheck check =
        checked([&] { return InventoryCheck::inspect(backup, first); }, "restore");
    if (!check.ok) {
        throw Error(SQLITE_NOTADB, QStringLiteral("%1 is not an inventory backup. %2")
                                       .arg(QDir::toNativeSeparators(backup), check.problem));
    }
    if (check.newerVersion) {
        throw Error(SQLITE_NOTADB,
                    QStringLiteral("%1 was written by a newer version of Quorvane; this version "
                                   "cannot restore it.")
                        .arg(QDir::toNativeSeparators(backup)));
    }
    // Start-up's check of the inventory decides first; a damaged inventory
    // is what a restore is for, so only a pending check holds it back.
    WriteGate::waitForVerdict();
    const QString live = databasePath();
    if (writtenByNewerVersion(live)) {
        throw Error(SQLITE_READONLY, InventorySchema::newerVersionMessage());
    }
    const QString temporary = SafeFile::makeTemporary(live);
    TemporaryGuard guard(temporary);
    {
        Handle from(backup, SQLITE_OPEN_READONLY);
        Handle copy(temporary, SQLITE_OPEN_READWRITE);
        prepareCopy(copy);
        copyPages(from.get(), copy.get(), live, stepOf(progress, bytes, 3 * bytes), "restore");
        verify(copy.get(), check.items, check.owners, stepOf(progress, 2 * bytes, 3 * bytes),
               "restore");
        // The copy becomes the inventory: it keeps the usual journal, and a
        // copy of an older version is brought up to this program's schema
        // before any reader of the inventory sees it.
        copy.exec("PRAGMA journal_mode=DELETE");
        InventorySchema::program().upgrade(copy.get());
        // The restored file keeps its own history and records the restore.
        HistoryRestore::recordRestore(copy.get(), backup);
    }
    // From here on the restore is not cancelled: the automatic copy of the
    // current inventory is made only now, so a cancelled restore leaves none.
    AutoBackups::make(AutoBackups::Kind::BeforeRestore);
    struct stat status {};
    if (::stat(QFile::encodeName(live).constData(), &status) == 0) {
        ::chmod(QFile::encodeName(temporary).constData(), status.st_mode & 07777);
    }
    SafeFile::syncFile(temporary);

    // Other connections are kept out while the file is swapped: an exclusive
    // lock on the current inventory (which also rolls back a journal left by
    // an interrupted write, so none is left to apply to the new file). An
    // inventory another program is writing is not replaced under it; a
    // damaged one cannot be locked and is replaced all the same, without the
    // journal it may have left.
    Connection current;
    current.setConnectionString(QStringLiteral("Data Source=") + connectionValue(live) +
                                QLatin1Char(';'));
    try {
        current.Open();
        current.Execute(QStringLiteral("BEGIN EXCLUSIVE"));
    } catch (const Error& error) {
        if (current.isOpen()) {
            current.Close();
        }
        const int primary = error.number() & 0xFF;
        if (primary == SQLITE_BUSY || primary == SQLITE_LOCKED) {
            throw Error(error.number(),
                        QStringLiteral("The inventory is in use by another program; nothing "
                                       "was changed."));
        }
        QFile::remove(live + QStringLiteral("-journal"));
    }
    SafeFile::commit(temporary, live);
    guard.keep();
    if (current.isOpen()) {
        current.Close();
    }
    WriteGate::open(); // the inventory is the checked copy now
    return check;
}

} // namespace Riri
