#pragma once

#include "items/ItemListModel.h"
#include "items/ItemSearch.h"

#include <QStringList>
#include <QTreeView>
#include <array>
#include <functional>
#include <memory>

class EvidenceDetailsReader;
class ItemListReader;
struct ItemBatch;

namespace Riri {
class dllHome;
class Recordset;
} // namespace Riri

// The item list of the edit and delete windows: a report list with one row
// per item and eleven columns, clickable headers that sort it, whole rows
// selected one at a time, no editing in place.
//
// The list is read on a thread of its own, batch by batch: the window shows
// the first batch at once and takes input while the rest arrives. A sort
// asked for while it is read orders the rows read so far and is done again
// over the whole list once it is read.
class ItemListView : public QTreeView {
    Q_OBJECT
public:
    using Widths = std::array<int, ItemListModel::ColumnCount>;

    // headers and widths (in twips) of the eleven columns; the busy pointer
    // shows over `form` while the list fills or sorts.
    ItemListView(QWidget* form, const QStringList& headers, const Widths& widths);
    ~ItemListView() override;

    ItemListModel* items() const { return m_items; }

    // Empties the list and starts reading every item record again, in the
    // order the component delivers them: the first batch before it returns,
    // the others as they arrive.
    void FillItemList();
    // Reads every item again as FillItemList does, then sorts the rows as
    // they were sorted before (same column, same direction), so that a list
    // brought up to date after a change elsewhere looks as the user left it.
    void refill();
    // A click on the header of the given column: flips the list's one sort
    // direction and sorts once by that column (amounts by amount, the date
    // by date, other columns by text); the header shows the sort indicator.
    // With a direction per column, a click on another column sorts it
    // ascending and a further click on the same column reverses it.
    void columnClick(int column);
    void setDirectionPerColumn(bool perColumn) { m_perColumn = perColumn; }

    // The row of the first selected item, or -1.
    int selectedRow() const;
    // The shown row of the item with this ItemID, or -1.
    int rowOf(const QString& key) const;
    // The ItemID of the selected row, or an empty text.
    QString chosenKey() const;
    // Selects the shown row of the item with this ItemID without loading it
    // anywhere (no click). False, and nothing selected, when no shown row
    // holds it.
    bool chooseKey(const QString& key);
    // As chooseKey; while the list is still read, a key not read yet is
    // chosen when its row arrives (keyChosenLate follows), unless the user
    // chooses a row first. False when the list is read and holds no such row.
    bool chooseKeySoon(const QString& key);

    // Whether rows are still being read.
    bool isReading() const { return m_reader != nullptr; }
    // The items read so far, and the number in the inventory (-1 until known).
    qint64 readCount() const { return m_readCount; }
    qint64 totalCount() const { return m_total; }

    // Rows of one batch, before they join the list: gives per row whether it
    // shows (the find window's query), or null when all of them show.
    using BatchFilter = std::function<const std::vector<std::uint8_t>*(const ItemBatch&)>;
    void setBatchFilter(BatchFilter filter, const QStringList& rooms);
    // Reads each item's number of attachments with the list and shows it in
    // a column after the eleven, `width` twips wide; once the list is read,
    // reads which items have a photo and their captions (evidenceRead).
    // Set before the list is first filled.
    void setEvidenceColumn(const QString& header, int width);
    // Whether the photos and captions of the items are still being read.
    bool isReadingEvidence() const { return m_evidenceDetails != nullptr && !m_evidenceRead; }

    // The rows read per batch: the first batch has FirstBatchRows and later
    // ones grow to MaxBatchRows.
    static constexpr int FirstBatchRows = 4096;
    static constexpr int MaxBatchRows = 32768;
    // For tests that look at lists half read, for the lists made from now
    // on: every batch `rows` large (0: as usual), and, held, a list that asks
    // for a batch only through readNextBatch instead of reading on by itself.
    static void setBatchRowsForTesting(int rows);
    static void setReadingHeldForTesting(bool held);
    void readNextBatch();

signals:
    // The list was emptied and is about to be read again.
    void aboutToRead();
    // A batch of rows joined the list (some may be hidden by a filter).
    void rowsRead();
    // The whole list is read (also when it could not be read).
    void readingFinished();
    // A key asked for with chooseKeySoon was chosen when its row arrived.
    void keyChosenLate();
    // The photos and captions of the items of the list, by stored row.
    void evidenceRead(const ItemSearch::Evidence& evidence);

private:
    void take(const ItemBatch& batch);
    void finishReading();
    // A component object of its own for a reader thread, on the connection
    // objHome names; none when there is no inventory to read.
    static std::unique_ptr<Riri::dllHome> readingHome();
    void takeEvidence(const Riri::Recordset* details);

    QWidget* m_form;
    ItemListModel* m_items;
    bool m_perColumn = false;
    std::unique_ptr<ItemListReader> m_reader;
    int m_firstRows = FirstBatchRows;
    int m_maxRows = MaxBatchRows;
    bool m_held = false;
    qint64 m_readCount = 0;
    qint64 m_total = -1;
    int m_generation = 0;     // counts the readings started, to drop a late batch
    bool m_sortStale = false; // rows came after the last sort
    QString m_pendingKey;
    BatchFilter m_filter;
    bool m_evidence = false;
    std::vector<qint64> m_itemRefs; // tblItems.ID per stored row, with evidence
    std::unique_ptr<EvidenceDetailsReader> m_evidenceDetails;
    bool m_evidenceRead = false;
    QStringList m_rooms; // folded with each batch when a filter is set
};
