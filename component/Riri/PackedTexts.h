#pragma once

#include "RiriExport.h"

#include <QStringView>
#include <cstdint>
#include <vector>

namespace Riri {

// Many short texts kept in one UTF-16 buffer with a table of end offsets, so
// that a hundred thousand rows of cells cost little more than their text.
// Cells are appended in order and read back by their index as views into the
// buffer, valid until the next append, clear or the store's end.
class RIRI_EXPORT PackedTexts {
public:
    void append(QStringView text) {
        const auto* begin = reinterpret_cast<const char16_t*>(text.utf16());
        m_text.insert(m_text.end(), begin, begin + text.size());
        m_cellEnd.push_back(static_cast<std::uint32_t>(m_text.size()));
    }
    // Every cell of another store, after this one's.
    void appendAll(const PackedTexts& other) {
        const auto offset = static_cast<std::uint32_t>(m_text.size());
        m_text.insert(m_text.end(), other.m_text.begin(), other.m_text.end());
        m_cellEnd.reserve(m_cellEnd.size() + other.m_cellEnd.size());
        for (const std::uint32_t end : other.m_cellEnd) {
            m_cellEnd.push_back(end + offset);
        }
    }
    // As append, from UTF-8 text; a U+FEFF at the start is kept as a character.
    void appendUtf8(const char* text, qsizetype bytes);

    QStringView at(size_t cell) const {
        const std::uint32_t begin = cell == 0 ? 0 : m_cellEnd[cell - 1];
        const std::uint32_t end = m_cellEnd[cell];
        return QStringView(m_text.data() + begin, static_cast<qsizetype>(end - begin));
    }

    size_t cellCount() const { return m_cellEnd.size(); }
    size_t unitCount() const { return m_text.size(); }

    // Makes room for the given totals of UTF-16 units and cells.
    void reserve(size_t units, size_t cells) {
        m_text.reserve(units);
        m_cellEnd.reserve(cells);
    }

    // Removes every cell and gives the memory back.
    void clear() {
        std::vector<char16_t>().swap(m_text);
        std::vector<std::uint32_t>().swap(m_cellEnd);
    }

private:
    std::vector<char16_t> m_text;
    std::vector<std::uint32_t> m_cellEnd; // end offset of each cell in m_text
};

} // namespace Riri
