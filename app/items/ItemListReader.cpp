#include "items/ItemListReader.h"

#include "items/ItemListModel.h"

#include <Riri/Recordset.h>
#include <Riri/dllHome.h>

#include <QMetaObject>
#include <algorithm>
#include <utility>

ItemBatchReader::ItemBatchReader(std::unique_ptr<Riri::dllHome> home, int firstRows, int maxRows,
                                 bool evidence, const std::atomic<bool>& stop)
    : m_home(std::move(home)), m_batchRows(firstRows), m_maxRows(std::max(firstRows, maxRows)),
      m_evidence(evidence), m_stop(stop) {}

ItemBatchReader::~ItemBatchReader() = default;

ItemRecordsPtr ItemBatchReader::readRecords() {
    auto records = std::make_shared<ItemRecords>();
    if (m_done) {
        records->last = true;
        return records;
    }
    // The count comes with the second batch: a list that fits into one batch
    // needs none, and the first rows are not kept waiting for it.
    if (m_lastId > 0 && !m_counted) {
        m_counted = true;
        records->total = m_home->CountItems();
    }
    records->rows = m_home->LoadItemsAfter(m_lastId, m_batchRows);
    if (!records->rows) {
        // The inventory could not be read (any more): the list ends here.
        m_done = true;
        records->last = true;
        return records;
    }
    const qsizetype count = records->rows->rowCount();
    if (count > 0) {
        const qint64 afterId = m_lastId;
        m_lastId =
            records->rows->fieldAt(count - 1, records->rows->columnIndex(QStringLiteral("ID")))
                .toLongLong();
        if (m_evidence) {
            records->evidence = m_home->LoadEvidenceCounts(afterId, m_lastId);
            if (!records->evidence) {
                // No evidence table (yet): every item has none.
                records->evidence = std::make_shared<Riri::Recordset>(
                    QStringList{QStringLiteral("ItemRef"), QStringLiteral("Attachments")});
            }
        }
    }
    m_done = count < m_batchRows;
    records->last = m_done;
    // The first batch is small so that the window shows it at once. Later
    // ones grow: each batch makes the view lay out all its rows again, so
    // fewer of them cost less, while the largest still joins the list well
    // within a repaint.
    m_batchRows = std::min(m_batchRows * 2, m_maxRows);
    return records;
}

void ItemBatchReader::readAhead() {
    if (m_done || m_stop.load()) {
        return;
    }
    emit recordsRead(readRecords());
}

namespace {

// The items' numbers of attachments, row by row: both sets are in ID order,
// so one pass pairs them.
void countEvidence(const Riri::Recordset& rows, const Riri::Recordset& evidence, ItemBatch& batch) {
    const auto count = static_cast<size_t>(rows.rowCount());
    batch.ids.assign(count, 0);
    batch.evidence.assign(count, 0);
    const int id = rows.columnIndex(QStringLiteral("ID"));
    const int ref = evidence.columnIndex(QStringLiteral("ItemRef"));
    const int attachments = evidence.columnIndex(QStringLiteral("Attachments"));
    qsizetype next = 0;
    for (size_t r = 0; r < count; ++r) {
        const qint64 item = rows.fieldViewAt(static_cast<qsizetype>(r), id).toLongLong();
        batch.ids[r] = item;
        while (next < evidence.rowCount() && evidence.fieldViewAt(next, ref).toLongLong() < item) {
            ++next;
        }
        if (next < evidence.rowCount() && evidence.fieldViewAt(next, ref).toLongLong() == item) {
            batch.evidence[r] = evidence.fieldViewAt(next, attachments).toInt();
        }
    }
}

} // namespace

ItemBatchMaker::ItemBatchMaker(bool folded, QStringList rooms, const std::atomic<bool>& stop)
    : m_folded(folded), m_rooms(std::move(rooms)), m_stop(stop) {}

ItemBatchPtr ItemBatchMaker::make(const ItemRecords& records) const {
    auto batch = std::make_shared<ItemBatch>();
    batch->total = records.total;
    batch->last = records.last;
    if (records.rows) {
        ItemListModel::listTexts(*records.rows, batch->cells);
        if (m_folded) {
            batch->search = ItemSearch::foldRows(batch->cells, m_rooms);
        }
        if (records.evidence) {
            countEvidence(*records.rows, *records.evidence, *batch);
        }
    }
    return batch;
}

void ItemBatchMaker::makeAhead(const ItemRecordsPtr& records) {
    if (m_stop.load()) {
        return;
    }
    emit batchRead(make(*records));
}

ItemListReader::ItemListReader(std::unique_ptr<Riri::dllHome> home, int firstRows, int maxRows,
                               bool folded, const QStringList& rooms, bool evidence,
                               QObject* parent)
    : QObject(parent),
      m_reader(new ItemBatchReader(std::move(home), firstRows, maxRows, evidence, m_stop)),
      m_maker(new ItemBatchMaker(folded, rooms, m_stop)) {
    m_readThread.setObjectName(QStringLiteral("item list reader"));
    m_makeThread.setObjectName(QStringLiteral("item list maker"));
    m_reader->moveToThread(&m_readThread);
    m_maker->moveToThread(&m_makeThread);
    connect(m_reader, &ItemBatchReader::recordsRead, m_maker, &ItemBatchMaker::makeAhead,
            Qt::QueuedConnection);
    m_readThread.start();
    m_makeThread.start();
}

ItemListReader::~ItemListReader() {
    // Requests still queued on the threads find the flag set and do nothing;
    // batches already sent to the receiver are dropped by it.
    m_stop.store(true);
    m_readThread.quit();
    m_makeThread.quit();
    m_readThread.wait();
    m_makeThread.wait();
    // Their threads have ended: nothing else uses them.
    delete m_reader;
    delete m_maker;
}

ItemBatchPtr ItemListReader::first() {
    ItemRecordsPtr records;
    QMetaObject::invokeMethod(
        m_reader, [this] { return m_reader->readRecords(); }, Qt::BlockingQueuedConnection,
        &records);
    return m_maker->make(*records);
}

void ItemListReader::requestBatch() {
    QMetaObject::invokeMethod(m_reader, &ItemBatchReader::readAhead, Qt::QueuedConnection);
}
