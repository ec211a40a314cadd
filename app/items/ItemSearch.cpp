#include "items/ItemSearch.h"

#include "items/ItemListModel.h"
#include "items/Money.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <string_view>
#include <unordered_map>

namespace {

// Adds to a total of cents; a total beyond what 64 bits hold (only amounts
// written into the database by other means can get there) stops at the
// largest total instead of wrapping round.
void addCents(std::int64_t& total, std::int64_t cents) {
    if (__builtin_add_overflow(total, cents, &total)) {
        total = cents < 0 ? std::numeric_limits<std::int64_t>::min()
                          : std::numeric_limits<std::int64_t>::max();
    }
}

// The text fields a query looks in.
constexpr int kSearched[] = {ItemListModel::ItemIdColumn,      ItemListModel::NameColumn,
                             ItemListModel::SerialColumn,      ItemListModel::ModelColumn,
                             ItemListModel::RoomColumn,        ItemListModel::FromColumn,
                             ItemListModel::DescriptionColumn, ItemListModel::NotesColumn};

constexpr std::uint8_t kOtherRoom = 255;

bool isMark(char32_t c) {
    switch (QChar::category(c)) {
    case QChar::Mark_NonSpacing:
    case QChar::Mark_SpacingCombining:
    case QChar::Mark_Enclosing:
        return true;
    default:
        return false;
    }
}

// Appends the folded text. Plain ASCII, by far the most common, only has its
// capitals lowered; other texts are decomposed, case folded and stripped of
// their combining marks ("Café" and "CAFE" both give "cafe").
void foldInto(QStringView text, std::string& out) {
    bool ascii = true;
    for (const QChar c : text) {
        if (c.unicode() >= 0x80) {
            ascii = false;
            break;
        }
    }
    if (ascii) {
        for (const QChar c : text) {
            const auto unit = static_cast<char>(c.unicode());
            out.push_back(unit >= 'A' && unit <= 'Z' ? static_cast<char>(unit + 32) : unit);
        }
        return;
    }
    const QString folded = text.toString().normalized(QString::NormalizationForm_D).toCaseFolded();
    QString kept;
    kept.reserve(folded.size());
    const qsizetype n = folded.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar unit = folded.at(i);
        if (unit.isHighSurrogate() && i + 1 < n && folded.at(i + 1).isLowSurrogate()) {
            const QChar low = folded.at(i + 1);
            if (!isMark(QChar::surrogateToUcs4(unit, low))) {
                kept.append(unit);
                kept.append(low);
            }
            ++i;
        } else if (!isMark(unit.unicode())) {
            kept.append(unit);
        }
    }
    out += kept.toStdString();
}

} // namespace

std::string ItemSearch::fold(QStringView text) {
    std::string out;
    foldInto(text, out);
    return out;
}

std::vector<std::string> ItemSearch::words(const QString& query) {
    std::vector<std::string> words;
    qsizetype begin = 0;
    for (qsizetype i = 0; i <= query.size(); ++i) {
        if (i == query.size() || query.at(i).isSpace()) {
            if (i > begin) {
                std::string word = fold(QStringView(query).mid(begin, i - begin));
                if (!word.empty()) {
                    words.push_back(std::move(word));
                }
            }
            begin = i + 1;
        }
    }
    return words;
}

