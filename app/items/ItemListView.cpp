#include "items/ItemListView.h"

#include "items/EvidenceDetailsReader.h"
#include "items/ItemListReader.h"
#include "platform/Twips.h"
#include "shared/modGlobal.h"

#include <QHeaderView>
#include <Riri/Recordset.h>
#include <algorithm>

namespace {

int testBatchRows = 0;
bool testHeld = false;

} // namespace

void ItemListView::setBatchRowsForTesting(int rows) {
    testBatchRows = rows;
}

void ItemListView::setReadingHeldForTesting(bool held) {
    testHeld = held;
}

ItemListView::ItemListView(QWidget* form, const QStringList& headers, const Widths& widths)
    : QTreeView(form), m_form(form), m_items(new ItemListModel(headers, this)),
      m_firstRows(testBatchRows > 0 ? testBatchRows : FirstBatchRows),
      m_maxRows(testBatchRows > 0 ? testBatchRows : MaxBatchRows), m_held(testHeld) {
    setModel(m_items);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setTextElideMode(Qt::ElideRight);

    QHeaderView* head = header();
    head->setStretchLastSection(false);
    head->setSectionsMovable(false);
    head->setSectionsClickable(true);
    head->setSortIndicatorShown(true);
    head->setSortIndicator(-1, Qt::AscendingOrder); // no column sorted yet
    head->setSectionResizeMode(QHeaderView::Interactive);
    for (int c = 0; c < ItemListModel::ColumnCount; ++c) {
        head->resizeSection(c, Twips::toPixels(widths[static_cast<size_t>(c)]));
    }
    connect(head, &QHeaderView::sectionClicked, this, &ItemListView::columnClick);
    // A row the user picks wins over one still to be chosen when it arrives.
    connect(this, &QAbstractItemView::pressed, this, [this] { m_pendingKey.clear(); });
}

// Stops the reading before the model and the window go: the reader's thread
// finishes the batch it reads and ends.
ItemListView::~ItemListView() = default;

void ItemListView::setBatchFilter(BatchFilter filter, const QStringList& rooms) {
    m_filter = std::move(filter);
    m_rooms = rooms;
}

void ItemListView::setEvidenceColumn(const QString& header, int width) {
    m_evidence = true;
    m_items->showEvidenceColumn(header);
    this->header()->resizeSection(ItemListModel::EvidenceColumn, Twips::toPixels(width));
}

std::unique_ptr<Riri::dllHome> ItemListView::readingHome() {
    std::unique_ptr<Riri::dllHome> home;
    if (objHome && objHome->conDataBase) {
        home = std::make_unique<Riri::dllHome>();
        if (home->conDataBase) {
            home->conDataBase->setConnectionString(objHome->conDataBase->connectionString());
            // It only reads: opened read-only, each batch skips the checks a
            // writer's open makes.
            home->conDataBase->setReadOnly(true);
        }
    }
    if (!home || !home->conDataBase) {
        return nullptr;
    }
    return home;
}

void ItemListView::FillItemList() {
    m_form->setCursor(Qt::WaitCursor);
    m_reader.reset();
    m_evidenceDetails.reset();
    m_evidenceRead = false;
    std::vector<qint64>().swap(m_itemRefs);
    m_items->clear();
    header()->setSortIndicator(-1, Qt::AscendingOrder); // rows come in delivery order
    itmData = QPersistentModelIndex();
    m_readCount = 0;
    m_total = -1;
    m_pendingKey.clear();
    m_sortStale = false;
    emit aboutToRead();

    // The reader reads through a component object of its own, on the
    // connection objHome names; without objHome, or when it could not be
    // made (the database cannot be found), the list stays empty.
    std::unique_ptr<Riri::dllHome> home = readingHome();
    if (!home) {
        finishReading();
        m_form->unsetCursor();
        return;
    }
    m_reader = std::make_unique<ItemListReader>(std::move(home), m_firstRows, m_maxRows,
                                                bool(m_filter), m_rooms, m_evidence);
    const int generation = ++m_generation;
    m_reader->deliverTo(this, [this, generation](const ItemBatchPtr& batch) {
        // A batch of a reading since replaced or stopped is dropped.
        if (generation != m_generation || !m_reader) {
            return;
        }
        take(*batch);
        if (m_reader && !m_held) {
            m_reader->requestBatch();
        }
    });
    viewport()->setCursor(Qt::BusyCursor);
    take(*m_reader->first());
    if (m_reader && !m_held) {
        // Two requests in flight: the thread reads the next batch while this
        // one adds the last.
        m_reader->requestBatch();
        m_reader->requestBatch();
    }
    m_form->unsetCursor();
}

void ItemListView::readNextBatch() {
    if (m_reader) {
        m_reader->requestBatch();
    }
}

