#include "SqlStatement.h"

#include "Error.h"
#include "SafeFile.h"

namespace Riri {

SqlStatement::SqlStatement(sqlite3* db, const QString& database, const QByteArray& sql)
    : m_db(db), m_database(database) {
    sqlite3_stmt* prepared = nullptr;
    if (sqlite3_prepare_v2(db, sql.constData(), -1, &prepared, nullptr) != SQLITE_OK) {
        fail();
    }
    m_stmt.reset(prepared);
}

SqlStatement::SqlStatement(Connection& con, const std::string& sql)
    : SqlStatement(con.handle(), QString(), QByteArray::fromStdString(sql)) {}

SqlStatement& SqlStatement::bind(qint64 value) {
    sqlite3_bind_int64(get(), ++m_index, value);
    return *this;
}

SqlStatement& SqlStatement::bind(const QString& text) {
    const QByteArray bytes = statementUtf8(text);
    sqlite3_bind_text(get(), ++m_index, bytes.constData(), static_cast<int>(bytes.size()),
                      SQLITE_TRANSIENT);
    return *this;
}

SqlStatement& SqlStatement::bindNull() {
    sqlite3_bind_null(get(), ++m_index);
    return *this;
}

SqlStatement& SqlStatement::bindKnown(qint64 value) {
    return value == 0 ? bindNull() : bind(value);
}

SqlStatement& SqlStatement::bindKnown(const QString& text) {
    return text.isEmpty() ? bindNull() : bind(text);
}

SqlStatement& SqlStatement::bindDate(const QDate& date) {
    return date.isValid() ? bind(date.toString(Qt::ISODate)) : bindNull();
}

SqlStatement& SqlStatement::bindBlob(const QByteArray& bytes) {
    if (bytes.isEmpty()) {
        return bindNull();
    }
    sqlite3_bind_blob(get(), ++m_index, bytes.constData(), static_cast<int>(bytes.size()),
                      SQLITE_TRANSIENT);
    return *this;
}

bool SqlStatement::step() {
    const int rc = sqlite3_step(get());
    if (rc != SQLITE_ROW && rc != SQLITE_DONE) {
        fail();
    }
    return rc == SQLITE_ROW;
}

void SqlStatement::run() {
    while (step()) {
    }
}

void SqlStatement::reset() {
    sqlite3_reset(get());
    sqlite3_clear_bindings(get());
    m_index = 0;
}

QString SqlStatement::text(int column) const {
    const auto* bytes = reinterpret_cast<const char*>(sqlite3_column_text(get(), column));
    return bytes == nullptr ? QString()
                            : QString::fromUtf8(bytes, sqlite3_column_bytes(get(), column));
}

QByteArray SqlStatement::blob(int column) const {
    const void* bytes = sqlite3_column_blob(get(), column);
    return bytes == nullptr
               ? QByteArray()
               : QByteArray(static_cast<const char*>(bytes), sqlite3_column_bytes(get(), column));
}

void SqlStatement::fail() const {
    if (!m_database.isEmpty()) {
        throw Error(SafeFile::failureNumber(m_db), SafeFile::failureText(m_db, m_database));
    }
    throw Error(sqlite3_extended_errcode(m_db), QString::fromUtf8(sqlite3_errmsg(m_db)));
}

} // namespace Riri