namespace {

// Folds the rows that cell(row, column) reads, rows [0, count).
template <typename Cell>
ItemSearch::Rows foldAll(int count, const QStringList& rooms, const Cell& cell) {
    ItemSearch::Rows out;
    out.ends.reserve(static_cast<size_t>(count));
    out.rooms.assign(static_cast<size_t>(count), kOtherRoom);
    out.cost.assign(static_cast<size_t>(count), 0);
    out.value.assign(static_cast<size_t>(count), 0);

    std::size_t size = 0;
    for (int r = 0; r < count; ++r) {
        for (const int c : kSearched) {
            size += static_cast<std::size_t>(cell(r, c).size()) + 1;
        }
    }
    out.text.reserve(size + size / 16);

    std::unordered_map<std::u16string_view, std::uint8_t> roomIndex;
    for (qsizetype i = 0; i < rooms.size() && i < kOtherRoom; ++i) {
        roomIndex.emplace(std::u16string_view(reinterpret_cast<const char16_t*>(rooms[i].utf16()),
                                              static_cast<size_t>(rooms[i].size())),
                          static_cast<std::uint8_t>(i));
    }
    const Money::Pattern money;
    for (int r = 0; r < count; ++r) {
        for (const int c : kSearched) {
            foldInto(cell(r, c), out.text);
            out.text.push_back('\n');
        }
        out.ends.push_back(out.text.size());
        const QStringView room = cell(r, ItemListModel::RoomColumn);
        const auto found = roomIndex.find(std::u16string_view(
            reinterpret_cast<const char16_t*>(room.utf16()), static_cast<size_t>(room.size())));
        if (found != roomIndex.end()) {
            out.rooms[static_cast<size_t>(r)] = found->second;
        }
        // A cell that is no amount (empty, or text that is no number) adds 0.
        std::int64_t cents = 0;
        if (money.cents(cell(r, ItemListModel::CostColumn), &cents)) {
            out.cost[static_cast<size_t>(r)] = cents;
        }
        cents = 0;
        if (money.cents(cell(r, ItemListModel::ValueColumn), &cents)) {
            out.value[static_cast<size_t>(r)] = cents;
        }
    }
    return out;
}

} // namespace

ItemSearch::Rows ItemSearch::foldRows(const Riri::PackedTexts& cells, const QStringList& rooms) {
    const auto count = static_cast<int>(cells.cellCount() / ItemListModel::ColumnCount);
    return foldAll(count, rooms, [&cells](int r, int c) {
        return cells.at(static_cast<size_t>(r) * ItemListModel::ColumnCount +
                        static_cast<size_t>(c));
    });
}

void ItemSearch::clear() {
    std::string().swap(m_text);
    m_start.assign(1, 0);
    std::vector<std::uint8_t>().swap(m_rooms);
    std::vector<std::int64_t>().swap(m_cost);
    std::vector<std::int64_t>().swap(m_value);
    m_byteCount.fill(0);
    m_hasEvidence = false;
    std::vector<std::uint8_t>().swap(m_photos);
    std::string().swap(m_captionText);
    std::vector<std::int64_t>().swap(m_captionStart);
    std::vector<std::int64_t>().swap(m_captionEnd);
    m_lastWords.clear();
    std::vector<std::uint32_t>().swap(m_lastRows);
    m_lastRoom = -1;
    m_lastWithoutPhoto = false;
    m_result = Result();
}

void ItemSearch::build(const ItemListModel& list, const QStringList& rooms) {
    clear();
    add(foldAll(list.storedRowCount(), rooms,
                [&list](int r, int c) { return list.storedText(r, c); }));
}

void ItemSearch::reserveRows(qint64 rows) {
    const auto present = static_cast<qint64>(m_rooms.size());
    if (present == 0 || rows <= present) {
        return;
    }
    const auto perRow = static_cast<double>(m_text.size()) / static_cast<double>(present);
    const auto count = static_cast<size_t>(rows);
    m_text.reserve(static_cast<size_t>(perRow * 1.05 * static_cast<double>(rows)));
    m_start.reserve(count + 1);
    m_rooms.reserve(count);
    m_cost.reserve(count);
    m_value.reserve(count);
    m_result.keep.reserve(count);
}