void ItemListView::take(const ItemBatch& batch) {
    const int firstStored = m_items->storedRowCount();
    if (batch.total >= 0 && m_total < 0) {
        m_items->reserveRows(batch.total);
    }
    const std::vector<std::uint8_t>* keep = m_filter ? m_filter(batch) : nullptr;
    m_items->appendRows(batch.cells, keep, batch.evidence.empty() ? nullptr : &batch.evidence);
    if (m_evidence) {
        m_itemRefs.insert(m_itemRefs.end(), batch.ids.begin(), batch.ids.end());
        m_itemRefs.resize(static_cast<size_t>(m_items->storedRowCount()), 0);
    }
    const int added = m_items->storedRowCount() - firstStored;
    m_readCount += added;
    if (batch.total >= 0) {
        m_total = batch.total;
    }
    if (added > 0 && m_items->sortColumn() >= 0) {
        m_sortStale = true; // the new rows came last
    }
    if (!m_pendingKey.isEmpty()) {
        for (int r = firstStored; r < m_items->storedRowCount(); ++r) {
            if (m_items->storedText(r, ItemListModel::ItemIdColumn) == m_pendingKey) {
                const QString key = std::exchange(m_pendingKey, QString());
                if (chooseKey(key)) {
                    emit keyChosenLate();
                }
                break;
            }
        }
    }
    emit rowsRead();
    if (batch.last) {
        finishReading();
    }
}

void ItemListView::finishReading() {
    m_reader.reset();
    // What the search needs beyond the counts takes a read of every
    // attachment row: it comes after the list, which the user can use meanwhile.
    std::unique_ptr<Riri::dllHome> home = m_evidence ? readingHome() : nullptr;
    if (home) {
        const int generation = m_generation;
        m_evidenceDetails = std::make_unique<EvidenceDetailsReader>(
            std::move(home), this,
            [this, generation](const std::shared_ptr<Riri::Recordset>& details) {
                if (generation == m_generation) {
                    takeEvidence(details.get());
                }
            });
    }
    viewport()->unsetCursor();
    m_pendingKey.clear();
    if (m_sortStale) {
        // Sorted while rows were still coming: now over the whole list.
        m_sortStale = false;
        m_items->sortRows(m_items->sortColumn(), m_items->order());
    }
    emit readingFinished();
}

void ItemListView::takeEvidence(const Riri::Recordset* details) {
    m_evidenceRead = true;
    ItemSearch::Evidence evidence;
    evidence.photos.assign(m_itemRefs.size(), 0);
    if (details != nullptr) {
        const int ref = details->columnIndex(QStringLiteral("ItemRef"));
        const int photos = details->columnIndex(QStringLiteral("Photos"));
        const int captions = details->columnIndex(QStringLiteral("Captions"));
        // Stored rows come in ID order, as the details do.
        auto from = m_itemRefs.begin();
        for (qsizetype r = 0; r < details->rowCount(); ++r) {
            const qint64 item = details->fieldViewAt(r, ref).toLongLong();
            from = std::lower_bound(from, m_itemRefs.end(), item);
            if (from == m_itemRefs.end()) {
                break;
            }
            if (*from != item) {
                continue;
            }
            const auto stored = static_cast<std::uint32_t>(from - m_itemRefs.begin());
            evidence.photos[stored] = details->fieldViewAt(r, photos).toInt() > 0 ? 1 : 0;
            if (!details->fieldViewAt(r, captions).isEmpty()) {
                evidence.captions.emplace_back(stored, details->fieldAt(r, captions));
            }
        }
    }
    emit evidenceRead(evidence);
}

void ItemListView::refill() {
    const int column = m_items->sortColumn();
    const Qt::SortOrder order = m_items->order();
    FillItemList();
    if (column >= 0) {
        m_items->sortRows(column, order);
        m_sortStale = isReading();
        header()->setSortIndicator(column, order);
    }
}

void ItemListView::columnClick(int column) {
    m_form->setCursor(Qt::WaitCursor);
    if (m_perColumn) {
        const bool again =
            column == m_items->sortColumn() && m_items->order() == Qt::AscendingOrder;
        m_items->sortRows(column, again ? Qt::DescendingOrder : Qt::AscendingOrder);
    } else {
        m_items->sortBy(column);
    }
    m_sortStale = false; // sorted over every row read so far
    // The header flips its own indicator on a click; it shows the list's order.
    header()->setSortIndicator(column, m_items->order());
    m_form->unsetCursor();
}

int ItemListView::selectedRow() const {
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

QString ItemListView::chosenKey() const {
    const int row = selectedRow();
    return row < 0 ? QString() : m_items->key(row);
}

int ItemListView::rowOf(const QString& key) const {
    if (!key.isEmpty()) {
        for (int row = 0; row < m_items->rowCount(); ++row) {
            if (m_items->textView(row, ItemListModel::ItemIdColumn) == key) {
                return row;
            }
        }
    }
    return -1;
}

bool ItemListView::chooseKey(const QString& key) {
    const int row = rowOf(key);
    if (row < 0) {
        selectionModel()->clearSelection();
        return false;
    }
    const QModelIndex index = m_items->index(row, ItemListModel::ItemIdColumn);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                 QItemSelectionModel::Rows);
    scrollTo(index);
    return true;
}

bool ItemListView::chooseKeySoon(const QString& key) {
    m_pendingKey.clear();
    if (chooseKey(key)) {
        return true;
    }
    if (isReading() && !key.isEmpty()) {
        m_pendingKey = key;
        return true;
    }
    return false;
}
