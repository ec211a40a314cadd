#include "items/ItemListModel.h"

#include "items/ListDates.h"
#include "items/Money.h"

#include <Riri/Recordset.h>

#include <QLocale>
#include <algorithm>
#include <cstring>
#include <numeric>

namespace {

// The case-folded form of one UTF-16 unit; plain ASCII without a table look-up.
inline char16_t folded(char16_t unit) {
    if (unit < 0x80) {
        return unit >= u'A' && unit <= u'Z' ? static_cast<char16_t>(unit + 32) : unit;
    }
    return QChar::toCaseFolded(unit);
}

// The sort key of each row. Texts: the first 28 UTF-16 units, case folded,
// stored big-endian and padded with zeros, so that comparing the bytes of two
// keys orders the texts. The folded rest of a longer text goes to the tails,
// ended by a zero unit, for telling apart rows whose keys are equal. Amounts
// and dates: a first byte that puts empty and unreadable cells first, then the
// number of cents or the day number, big-endian with the sign bit flipped, so
// that the same byte comparison orders them. Each entry fills one cache line
// and moves with its key.
constexpr qsizetype kKeyUnits = 28;
constexpr std::uint32_t kNoTail = 0xFFFFFFFFu;
struct SortEntry {
    unsigned char key[kKeyUnits * 2];
    std::uint32_t stored;
    std::uint32_t tail;
};
static_assert(sizeof(SortEntry) == 64);
using Tails = std::vector<char16_t>;

void setNumberKey(SortEntry& entry, std::uint32_t stored, bool known, std::int64_t number) {
    std::memset(entry.key, 0, sizeof entry.key);
    entry.key[0] = known ? 1 : 0;
    const std::uint64_t biased =
        known ? static_cast<std::uint64_t>(number) ^ (std::uint64_t{1} << 63) : 0;
    for (int b = 0; b < 8; ++b) {
        entry.key[1 + b] = static_cast<unsigned char>(biased >> (56 - 8 * b));
    }
    entry.stored = stored;
    entry.tail = kNoTail;
}

void setTextKey(SortEntry& entry, std::uint32_t stored, QStringView text, Tails& tails) {
    const qsizetype units = std::min(text.size(), kKeyUnits);
    for (qsizetype k = 0; k < units; ++k) {
        const char16_t unit = folded(text.at(k).unicode());
        entry.key[2 * k] = static_cast<unsigned char>(unit >> 8);
        entry.key[2 * k + 1] = static_cast<unsigned char>(unit & 0xFF);
    }
    std::memset(entry.key + 2 * units, 0, static_cast<size_t>(kKeyUnits - units) * 2);
    entry.stored = stored;
    entry.tail = kNoTail;
    if (text.size() > kKeyUnits) {
        entry.tail = static_cast<std::uint32_t>(tails.size());
        for (qsizetype k = kKeyUnits; k < text.size(); ++k) {
            tails.push_back(folded(text.at(k).unicode()));
        }
        tails.push_back(0);
    }
}

// The keys of the given stored rows by one column: amounts by cents, the
// bought date by day, every other column by its text.
std::vector<SortEntry> sortKeys(const ItemListModel& model, const std::vector<std::uint32_t>& rows,
                                int column, Tails& tails) {
    std::vector<SortEntry> entries(rows.size());
    if (column == ItemListModel::EvidenceColumn) {
        for (size_t i = 0; i < rows.size(); ++i) {
            setNumberKey(entries[i], rows[i], true,
                         model.storedEvidence(static_cast<int>(rows[i])));
        }
    } else if (column == ItemListModel::CostColumn || column == ItemListModel::ValueColumn) {
        const Money::Pattern money;
        for (size_t i = 0; i < rows.size(); ++i) {
            std::int64_t cents = 0;
            const bool known =
                money.cents(model.storedText(static_cast<int>(rows[i]), column), &cents);
            setNumberKey(entries[i], rows[i], known, cents);
        }
    } else if (column == ItemListModel::BoughtColumn) {
        ListDates dates;
        for (size_t i = 0; i < rows.size(); ++i) {
            const qint64 day = dates.dayNumber(model.storedText(static_cast<int>(rows[i]), column));
            setNumberKey(entries[i], rows[i], day != ListDates::NoDay, day);
        }
    } else {
        for (size_t i = 0; i < rows.size(); ++i) {
            setTextKey(entries[i], rows[i], model.storedText(static_cast<int>(rows[i]), column),
                       tails);
        }
    }
    return entries;
}

// Orders the entries by their keys, keeping equal ones in their order.
void orderEntries(std::vector<SortEntry>& entries, const Tails& tails, Qt::SortOrder order) {
    const auto less = [&tails](const SortEntry& a, const SortEntry& b) {
        const int byKey = std::memcmp(a.key, b.key, sizeof a.key);
        if (byKey != 0) {
            return byKey < 0;
        }
        if (a.tail == kNoTail || b.tail == kNoTail) {
            return a.tail == kNoTail && b.tail != kNoTail; // the shorter text first
        }
        const char16_t* x = tails.data() + a.tail;
        const char16_t* y = tails.data() + b.tail;
        while (*x != 0 && *x == *y) {
            ++x;
            ++y;
        }
        return *x < *y;
    };
    if (order == Qt::AscendingOrder) {
        std::stable_sort(entries.begin(), entries.end(), less);
    } else {
        std::stable_sort(entries.begin(), entries.end(),
                         [&less](const SortEntry& a, const SortEntry& b) { return less(b, a); });
    }
}

} // namespace

