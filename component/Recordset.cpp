#include "Recordset.h"

#include <QStringDecoder>
#include <utility>

namespace Riri {

Recordset::Recordset(QStringList columns) : m_columns(std::move(columns)) {}

void Recordset::appendCell(const char16_t* text, qsizetype length, bool isNull) {
    if (length > 0) {
        m_text.insert(m_text.end(), text, text + length);
    }
    m_cellEnd.push_back(static_cast<std::uint32_t>(m_text.size()));
    m_null.push_back(isNull);
}

void Recordset::appendCellUtf8(const char* text, qsizetype bytes, bool isNull) {
    if (bytes > 0) {
        // A UTF-8 text never has more UTF-16 units than bytes.
        const size_t begin = m_text.size();
        m_text.resize(begin + static_cast<size_t>(bytes));
        // A U+FEFF at the start is part of the text, not a byte-order mark.
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless |
                                                         QStringDecoder::Flag::ConvertInitialBom);
        QChar* out = reinterpret_cast<QChar*>(m_text.data() + begin);
        const QChar* end = decoder.appendToBuffer(out, QByteArrayView(text, bytes));
        m_text.resize(begin + static_cast<size_t>(end - out));
    }
    m_cellEnd.push_back(static_cast<std::uint32_t>(m_text.size()));
    m_null.push_back(isNull);
}

qsizetype Recordset::rowCount() const {
    const qsizetype columns = m_columns.size();
    return columns == 0 ? 0 : static_cast<qsizetype>(m_cellEnd.size()) / columns;
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

int Recordset::ColumnIndex(const QString& column) const {
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

QStringView Recordset::FieldViewAt(qsizetype row, int column) const {
    const qsizetype cell = cellIndex(row, column);
    if (cell < 0) {
        return QStringView();
    }
    const std::uint32_t begin = cell == 0 ? 0 : m_cellEnd[static_cast<size_t>(cell - 1)];
    const std::uint32_t end = m_cellEnd[static_cast<size_t>(cell)];
    return QStringView(m_text.data() + begin, static_cast<qsizetype>(end - begin));
}

QString Recordset::FieldAt(qsizetype row, int column) const {
    const QStringView view = FieldViewAt(row, column);
    return view.isEmpty() ? QString() : view.toString(); // null and empty both read as empty
}

QString Recordset::Field(int column) const {
    return FieldAt(m_position, column);
}

QString Recordset::Field(const QString& column) const {
    return Field(ColumnIndex(column));
}

bool Recordset::IsNull(int column) const {
    const qsizetype cell = cellIndex(m_position, column);
    return cell < 0 || m_null[static_cast<size_t>(cell)];
}

bool Recordset::IsNull(const QString& column) const {
    return IsNull(ColumnIndex(column));
}

bool Recordset::Close() {
    if (!m_open) {
        return false;
    }
    m_open = false;
    std::vector<char16_t>().swap(m_text);
    std::vector<std::uint32_t>().swap(m_cellEnd);
    std::vector<bool>().swap(m_null);
    m_position = 0;
    return true;
}

} // namespace Riri
