#pragma once

#include "Progress.h"
#include "Recordset.h"
#include "RiriExport.h"

#include <QString>
#include <memory>

struct sqlite3;
struct sqlite3_stmt;

namespace Riri {

// The statement text as SQLite is given it: UTF-8, every unpaired surrogate
// replaced by U+FFFD. (QString::toUtf8 writes '?' for one, which would change
// the text; SQLite's own UTF-16 reader would take the character after a lone
// high surrogate as its low half and so swallow a closing quote.)
RIRI_EXPORT QByteArray statementUtf8(const QString& statement);

// A value as a connection string carries it: one that holds a semicolon or
// begins with a double quote is enclosed in double quotes, its own double
// quotes doubled, so that Connection::dataSource() reads it back unchanged.
RIRI_EXPORT QString connectionValue(const QString& value);

// One connection to the inventory database file, opened and closed around
// each operation. Every failure throws Riri::Error with an SQLite result code
// and its message.
class RIRI_EXPORT Connection {
public:
    Connection() = default;
    ~Connection() = default; // the handle closes itself
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // "Provider=...;Data Source=<file>;..." — only the data source is used.
    void setConnectionString(const QString& text) { m_connectionString = text; }
    const QString& connectionString() const { return m_connectionString; }
    QString dataSource() const;

    // Opens the file read-write (or read-only, when set so); it is never
    // created. Opening an open connection fails. Every connection runs with
    // SQLite's defensive settings (see openDatabase). Opened read-write, an
    // older inventory is brought up to the program's schema first, and one
    // written by a newer version is opened for reading only.
    void Open();
    void setReadOnly(bool readOnly) { m_readOnly = readOnly; }
    void BeginTrans();
    // Runs one statement. A statement that returns rows gives a detached
    // record set; any other gives none and stores the number of rows it changed.
    // Progress counts the rows read (the whole is not known: 0).
    std::shared_ptr<Recordset> Execute(const QString& statement, qint64* recordsAffected = nullptr,
                                       const Progress& progress = {});
    // Names where the changes of the open write transaction come from, for
    // the history its triggers write (see HistorySchema); the name is
    // removed again when the transaction commits, so that it never outlives
    // the transaction. Call it after BeginTrans on a writable connection.
    void nameSource(const QString& source);
    void CommitTrans();
    // Fails when no connection is open or no transaction is pending.
    void RollbackTrans();
    void Close();

    bool isOpen() const { return m_db != nullptr; }
    // Writers call this first: it fails, with the message for the user,
    // when the open file was written by a newer version of the program.
    void requireWritable();
    bool isNewerFile() const { return m_newerFile; }
    // The open SQLite handle, for the bulk operations (copies, import and
    // export) that work on the file through SQLite's own interfaces.
    sqlite3* handle() const { return m_db.get(); }
    bool inTransaction() const;

    // The number and description of the last failure, until cleared.
    int lastErrorNumber() const { return m_lastNumber; }
    const QString& lastErrorDescription() const { return m_lastDescription; }
    void clearErrors();

    // How long a statement waits for another connection's lock to pass.
    static constexpr int kBusyTimeoutMs = 2000;

    // Owning handles: a database closes itself, a statement finalizes itself,
    // on every path out, an exception included. The bulk operations that work
    // through SQLite's own interfaces hold their handles in these too.
    struct DatabaseCloser {
        void operator()(sqlite3* db) const noexcept;
    };
    struct StatementFinalizer {
        void operator()(sqlite3_stmt* stmt) const noexcept;
    };
    using DatabaseHandle = std::unique_ptr<sqlite3, DatabaseCloser>;
    using StatementHandle = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

private:
    [[noreturn]] void fail(int number, const QString& description);
    [[noreturn]] void failFromDb(int code);
    void requireOpen(const char* operation);
    void exec(const char* sql);
    void prepareForWriting();

    QString m_connectionString;
    DatabaseHandle m_db;
    bool m_readOnly = false;
    bool m_newerFile = false;        // its schema version is newer than the program's
    bool m_transactionBegun = false; // BeginTrans ran, no commit or rollback yet
    bool m_sourceNamed = false;      // the transaction wrote tblHistorySource
    int m_lastNumber = 0;
    QString m_lastDescription;
};

} // namespace Riri