std::vector<std::uint8_t> ItemSearch::add(Rows rows) {
    const auto first = static_cast<std::uint32_t>(m_rooms.size());
    const auto added = static_cast<std::uint32_t>(rows.rooms.size());
    const std::size_t offset = m_text.size();
    if (m_text.empty()) {
        m_text = std::move(rows.text);
    } else {
        m_text += rows.text;
    }
    for (const std::size_t end : rows.ends) {
        m_start.push_back(offset + end);
    }
    for (std::size_t i = offset; i < m_text.size(); ++i) {
        ++m_byteCount[static_cast<unsigned char>(m_text[i])];
    }
    m_rooms.insert(m_rooms.end(), rows.rooms.begin(), rows.rooms.end());
    m_cost.insert(m_cost.end(), rows.cost.begin(), rows.cost.end());
    m_value.insert(m_value.end(), rows.value.begin(), rows.value.end());

    if (m_hasEvidence) {
        // Rows added after the evidence came have none.
        m_photos.resize(m_rooms.size(), 0);
        m_captionStart.resize(m_rooms.size(), -1);
        m_captionEnd.resize(m_rooms.size(), -1);
    }

    // The new rows against the last query: its filters, then each of its
    // words.
    std::vector<std::uint32_t> kept;
    kept.reserve(added);
    for (std::uint32_t r = first; r < first + added; ++r) {
        if (inFilters(r, m_lastRoom, m_lastWithoutPhoto)) {
            kept.push_back(r);
        }
    }
    for (const std::string& word : m_lastWords) {
        if (kept.empty()) {
            break;
        }
        matchWord(word, kept);
    }
    std::vector<std::uint8_t> keep(added, 0);
    m_result.keep.resize(m_rooms.size(), 0);
    for (const std::uint32_t r : kept) {
        keep[r - first] = 1;
        m_result.keep[r] = 1;
        addCents(m_result.costCents, m_cost[r]);
        addCents(m_result.valueCents, m_value[r]);
    }
    m_result.count += static_cast<qsizetype>(kept.size());
    m_lastRows.insert(m_lastRows.end(), kept.begin(), kept.end());
    return keep;
}

const char* ItemSearch::find(const char* from, const char* end, const std::string& word,
                             std::size_t anchor) const {
    // memchr runs through the text far faster than a general substring
    // search; the rarest byte of the word stops it least often.
    const auto wanted = static_cast<unsigned char>(word[anchor]);
    const char* at = from + anchor;
    while (at < end) {
        const auto* hit =
            static_cast<const char*>(std::memchr(at, wanted, static_cast<std::size_t>(end - at)));
        if (hit == nullptr) {
            return nullptr;
        }
        const char* start = hit - anchor;
        if (start + word.size() <= end && std::memcmp(start, word.data(), word.size()) == 0) {
            return start;
        }
        at = hit + 1;
    }
    return nullptr;
}

void ItemSearch::setEvidence(const Evidence& evidence) {
    const size_t count = m_rooms.size();
    m_hasEvidence = true;
    m_photos = evidence.photos;
    m_photos.resize(count, 0);
    m_captionStart.assign(count, -1);
    m_captionEnd.assign(count, -1);
    m_captionText.clear();
    for (const auto& [row, captions] : evidence.captions) {
        if (row < count) {
            // A word holds no line break, so it never runs from one caption
            // into the next.
            m_captionStart[row] = static_cast<std::int64_t>(m_captionText.size());
            foldInto(captions, m_captionText);
            m_captionEnd[row] = static_cast<std::int64_t>(m_captionText.size());
            m_captionText.push_back('\n');
        }
    }
    // The next query is matched over every row: the last one's rows were
    // kept without the captions.
    m_lastWords.clear();
    m_lastRoom = std::numeric_limits<int>::min();
}

bool ItemSearch::inFilters(std::uint32_t row, int room, bool withoutPhoto) const {
    return (room < 0 || m_rooms[row] == room) &&
           (!withoutPhoto || !m_hasEvidence || m_photos[row] == 0);
}

void ItemSearch::matchCaptions(const std::string& word, std::size_t anchor,
                               const std::vector<std::uint32_t>& rows,
                               std::vector<std::uint32_t>& kept) const {
    if (m_captionText.empty()) {
        return;
    }
    const char* base = m_captionText.data();
    std::vector<std::uint32_t> merged;
    merged.reserve(kept.size());
    std::size_t next = 0; // index into kept, which follows the order of rows
    for (const std::uint32_t r : rows) {
        if (next < kept.size() && kept[next] == r) {
            merged.push_back(r);
            ++next;
        } else if (m_captionStart[r] >= 0 && find(base + m_captionStart[r], base + m_captionEnd[r],
                                                  word, anchor) != nullptr) {
            merged.push_back(r);
        }
    }
    kept.swap(merged);
}

