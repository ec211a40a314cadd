#include "Recordset.h"

#include <utility>

namespace Riri {

Recordset::Recordset(QStringList columns) : m_columns(std::move(columns)) {}

void Recordset::appendCell(const char16_t* text, qsizetype length, bool isNull) {
    m_cells.append(QStringView(text, length));
    m_null.push_back(isNull);
}

void Recordset::appendCellUtf8(const char* text, qsizetype bytes, bool isNull) {
    m_cells.appendUtf8(text, bytes);
    m_null.push_back(isNull);
}

qsizetype Recordset::rowCount() const {
    const qsizetype columns = m_columns.size();
    return columns == 0 ? 0 : static_cast<qsizetype>(m_cells.cellCount()) / columns;
}

void Recordset::MoveFirst() {
    if (m_open) {
        m_position = 0;
    }
}

void Recordset::MoveNext() {
    if (m_open && m_position < rowCount()) {
        ++m_position;
    }
}

int Recordset::columnIndex(const QString& column) const {
    // Callers spell the names as the table does; the exact match is cheap.
    const qsizetype exact = m_columns.indexOf(column);
    if (exact >= 0) {
        return static_cast<int>(exact);
    }
    for (int i = 0; i < m_columns.size(); ++i) {
        if (m_columns.at(i).compare(column, Qt::CaseInsensitive) == 0) {
            return i;
        }
    }
    return -1;
}

qsizetype Recordset::cellIndex(qsizetype row, int column) const {
    if (!m_open || column < 0 || column >= m_columns.size() || row < 0 || row >= rowCount()) {
        return -1;
    }
    return row * m_columns.size() + column;
}

QStringView Recordset::fieldViewAt(qsizetype row, int column) const {
    const qsizetype cell = cellIndex(row, column);
    if (cell < 0) {
        return QStringView();
    }
    return m_cells.at(static_cast<size_t>(cell));
}

QString Recordset::fieldAt(qsizetype row, int column) const {
    const QStringView view = fieldViewAt(row, column);
    return view.isEmpty() ? QString() : view.toString(); // null and empty both read as empty
}

QString Recordset::Field(int column) const {
    return fieldAt(m_position, column);
}

QString Recordset::Field(const QString& column) const {
    return Field(columnIndex(column));
}

bool Recordset::isNull(int column) const {
    const qsizetype cell = cellIndex(m_position, column);
    return cell < 0 || m_null[static_cast<size_t>(cell)];
}

bool Recordset::isNull(const QString& column) const {
    return isNull(columnIndex(column));
}

bool Recordset::Close() {
    if (!m_open) {
        return false;
    }
    m_open = false;
    m_cells.clear();
    std::vector<bool>().swap(m_null);
    m_position = 0;
    return true;
}

} // namespace Riri