ItemListModel::ItemListModel(const QStringList& headers, QObject* parent)
    : QAbstractTableModel(parent), m_headers(headers),
      // Before the first sort the direction is descending, so the first click
      // on a header sorts ascending.
      m_order(Qt::DescendingOrder) {}

void ItemListModel::showEvidenceColumn(const QString& header) {
    beginResetModel();
    m_evidenceHeader = header;
    m_evidence.assign(static_cast<size_t>(storedRowCount()), 0);
    endResetModel();
}

void ItemListModel::clear() {
    beginResetModel();
    m_cells.clear();
    std::vector<std::int32_t>().swap(m_evidence);
    std::vector<std::uint32_t>().swap(m_rows);
    std::vector<std::uint32_t>().swap(m_all);
    std::vector<std::uint8_t>().swap(m_keep);
    m_filtered = false;
    m_sortColumn = -1;
    endResetModel();
}

void ItemListModel::appendCell(QStringView text) {
    m_cells.append(text);
}

QStringView ItemListModel::storedCell(std::uint32_t storedRow, int column) const {
    return m_cells.at(static_cast<size_t>(storedRow) * ColumnCount + static_cast<size_t>(column));
}

void ItemListModel::fill(const Riri::Recordset& records) {
    Riri::PackedTexts cells;
    listTexts(records, cells);
    appendRows(cells);
}

void ItemListModel::listTexts(const Riri::Recordset& records, Riri::PackedTexts& cells) {
    static const char* const names[ColumnCount] = {
        "ItemID", "ItemName",      "SN",      "RoomName",    "Cost", "CurValue",
        "Model",  "AccquiredFrom", "BuyDate", "Description", "Notes"};
    std::array<int, ColumnCount> source{};
    for (int c = 0; c < ColumnCount; ++c) {
        source[static_cast<size_t>(c)] = records.columnIndex(QString::fromLatin1(names[c]));
    }
    const qsizetype first = std::max<qsizetype>(0, records.position());
    const qsizetype last = records.rowCount();
    if (first >= last) {
        return;
    }
    Money::Pattern money;
    ListDates dates;

    // The texts are copied once into storage reserved to fit: the set's own
    // texts plus room for the formatted amounts and dates.
    size_t size = cells.unitCount();
    for (qsizetype row = first; row < last; ++row) {
        for (int c = 0; c < ColumnCount; ++c) {
            size += static_cast<size_t>(
                records.fieldViewAt(row, source[static_cast<size_t>(c)]).size());
        }
        size += 16;
    }
    const auto count = static_cast<size_t>(last - first);
    cells.reserve(size, cells.cellCount() + count * ColumnCount);
    for (qsizetype row = first; row < last; ++row) {
        for (int c = 0; c < ColumnCount; ++c) {
            const QStringView value = records.fieldViewAt(row, source[static_cast<size_t>(c)]);
            switch (c) {
            case CostColumn:
            case ValueColumn:
                cells.append(money.storedView(value));
                break;
            case BoughtColumn:
                cells.append(dates.showView(value));
                break;
            default:
                cells.append(value);
                break;
            }
        }
    }
}

