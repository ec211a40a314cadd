#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

class ItemListModel;

// What the find window searches and sums, made once when its list is filled:
// per stored row of the list, its text fields folded (accents removed, case
// folded) into one UTF-8 buffer, its room and its two amounts in whole cents.
// A query then costs a pass over that buffer, not over the list's texts.
class ItemSearch {
public:
    // The outcome of one query.
    struct Result {
        // Per stored row: 1 when it matches, else 0.
        std::vector<std::uint8_t> keep;
        qsizetype count = 0;
        std::int64_t costCents = 0;
        std::int64_t valueCents = 0;
    };

    // Reads every stored row of the list (the list's texts as shown: amounts
    // in the money pattern).
    void build(const ItemListModel& list, const QStringList& rooms);

    // The rows that hold every word of `query` in one of their text fields
    // (item ID, name, serial number, model, room, acquired from, description,
    // notes), letter case and accents ignored, and whose room is rooms[room]
    // (any room when `room` is negative). An empty query keeps every row of
    // the room. A query that only adds to the previous one (same room, each
    // earlier word inside a word of the new one) looks only at the rows the
    // previous one kept.
    const Result& match(const QString& query, int room);

    // A text folded as the rows are: canonical decomposition without the
    // combining marks, then case folding, as UTF-8.
    static std::string fold(QStringView text);
    // The folded words of a query, split at white space.
    static std::vector<std::string> words(const QString& query);

    qsizetype rowCount() const { return static_cast<qsizetype>(m_rooms.size()); }

private:
    void matchWord(const std::string& word, std::vector<std::uint32_t>& rows) const;
    // The first place of `word` in [from, end), looked for by its rarest byte.
    const char* find(const char* from, const char* end, const std::string& word,
                     std::size_t anchor) const;

    std::string m_text;                // the folded fields, '\n' after each
    std::vector<std::size_t> m_start;  // where each row begins in m_text; one more at the end
    std::vector<std::uint8_t> m_rooms; // index in the room list, 255 for another text
    std::vector<std::int64_t> m_cost;
    std::vector<std::int64_t> m_value;
    std::array<std::uint64_t, 256> m_byteCount{}; // how often each byte occurs in m_text

    // The last query, for narrowing it as the user types on.
    std::vector<std::string> m_lastWords;
    int m_lastRoom = -2;
    std::vector<std::uint32_t> m_lastRows;
    Result m_result;
};
