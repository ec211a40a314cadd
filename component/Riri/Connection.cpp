#include "Connection.h"

#include "Error.h"
#include "ErrorNumbers.h"
#include "InventorySchema.h"
#include "WriteGate.h"

#include <cstring>
#include <sqlite3.h>

namespace Riri {

namespace {

// Error numbers for failures that do not come from SQLite itself.
constexpr int kNotOpen = SQLITE_MISUSE;

} // namespace

QByteArray statementUtf8(const QString& statement) {
    const qsizetype n = statement.size();
    const QChar* text = statement.constData();
    qsizetype i = 0;
    for (; i < n; ++i) {
        if (text[i].isHighSurrogate() && i + 1 < n && text[i + 1].isLowSurrogate()) {
            ++i;
        } else if (text[i].isSurrogate()) {
            break;
        }
    }
    if (i == n) {
        return statement.toUtf8();
    }
    QString copy = statement;
    for (; i < n; ++i) {
        if (copy.at(i).isHighSurrogate() && i + 1 < n && copy.at(i + 1).isLowSurrogate()) {
            ++i;
        } else if (copy.at(i).isSurrogate()) {
            copy[i] = QChar::ReplacementCharacter;
        }
    }
    return copy.toUtf8();
}

QString connectionValue(const QString& value) {
    if (!value.contains(QLatin1Char(';')) && !value.startsWith(QLatin1Char('"'))) {
        return value;
    }
    QString copy = value;
    return QLatin1Char('"') + copy.replace(QLatin1Char('"'), QLatin1String("\"\"")) +
           QLatin1Char('"');
}

void Connection::DatabaseCloser::operator()(sqlite3* db) const noexcept {
    sqlite3_close_v2(db); // a pending transaction is rolled back
}

void Connection::StatementFinalizer::operator()(sqlite3_stmt* stmt) const noexcept {
    sqlite3_finalize(stmt);
}

QString Connection::dataSource() const {
    // Pairs "key=value;". A value that holds a semicolon is enclosed in double
    // quotes, with any double quote inside it doubled.
    const QString& text = m_connectionString;
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n) {
        const qsizetype eq = text.indexOf(QLatin1Char('='), i);
        if (eq < 0) {
            break;
        }
        const QString key = text.mid(i, eq - i).trimmed();
        QString value;
        i = eq + 1;
        if (i < n && text.at(i) == QLatin1Char('"')) {
            for (++i; i < n; ++i) {
                if (text.at(i) == QLatin1Char('"')) {
                    if (i + 1 < n && text.at(i + 1) == QLatin1Char('"')) {
                        ++i;
                    } else {
                        ++i;
                        break;
                    }
                }
                value += text.at(i);
            }
            const qsizetype semi = text.indexOf(QLatin1Char(';'), i);
            i = semi < 0 ? n : semi + 1;
        } else {
            const qsizetype semi = text.indexOf(QLatin1Char(';'), i);
            const qsizetype end = semi < 0 ? n : semi;
            value = text.mid(i, end - i);
            i = end + 1;
        }
        if (key.compare(QLatin1String("Data Source"), Qt::CaseInsensitive) == 0) {
            return value;
        }
    }
    return QString();
}

void Connection::fail(int number, const QString& description) {
    m_lastNumber = number;
    m_lastDescription = description;
    throw Error(number, description);
}

void Connection::failFromDb(int code) {
    const int extended = m_db != nullptr ? sqlite3_extended_errcode(m_db.get()) : code;
    const QString text = m_db != nullptr ? QString::fromUtf8(sqlite3_errmsg(m_db.get()))
                                         : QString::fromUtf8(sqlite3_errstr(code));
    fail(extended != 0 ? extended : code, text);
}

void Connection::requireOpen(const char* operation) {
    if (m_db == nullptr) {
        fail(kNotOpen,
             QStringLiteral("%1: the connection is not open").arg(QLatin1String(operation)));
    }
}

void Connection::clearErrors() {
    m_lastNumber = 0;
    m_lastDescription.clear();
}

