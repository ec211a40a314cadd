#pragma once

#include <Riri/PackedTexts.h>

#include <QAbstractTableModel>
#include <QStringList>
#include <QStringView>
#include <array>
#include <cstdint>
#include <vector>

namespace Riri {
class Recordset;
}

// The rows of an item list: one row per item, eleven texts per row, kept in
// one UTF-16 buffer so that a list of a hundred thousand items costs little
// more than its text. Column 0 is the row's text and key (the ItemID).
//
// The list has one sort direction for all its columns. sortBy flips it and
// orders the rows once by one column; sortRows does the same in the direction
// it is given, which becomes the list's. Rows filled in later come in the
// order they are delivered.
class ItemListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column {
        ItemIdColumn,
        NameColumn,
        SerialColumn,
        RoomColumn,
        CostColumn,
        ValueColumn,
        ModelColumn,
        FromColumn,
        BoughtColumn,
        DescriptionColumn,
        NotesColumn,
        ColumnCount
    };
    // The column a list that shows evidence has after the eleven texts: the
    // number of the item's attachments.
    static constexpr int EvidenceColumn = ColumnCount;

    explicit ItemListModel(const QStringList& headers, QObject* parent = nullptr);

    // Shows the evidence column with this header after the eleven texts. Set
    // before the first rows come.
    void showEvidenceColumn(const QString& header);
    bool showsEvidence() const { return !m_evidenceHeader.isEmpty(); }

    // Removes every row.
    void clear();
    // Adds one row per record, from the first to the end of the set, in the
    // set's order: amounts in the money pattern, the bought date as list text,
    // null or missing columns as empty cells.
    void fill(const Riri::Recordset& records);
    // The list texts of every row of the set, eleven cells per row, as fill
    // stores them. Touches no model: a reader thread prepares its batches
    // with it, so the GUI thread only copies them in.
    static void listTexts(const Riri::Recordset& records, Riri::PackedTexts& cells);
    // Adds the rows of cells made by listTexts, after the others in the
    // list's order. `keep` (one entry per added row) says which of them show;
    // without it they all do. `evidence` gives the rows' numbers of
    // attachments (0 for each without it).
    void appendRows(const Riri::PackedTexts& cells, const std::vector<std::uint8_t>* keep = nullptr,
                    const std::vector<std::int32_t>* evidence = nullptr);
    // Makes room for `rows` stored rows in all, as long as the rows stored
    // so far are on average, so that a list read in batches is not copied
    // to larger storage again and again.
    void reserveRows(qint64 rows);
    // Whether only some rows show (showOnly is in force).
    bool filtered() const { return m_filtered; }
    // Adds one row of eleven texts (amounts and date already as list texts).
    void addRow(const std::array<QString, ColumnCount>& texts);

    // Flips the direction and sorts the rows once by the given column: the
    // Cost and Value columns by amount, the evidence column by number, the
    // Accquired column by date (an
    // empty or unreadable cell before every other), the others by their
    // text with letter case ignored. Rows that compare equal keep their order.
    void sortBy(int column);
    // Sorts once by the given column in the given direction, as sortBy does.
    void sortRows(int column, Qt::SortOrder order);
    Qt::SortOrder order() const { return m_order; }
    // The column of the last sort, or -1.
    int sortColumn() const { return m_sortColumn; }

    // Shows only the stored rows whose entry in `keep` (one per stored row)
    // is not zero, in the list's current order; a later sort orders all rows
    // and keeps showing the same ones.
    void showOnly(std::vector<std::uint8_t> keep);
    // Shows every stored row again.
    void showAll();

    // Rows as stored (in delivery order), shown or not.
    int storedRowCount() const;
    QStringView storedText(int storedRow, int column) const;
    // The number of attachments of a stored row; 0 without the evidence column.
    int storedEvidence(int storedRow) const;
    // The stored row a shown row stands for.
    int storedRow(int row) const;

    // The text of a cell, by its row as the list shows it now. The evidence
    // column has no stored text: text() gives its number, textView nothing.
    QString text(int row, int column) const;
    QStringView textView(int row, int column) const;
    // The row key: the ItemID.
    QString key(int row) const { return text(row, ItemIdColumn); }

    static Qt::Alignment columnAlignment(int column);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    // The rows kept by showOnly, in the order of all stored rows.
    void showKeptRows();
    // Moves the views' indexes to the new rows of the stored rows they stood for.
    void movePersistentIndexes(const QModelIndexList& before,
                               const std::vector<std::uint32_t>& storedBefore);
    void appendCell(QStringView text);
    QStringView storedCell(std::uint32_t storedRow, int column) const;

    QStringList m_headers;
    Riri::PackedTexts m_cells;            // the cells of each stored row, in order
    std::vector<std::uint32_t> m_rows;    // shown row -> stored row
    QString m_evidenceHeader;             // empty: no evidence column
    std::vector<std::int32_t> m_evidence; // per stored row, with the column
    Qt::SortOrder m_order;
    int m_sortColumn = -1;
    // While only some rows show: every stored row in the list's order, and
    // per stored row whether it shows.
    std::vector<std::uint32_t> m_all;
    std::vector<std::uint8_t> m_keep;
    bool m_filtered = false;
};