void ItemListModel::reserveRows(qint64 rows) {
    const auto stored = static_cast<qint64>(storedRowCount());
    if (stored == 0 || rows <= stored) {
        return;
    }
    const auto perRow = static_cast<double>(m_cells.unitCount()) / static_cast<double>(stored);
    m_cells.reserve(static_cast<size_t>(perRow * 1.05 * static_cast<double>(rows)),
                    static_cast<size_t>(rows) * ColumnCount);
    m_rows.reserve(static_cast<size_t>(rows));
}

void ItemListModel::appendRows(const Riri::PackedTexts& cells,
                               const std::vector<std::uint8_t>* keep,
                               const std::vector<std::int32_t>* evidence) {
    const size_t count = cells.cellCount() / ColumnCount;
    if (count == 0) {
        return;
    }
    if (keep != nullptr && !filtered() &&
        std::find(keep->begin(), keep->begin() + static_cast<std::ptrdiff_t>(count), 0) !=
            keep->begin() + static_cast<std::ptrdiff_t>(count)) {
        // Some of the new rows stay hidden: from now on only some rows show.
        // Every row shown so far still shows, so the views see no change.
        m_all = m_rows;
        m_keep.assign(static_cast<size_t>(storedRowCount()), 1);
        m_filtered = true;
    }
    const auto firstStored = static_cast<std::uint32_t>(storedRowCount());
    size_t shown = count;
    if (filtered() && keep != nullptr) {
        shown = static_cast<size_t>(
            std::count_if(keep->begin(), keep->begin() + static_cast<std::ptrdiff_t>(count),
                          [](std::uint8_t k) { return k != 0; }));
    }
    m_cells.appendAll(cells);
    if (showsEvidence()) {
        for (size_t i = 0; i < count; ++i) {
            m_evidence.push_back(evidence != nullptr && i < evidence->size() ? (*evidence)[i] : 0);
        }
    }
    if (shown > 0) {
        beginInsertRows(QModelIndex(), rowCount(), rowCount() + static_cast<int>(shown) - 1);
    }
    for (size_t i = 0; i < count; ++i) {
        const auto stored = static_cast<std::uint32_t>(firstStored + i);
        if (filtered()) {
            // Rows added while filtered come last in the list's order.
            const std::uint8_t show = keep == nullptr ? 1 : (*keep)[i];
            m_all.push_back(stored);
            m_keep.push_back(show);
            if (show != 0) {
                m_rows.push_back(stored);
            }
        } else {
            m_rows.push_back(stored);
        }
    }
    if (shown > 0) {
        endInsertRows();
    }
}

void ItemListModel::addRow(const std::array<QString, ColumnCount>& texts) {
    const int row = rowCount();
    beginInsertRows(QModelIndex(), row, row);
    m_rows.push_back(static_cast<std::uint32_t>(m_cells.cellCount() / ColumnCount));
    if (m_filtered) {
        m_all.push_back(m_rows.back());
        m_keep.push_back(1);
    }
    for (const QString& text : texts) {
        appendCell(text);
    }
    if (showsEvidence()) {
        m_evidence.push_back(0);
    }
    endInsertRows();
}

QStringView ItemListModel::textView(int row, int column) const {
    if (row < 0 || row >= rowCount() || column < 0 || column >= ColumnCount) {
        return QStringView();
    }
    return storedCell(m_rows[static_cast<size_t>(row)], column);
}

QString ItemListModel::text(int row, int column) const {
    if (column == EvidenceColumn && showsEvidence() && row >= 0 && row < rowCount()) {
        return QString::number(storedEvidence(storedRow(row)));
    }
    return textView(row, column).toString();
}

void ItemListModel::sortBy(int column) {
    if (column < 0 || column >= columnCount()) {
        return;
    }
    sortRows(column, m_order == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder);
}

