#pragma once

#include "PackedTexts.h"
#include "RiriExport.h"

#include <QString>
#include <QStringList>
#include <QStringView>
#include <vector>

namespace Riri {

// A detached, read-only snapshot of the rows a statement selected. It keeps
// no link to the database: it stays readable after the connection and the
// object that produced it are gone. Fields are read by column name; a null
// value reads as an empty text.
//
// The cells of all rows are kept in one UTF-16 buffer with an offset table,
// so a set of a hundred thousand items costs little more than its text.
class RIRI_EXPORT Recordset {
public:
    explicit Recordset(QStringList columns);

    // Building: the cells are appended row after row, column by column.
    void appendCell(const char16_t* text, qsizetype length, bool isNull);
    // The same from UTF-8 text, as SQLite keeps it.
    void appendCellUtf8(const char* text, qsizetype bytes, bool isNull);

    // Navigation: the set starts on its first row.
    void MoveFirst();
    void MoveNext();
    // A closed set counts as being at both ends: there is nothing to read.
    bool IsEOF() const { return !m_open || m_position >= rowCount(); }
    bool IsBOF() const { return !m_open || m_position < 0 || rowCount() == 0; }
    bool isEmpty() const { return IsEOF() && IsBOF(); }

    // The field of the current row; an empty text for a null value, an
    // unknown column, a closed set or a position past either end.
    QString Field(const QString& column) const;
    QString Field(int column) const;
    bool isNull(const QString& column) const;
    bool isNull(int column) const;
    int columnIndex(const QString& column) const;
    const QStringList& columns() const { return m_columns; }

    // The field of any row, without moving (for lists that fill themselves).
    QString fieldAt(qsizetype row, int column) const;
    // The same field as a view into the set's own storage, without a copy;
    // valid until the set is closed or destroyed.
    QStringView fieldViewAt(qsizetype row, int column) const;

    qsizetype rowCount() const;
    qsizetype position() const { return m_position; }

    // Closes the set and frees its rows. Closing a closed set fails (false).
    bool Close();
    bool isOpen() const { return m_open; }

private:
    qsizetype cellIndex(qsizetype row, int column) const;

    QStringList m_columns;
    PackedTexts m_cells;
    std::vector<bool> m_null;
    qsizetype m_position = 0;
    bool m_open = true;
};

} // namespace Riri