void ItemSearch::matchWord(const std::string& word, std::vector<std::uint32_t>& rows) const {
    const char* base = m_text.data();
    std::size_t anchor = 0;
    for (std::size_t i = 1; i < word.size(); ++i) {
        if (m_byteCount[static_cast<unsigned char>(word[i])] <
            m_byteCount[static_cast<unsigned char>(word[anchor])]) {
            anchor = i;
        }
    }
    std::vector<std::uint32_t> kept;
    if (rows.size() * 16 < m_rooms.size()) {
        // Few rows left: look into each of them.
        for (const std::uint32_t r : rows) {
            if (find(base + m_start[r], base + m_start[r + 1], word, anchor) != nullptr) {
                kept.push_back(r);
            }
        }
        matchCaptions(word, anchor, rows, kept);
        rows.swap(kept);
        return;
    }
    // Many rows: one pass over the whole buffer, from hit to hit. A word has
    // no white space, so a hit never runs over the end of a field or a row.
    const std::size_t end = m_text.size();
    std::size_t next = 0; // index into rows
    std::size_t from = 0;
    while (next < rows.size()) {
        from = std::max(from, m_start[rows[next]]);
        const char* hit = find(base + from, base + end, word, anchor);
        if (hit == nullptr) {
            break;
        }
        const auto at = static_cast<std::size_t>(hit - base);
        while (next < rows.size() && m_start[rows[next] + 1] <= at) {
            ++next;
        }
        if (next == rows.size()) {
            break;
        }
        const std::uint32_t r = rows[next];
        if (m_start[r] <= at) {
            kept.push_back(r);
            ++next;
        }
        // Otherwise the hit lies in a row that no longer counts: go on at the
        // next row that does.
    }
    matchCaptions(word, anchor, rows, kept);
    rows.swap(kept);
}

const ItemSearch::Result& ItemSearch::match(const QString& query, int room, bool withoutPhoto) {
    std::vector<std::string> words = ItemSearch::words(query);
    const auto count = static_cast<std::uint32_t>(m_rooms.size());

    // Typing on only narrows the previous query: every earlier word lies
    // inside one of the new words, so a row the new query keeps was kept.
    bool narrows = room == m_lastRoom && withoutPhoto == m_lastWithoutPhoto;
    for (const std::string& old : m_lastWords) {
        narrows = narrows && std::any_of(words.begin(), words.end(), [&old](const std::string& w) {
                      return w.find(old) != std::string::npos;
                  });
    }
    std::vector<std::uint32_t> rows;
    if (narrows) {
        rows = m_lastRows;
    } else {
        rows.reserve(count);
        for (std::uint32_t r = 0; r < count; ++r) {
            if (inFilters(r, room, withoutPhoto)) {
                rows.push_back(r);
            }
        }
    }
    // Longer words first: they keep fewer rows for the words after them.
    std::vector<const std::string*> order;
    for (const std::string& w : words) {
        const bool known =
            narrows && std::find(m_lastWords.begin(), m_lastWords.end(), w) != m_lastWords.end();
        if (!known) {
            order.push_back(&w);
        }
    }
    std::stable_sort(order.begin(), order.end(), [](const std::string* a, const std::string* b) {
        return a->size() > b->size();
    });
    for (const std::string* w : order) {
        if (rows.empty()) {
            break;
        }
        matchWord(*w, rows);
    }

    m_result.keep.assign(count, 0);
    m_result.count = static_cast<qsizetype>(rows.size());
    m_result.costCents = 0;
    m_result.valueCents = 0;
    for (const std::uint32_t r : rows) {
        m_result.keep[r] = 1;
        addCents(m_result.costCents, m_cost[r]);
        addCents(m_result.valueCents, m_value[r]);
    }
    m_lastRows = std::move(rows);
    m_lastWords = std::move(words);
    m_lastRoom = room;
    m_lastWithoutPhoto = withoutPhoto;
    return m_result;
}
