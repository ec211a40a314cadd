#pragma once

#include <Riri/PackedTexts.h>

#include <QString>
#include <QStringList>
#include <QStringView>
#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

class ItemListModel;

// What the find window searches and sums, made once when its list is filled:
// per stored row of the list, its text fields folded (accents removed, case
// folded) into one UTF-8 buffer, its room and its two amounts in whole cents.
// A query then costs a pass over that buffer, not over the list's texts.
// A list read in batches is added to batch by batch; each batch is folded by
// foldRows, which touches nothing shared and so runs on the reading thread.
class ItemSearch {
public:
    // The folded form of some rows, to be added after the present ones.
    struct Rows {
        std::string text;                // the folded fields, '\n' after each
        std::vector<std::size_t> ends;   // where each row ends in text
        std::vector<std::uint8_t> rooms; // index in the room list, 255 for another text
        std::vector<std::int64_t> cost;
        std::vector<std::int64_t> value;
    };

    // What a query needs of the items' evidence, which comes after their
    // rows: per stored row whether its item has a photo, and the captions of
    // the rows whose items have any (in row order).
    struct Evidence {
        std::vector<std::uint8_t> photos;
        std::vector<std::pair<std::uint32_t, QString>> captions;
    };

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
    // Rows in list texts, eleven cells per row, as ItemListModel::listTexts
    // makes them.
    static Rows foldRows(const Riri::PackedTexts& cells, const QStringList& rooms);
    // Forgets every row; the query becomes the empty one.
    void clear();
    // Adds rows after the present ones and matches them against the last
    // query, whose result then covers them too. Gives, per added row, 1 when
    // that query keeps it.
    std::vector<std::uint8_t> add(Rows rows);
    // Makes room for `rows` rows in all, as long as those so far on average.
    void reserveRows(qint64 rows);
    // Takes the evidence of the present rows. The next query is matched
    // afresh, with the captions and photos.
    void setEvidence(const Evidence& evidence);
    bool hasEvidence() const { return m_hasEvidence; }

    // The rows that hold every word of `query` in one of their text fields
    // (item ID, name, serial number, model, room, acquired from, description,
    // notes, and the captions of the item's evidence once it is set),
    // letter case and accents ignored, and whose room is rooms[room] (any
    // room when `room` is negative); withoutPhoto keeps only items that have
    // no photo. An empty query keeps every row of the room. A query that
    // only adds to the previous one (same room and photo filter, each earlier
    // word inside a word of the new one) looks only at the rows the previous
    // one kept.
    const Result& match(const QString& query, int room, bool withoutPhoto = false);

    // A text folded as the rows are: canonical decomposition without the
    // combining marks, then case folding, as UTF-8.
    static std::string fold(QStringView text);
    // The folded words of a query, split at white space.
    static std::vector<std::string> words(const QString& query);

    qsizetype rowCount() const { return static_cast<qsizetype>(m_rooms.size()); }
    // The result of the last query, rows added since included.
    const Result& result() const { return m_result; }

private:
    void matchWord(const std::string& word, std::vector<std::uint32_t>& rows) const;
    // Adds back, in their order, the rows whose captions hold the word.
    void matchCaptions(const std::string& word, std::size_t anchor,
                       const std::vector<std::uint32_t>& rows,
                       std::vector<std::uint32_t>& kept) const;
    // Whether a row passes the room and photo filters.
    bool inFilters(std::uint32_t row, int room, bool withoutPhoto) const;
    // The first place of `word` in [from, end), looked for by its rarest byte.
    const char* find(const char* from, const char* end, const std::string& word,
                     std::size_t anchor) const;

    std::string m_text; // the folded fields, '\n' after each
    // Where each row begins in m_text, and one more at the end.
    std::vector<std::size_t> m_start = std::vector<std::size_t>(1, 0);
    std::vector<std::uint8_t> m_rooms; // index in the room list, 255 for another text
    std::vector<std::int64_t> m_cost;
    std::vector<std::int64_t> m_value;
    std::array<std::uint64_t, 256> m_byteCount{}; // how often each byte occurs in m_text

    // The evidence: per row whether it has a photo, and the folded captions
    // ('\n' after each row's) with, per row, where its captions begin and
    // end (-1 for none).
    bool m_hasEvidence = false;
    std::vector<std::uint8_t> m_photos;
    std::string m_captionText;
    std::vector<std::int64_t> m_captionStart;
    std::vector<std::int64_t> m_captionEnd;

    // The last query, for narrowing it as the user types on; at first the
    // empty query over all rooms, which keeps every row.
    std::vector<std::string> m_lastWords;
    int m_lastRoom = -1;
    bool m_lastWithoutPhoto = false;
    std::vector<std::uint32_t> m_lastRows;
    Result m_result;
};