void ItemListModel::sortRows(int column, Qt::SortOrder order) {
    if (column < 0 || column >= columnCount()) {
        return;
    }
    m_order = order;
    m_sortColumn = column;
    // While filtered, every stored row is ordered, so that rows shown later
    // come in the same order.
    std::vector<std::uint32_t>& rows = !m_filtered ? m_rows : m_all;
    if (rows.size() < 2) {
        return;
    }
    Tails tails;
    std::vector<SortEntry> entries = sortKeys(*this, rows, column, tails);
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    orderEntries(entries, tails, order);
    std::vector<char16_t>().swap(tails);

    // The indexes the views hold on to (selection, current row, the row
    // being read), by the stored row they stand for before the rows move.
    const QModelIndexList before = persistentIndexList();
    std::vector<std::uint32_t> storedBefore;
    storedBefore.reserve(static_cast<size_t>(before.size()));
    for (const QModelIndex& index : before) {
        storedBefore.push_back(m_rows[static_cast<size_t>(index.row())]);
    }
    for (size_t i = 0; i < entries.size(); ++i) {
        rows[i] = entries[i].stored;
    }
    std::vector<SortEntry>().swap(entries);
    if (m_filtered) {
        showKeptRows();
    }
    movePersistentIndexes(before, storedBefore);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void ItemListModel::showKeptRows() {
    m_rows.clear();
    for (const std::uint32_t stored : m_all) {
        if (m_keep[stored] != 0) {
            m_rows.push_back(stored);
        }
    }
}

void ItemListModel::movePersistentIndexes(const QModelIndexList& before,
                                          const std::vector<std::uint32_t>& storedBefore) {
    std::vector<std::uint32_t> newRowOfStored(static_cast<size_t>(storedRowCount()));
    for (size_t i = 0; i < m_rows.size(); ++i) {
        newRowOfStored[m_rows[i]] = static_cast<std::uint32_t>(i);
    }
    QModelIndexList after;
    after.reserve(before.size());
    for (qsizetype i = 0; i < before.size(); ++i) {
        after.append(
            createIndex(static_cast<int>(newRowOfStored[storedBefore[static_cast<size_t>(i)]]),
                        before[i].column()));
    }
    changePersistentIndexList(before, after);
}

void ItemListModel::showOnly(std::vector<std::uint8_t> keep) {
    beginResetModel();
    if (!m_filtered) {
        m_all = m_rows; // every stored row, in the list's order
    }
    m_filtered = true;
    m_keep = std::move(keep);
    m_keep.resize(static_cast<size_t>(storedRowCount()), 0);
    showKeptRows();
    endResetModel();
}

void ItemListModel::showAll() {
    if (!m_filtered) {
        return;
    }
    beginResetModel();
    m_rows = std::move(m_all);
    std::vector<std::uint32_t>().swap(m_all);
    std::vector<std::uint8_t>().swap(m_keep);
    m_filtered = false;
    endResetModel();
}

int ItemListModel::storedRowCount() const {
    return static_cast<int>(m_cells.cellCount() / ColumnCount);
}

QStringView ItemListModel::storedText(int storedRow, int column) const {
    if (storedRow < 0 || storedRow >= storedRowCount() || column < 0 || column >= ColumnCount) {
        return QStringView();
    }
    return storedCell(static_cast<std::uint32_t>(storedRow), column);
}

int ItemListModel::storedEvidence(int storedRow) const {
    if (storedRow < 0 || static_cast<size_t>(storedRow) >= m_evidence.size()) {
        return 0;
    }
    return m_evidence[static_cast<size_t>(storedRow)];
}

int ItemListModel::storedRow(int row) const {
    if (row < 0 || row >= rowCount()) {
        return -1;
    }
    return static_cast<int>(m_rows[static_cast<size_t>(row)]);
}

Qt::Alignment ItemListModel::columnAlignment(int column) {
    switch (column) {
    case CostColumn:
    case ValueColumn:
        return Qt::AlignRight;
    case ModelColumn:
    case EvidenceColumn:
        return Qt::AlignHCenter;
    default:
        return Qt::AlignLeft;
    }
}

int ItemListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int ItemListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount + (showsEvidence() ? 1 : 0);
}

QVariant ItemListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) {
        return QVariant();
    }
    if (role == Qt::DisplayRole) {
        if (index.column() == EvidenceColumn) {
            return text(index.row(), index.column());
        }
        QString text = textView(index.row(), index.column()).toString();
        // A row is one line high: line breaks of long texts show as blanks.
        if (text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'))) {
            text.replace(QLatin1String("\r\n"), QLatin1String(" "));
            text.replace(QLatin1Char('\n'), QLatin1Char(' '));
            text.replace(QLatin1Char('\r'), QLatin1Char(' '));
        }
        return text;
    }
    if (role == Qt::TextAlignmentRole) {
        return QVariant::fromValue(columnAlignment(index.column()) | Qt::AlignVCenter);
    }
    return QVariant();
}

QVariant ItemListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount()) {
        return QVariant();
    }
    if (role == Qt::DisplayRole) {
        return section == EvidenceColumn ? m_evidenceHeader : m_headers.value(section);
    }
    if (role == Qt::TextAlignmentRole) {
        return QVariant::fromValue(columnAlignment(section) | Qt::AlignVCenter);
    }
    return QVariant();
}
