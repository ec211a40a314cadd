#pragma once

#include "Connection.h"

#include <QByteArray>
#include <QDate>
#include <QString>
#include <sqlite3.h>
#include <string>

namespace Riri {

// One prepared statement of the component's own stores, its values bound
// in order, finalized when it goes. A failure throws Riri::Error: with the
// database file's name (and a full disk named as such) when the statement
// was made with it, else with SQLite's own message.
class SqlStatement {
public:
    SqlStatement(sqlite3* db, const QString& database, const QByteArray& sql);
    SqlStatement(Connection& con, const std::string& sql);

    sqlite3_stmt* get() const { return m_stmt.get(); }

    // Each binds the next parameter.
    SqlStatement& bind(qint64 value);
    SqlStatement& bind(const QString& text);
    // NULL for 0, for an empty text, for an invalid date, for no bytes.
    SqlStatement& bindKnown(qint64 value);
    SqlStatement& bindKnown(const QString& text);
    SqlStatement& bindDate(const QDate& date);
    SqlStatement& bindBlob(const QByteArray& bytes);

    // True while there is a row.
    bool step();
    void run();
    // Ready to run again, with no values bound.
    void reset();

    QString text(int column) const;
    qint64 number(int column) const { return sqlite3_column_int64(get(), column); }
    QByteArray blob(int column) const;
    int changes() const { return sqlite3_changes(m_db); }

private:
    [[noreturn]] void fail() const;
    SqlStatement& bindNull();

    sqlite3* m_db;
    QString m_database;
    Connection::StatementHandle m_stmt;
    int m_index = 0;
};

} // namespace Riri