void Connection::Open() {
    if (m_db != nullptr) {
        fail(kNotOpen, QStringLiteral("The connection is already open"));
    }
    const QString file = dataSource();
    if (file.isEmpty()) {
        fail(SQLITE_CANTOPEN, QStringLiteral("The connection names no data source"));
    }
    sqlite3* opened = nullptr;
    const int rc = openDatabase(file.toUtf8().constData(), &opened,
                                (m_readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE) |
                                    SQLITE_OPEN_NOMUTEX);
    DatabaseHandle db(opened); // even a failed open may leave a handle to close
    if (rc != SQLITE_OK) {
        QString text = db != nullptr ? QString::fromUtf8(sqlite3_errmsg(db.get()))
                                     : QString::fromUtf8(sqlite3_errstr(rc));
        // The system's reason ("Permission denied") tells why a file that is
        // there could not be opened.
        const int reason = db != nullptr ? sqlite3_system_errno(db.get()) : 0;
        if (reason != 0) {
            text += QStringLiteral(" (%1)").arg(QString::fromLocal8Bit(std::strerror(reason)));
        }
        db.reset();
        fail(rc, QStringLiteral("%1: %2").arg(text, file));
    }
    m_db = std::move(db);
    sqlite3_busy_timeout(m_db.get(), kBusyTimeoutMs);
    sqlite3_extended_result_codes(m_db.get(), 1);
    // A file that is not a database opens without complaint; read its schema
    // now so that the open fails instead of the first statement.
    m_newerFile = false;
    try {
        exec("SELECT count(*) FROM sqlite_schema");
        if (!m_readOnly) {
            prepareForWriting();
        }
    } catch (const Error&) {
        m_db.reset();
        throw;
    }
}

void Connection::prepareForWriting() {
    // An older file is brought up to this program's schema before the first
    // statement; a newer one is only read, never altered, so that the
    // program that wrote it finds it as it left it.
    const InventorySchema& schema = InventorySchema::program();
    const int version = schema.fileVersion(m_db.get());
    if (version > schema.version()) {
        m_newerFile = true;
        exec("PRAGMA query_only = ON");
    } else if (version < schema.version()) {
        // Bringing the file up to date writes to it: not before start-up's
        // check has passed.
        WriteGate::requireWritable();
        schema.upgrade(m_db.get());
    }
}

void Connection::requireWritable() {
    requireOpen("requireWritable");
    if (m_newerFile) {
        fail(SQLITE_READONLY, InventorySchema::newerVersionMessage());
    }
    if (m_readOnly) {
        fail(SQLITE_READONLY, QStringLiteral("The connection was opened for reading only"));
    }
    WriteGate::requireWritable();
}

void Connection::exec(const char* sql) {
    char* message = nullptr;
    const int rc = sqlite3_exec(m_db.get(), sql, nullptr, nullptr, &message);
    if (rc != SQLITE_OK) {
        const QString text =
            message != nullptr ? QString::fromUtf8(message) : QString::fromUtf8(sqlite3_errstr(rc));
        sqlite3_free(message);
        fail(sqlite3_extended_errcode(m_db.get()), text);
    }
}

bool Connection::inTransaction() const {
    return m_db != nullptr && sqlite3_get_autocommit(m_db.get()) == 0;
}

void Connection::BeginTrans() {
    requireOpen("BeginTrans");
    exec("BEGIN");
    m_transactionBegun = true;
}

void Connection::nameSource(const QString& source) {
    requireOpen("nameSource");
    if (!inTransaction()) {
        fail(kNotOpen, QStringLiteral("No transaction is active"));
    }
    // A file without the history (an empty one, which the first statement
    // reports) has nothing to name it for.
    if (sqlite3_table_column_metadata(m_db.get(), "main", "tblHistorySource", nullptr, nullptr,
                                      nullptr, nullptr, nullptr, nullptr) != SQLITE_OK) {
        return;
    }
    QString text = source;
    text.replace(QLatin1Char('\''), QLatin1String("''"));
    const QByteArray sql =
        statementUtf8(QStringLiteral("DELETE FROM tblHistorySource; INSERT INTO tblHistorySource "
                                     "(Source) VALUES ('%1')")
                          .arg(text));
    exec(sql.constData());
    m_sourceNamed = true;
}

