#include "ItemListModel.h"

#include "ListDates.h"
#include "Money.h"
#include "Recordset.h"

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

} // namespace

ItemListModel::ItemListModel(const QStringList& headers, QObject* parent)
    : QAbstractTableModel(parent), m_headers(headers),
      // Before the first sort the direction is descending, so the first click
      // on a header sorts ascending.
      m_order(Qt::DescendingOrder) {}

void ItemListModel::Clear() {
    beginResetModel();
    m_cells.clear();
    std::vector<std::uint32_t>().swap(m_rows);
    endResetModel();
}

void ItemListModel::appendCell(QStringView text) {
    m_cells.append(text);
}

QStringView ItemListModel::storedCell(std::uint32_t storedRow, int column) const {
    return m_cells.at(static_cast<size_t>(storedRow) * ColumnCount + static_cast<size_t>(column));
}

void ItemListModel::Fill(const Riri::Recordset& records) {
    static const char* const names[ColumnCount] = {
        "ItemID", "ItemName",      "SN",      "RoomName",    "Cost", "CurValue",
        "Model",  "AccquiredFrom", "BuyDate", "Description", "Notes"};
    std::array<int, ColumnCount> source{};
    for (int c = 0; c < ColumnCount; ++c) {
        source[static_cast<size_t>(c)] = records.ColumnIndex(QString::fromLatin1(names[c]));
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
    size_t size = m_cells.unitCount();
    for (qsizetype row = first; row < last; ++row) {
        for (int c = 0; c < ColumnCount; ++c) {
            size += static_cast<size_t>(
                records.FieldViewAt(row, source[static_cast<size_t>(c)]).size());
        }
        size += 16;
    }
    const auto count = static_cast<size_t>(last - first);
    m_cells.reserve(size, m_cells.cellCount() + count * ColumnCount);
    m_rows.reserve(m_rows.size() + count);

    beginInsertRows(QModelIndex(), rowCount(), rowCount() + static_cast<int>(count) - 1);
    for (qsizetype row = first; row < last; ++row) {
        m_rows.push_back(static_cast<std::uint32_t>(m_cells.cellCount() / ColumnCount));
        for (int c = 0; c < ColumnCount; ++c) {
            const QStringView value = records.FieldViewAt(row, source[static_cast<size_t>(c)]);
            switch (c) {
            case CostColumn:
            case ValueColumn:
                appendCell(money.StoredView(value));
                break;
            case BoughtColumn:
                appendCell(dates.ShowView(value));
                break;
            default:
                appendCell(value);
                break;
            }
        }
    }
    endInsertRows();
}

void ItemListModel::AddRow(const std::array<QString, ColumnCount>& texts) {
    const int row = rowCount();
    beginInsertRows(QModelIndex(), row, row);
    m_rows.push_back(static_cast<std::uint32_t>(m_cells.cellCount() / ColumnCount));
    for (const QString& text : texts) {
        appendCell(text);
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
    return textView(row, column).toString();
}

void ItemListModel::SortBy(int column) {
    if (column < 0 || column >= ColumnCount) {
        return;
    }
    m_order = m_order == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
    if (m_rows.size() < 2) {
        return;
    }

    // The sort key of each row: the first 28 UTF-16 units of its text, case
    // folded, stored big-endian and padded with zeros, so that comparing the
    // bytes of two keys orders the texts. The folded rest of a longer text
    // goes to `tails`, ended by a zero unit, for telling apart rows whose keys
    // are equal. Each entry fills one cache line and moves with its key.
    constexpr qsizetype kKeyUnits = 28;
    constexpr std::uint32_t kNoTail = 0xFFFFFFFFu;
    struct Entry {
        unsigned char key[kKeyUnits * 2];
        std::uint32_t stored;
        std::uint32_t tail;
    };
    static_assert(sizeof(Entry) == 64);
    std::vector<Entry> entries(m_rows.size());
    std::vector<char16_t> tails;
    for (size_t i = 0; i < m_rows.size(); ++i) {
        const QStringView text = storedCell(m_rows[i], column);
        Entry& entry = entries[i];
        const qsizetype units = std::min(text.size(), kKeyUnits);
        for (qsizetype k = 0; k < units; ++k) {
            const char16_t unit = folded(text.at(k).unicode());
            entry.key[2 * k] = static_cast<unsigned char>(unit >> 8);
            entry.key[2 * k + 1] = static_cast<unsigned char>(unit & 0xFF);
        }
        std::memset(entry.key + 2 * units, 0, static_cast<size_t>(kKeyUnits - units) * 2);
        entry.stored = m_rows[i];
        entry.tail = kNoTail;
        if (text.size() > kKeyUnits) {
            entry.tail = static_cast<std::uint32_t>(tails.size());
            for (qsizetype k = kKeyUnits; k < text.size(); ++k) {
                tails.push_back(folded(text.at(k).unicode()));
            }
            tails.push_back(0);
        }
    }
    const auto less = [&tails](const Entry& a, const Entry& b) {
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

    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    if (m_order == Qt::AscendingOrder) {
        std::stable_sort(entries.begin(), entries.end(), less);
    } else {
        std::stable_sort(entries.begin(), entries.end(),
                         [&less](const Entry& a, const Entry& b) { return less(b, a); });
    }

    // Move the indexes the views hold on to (selection, current row, the
    // row being read) from their old rows to the new ones.
    std::vector<char16_t>().swap(tails);
    std::vector<std::uint32_t> newRowOfStored(m_rows.size());
    for (size_t i = 0; i < entries.size(); ++i) {
        newRowOfStored[entries[i].stored] = static_cast<std::uint32_t>(i);
    }
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& index : before) {
        const std::uint32_t stored = m_rows[static_cast<size_t>(index.row())];
        after.append(createIndex(static_cast<int>(newRowOfStored[stored]), index.column()));
    }
    for (size_t i = 0; i < entries.size(); ++i) {
        m_rows[i] = entries[i].stored;
    }
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

Qt::Alignment ItemListModel::columnAlignment(int column) {
    switch (column) {
    case CostColumn:
    case ValueColumn:
        return Qt::AlignRight;
    case ModelColumn:
        return Qt::AlignHCenter;
    default:
        return Qt::AlignLeft;
    }
}

int ItemListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int ItemListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ItemListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) {
        return QVariant();
    }
    if (role == Qt::DisplayRole) {
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
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount) {
        return QVariant();
    }
    if (role == Qt::DisplayRole) {
        return m_headers.value(section);
    }
    if (role == Qt::TextAlignmentRole) {
        return QVariant::fromValue(columnAlignment(section) | Qt::AlignVCenter);
    }
    return QVariant();
}