void Connection::CommitTrans() {
    requireOpen("CommitTrans");
    if (!inTransaction()) {
        fail(kNotOpen, QStringLiteral("No transaction is active"));
    }
    if (m_sourceNamed) {
        exec("DELETE FROM tblHistorySource");
        m_sourceNamed = false;
    }
    exec("COMMIT");
    m_transactionBegun = false;
}

void Connection::RollbackTrans() {
    requireOpen("RollbackTrans");
    if (!inTransaction()) {
        if (m_transactionBegun) {
            // SQLite already rolled the transaction back itself when the
            // failing statement ran (a full disk, a trigger's RAISE(ROLLBACK)):
            // the rollback asked for has happened.
            m_transactionBegun = false;
            m_sourceNamed = false;
            return;
        }
        fail(kNotOpen, QStringLiteral("No transaction is active"));
    }
    exec("ROLLBACK");
    m_transactionBegun = false;
    m_sourceNamed = false;
}

void Connection::Close() {
    requireOpen("Close");
    m_db.reset(); // a pending transaction is rolled back
    m_transactionBegun = false;
    m_sourceNamed = false;
}

std::shared_ptr<Recordset> Connection::Execute(const QString& statement, qint64* recordsAffected,
                                               const Progress& progress) {
    requireOpen("Execute");
    const QByteArray sql = statementUtf8(statement);
    sqlite3_stmt* prepared = nullptr;
    const char* tail = nullptr;
    int rc = sqlite3_prepare_v2(m_db.get(), sql.constData(), static_cast<int>(sql.size()) + 1,
                                &prepared, &tail);
    const StatementHandle stmt(prepared);
    if (rc != SQLITE_OK) {
        failFromDb(rc);
    }
    if (stmt == nullptr) {
        fail(SQLITE_MISUSE, QStringLiteral("The statement is empty"));
    }
    // Exactly one statement per call: anything but blanks after it is refused.
    const char* end = sql.constData() + sql.size();
    if (tail != nullptr && tail < end &&
        !QByteArray::fromRawData(tail, end - tail).trimmed().isEmpty()) {
        fail(SQLITE_MISUSE, QStringLiteral("More than one statement in one call"));
    }

    std::shared_ptr<Recordset> result;
    const int columns = sqlite3_column_count(stmt.get());
    if (columns > 0) {
        QStringList names;
        names.reserve(columns);
        for (int i = 0; i < columns; ++i) {
            names.append(QString::fromUtf8(sqlite3_column_name(stmt.get(), i)));
        }
        result = std::make_shared<Recordset>(names);
    }
    // Rows between two reports of progress: often enough to cancel at once.
    constexpr qint64 kRowsPerReport = 1000;
    qint64 rows = 0;
    while ((rc = sqlite3_step(stmt.get())) == SQLITE_ROW) {
        if (++rows % kRowsPerReport == 0 && !goOn(progress, rows, 0)) {
            fail(ErrorNumber::Cancelled, QStringLiteral("The reading was cancelled."));
        }
        for (int i = 0; i < columns; ++i) {
            // Read as UTF-8, as stored: SQLite's own UTF-16 conversion would
            // turn the characters U+FFFE and U+FFFF into U+FFFD.
            const bool isNull = sqlite3_column_type(stmt.get(), i) == SQLITE_NULL;
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt.get(), i));
            const int bytes = sqlite3_column_bytes(stmt.get(), i);
            result->appendCellUtf8(text, bytes, isNull);
        }
    }
    if (rc != SQLITE_DONE) {
        failFromDb(rc);
    }
    if (recordsAffected != nullptr) {
        *recordsAffected = columns > 0 ? 0 : sqlite3_changes64(m_db.get());
    }
    return result;
}

} // namespace Riri
