#include "items/ItemListReader.h"

#include "items/ItemListModel.h"

#include <Riri/dllHome.h>

#include <QMetaObject>
#include <utility>

ItemBatchReader::ItemBatchReader(std::unique_ptr<Riri::dllHome> home, int batchRows, bool folded,
                                 QStringList rooms, const std::atomic<bool>& stop)
    : m_home(std::move(home)), m_batchRows(batchRows), m_folded(folded), m_rooms(std::move(rooms)),
      m_stop(stop) {}

ItemBatchReader::~ItemBatchReader() = default;

ItemBatchPtr ItemBatchReader::readBatch() {
    auto batch = std::make_shared<ItemBatch>();
    if (m_done) {
        batch->last = true;
        return batch;
    }
    // The count comes with the second batch: a list that fits into one batch
    // needs none, and the first rows are not kept waiting for it.
    if (m_lastId > 0 && !m_counted) {
        m_counted = true;
        batch->total = m_home->CountItems();
    }
    const std::shared_ptr<Riri::Recordset> rows = m_home->LoadItemsAfter(m_lastId, m_batchRows);
    if (!rows) {
        // The inventory could not be read (any more): the list ends here.
        m_done = true;
        batch->last = true;
        return batch;
    }
    const qsizetype count = rows->rowCount();
    if (count > 0) {
        m_lastId = rows->fieldAt(count - 1, rows->columnIndex(QStringLiteral("ID"))).toLongLong();
    }
    ItemListModel::listTexts(*rows, batch->cells);
    if (m_folded) {
        batch->search = ItemSearch::foldRows(batch->cells, m_rooms);
    }
    m_done = count < m_batchRows;
    batch->last = m_done;
    return batch;
}

void ItemBatchReader::readAhead() {
    if (m_done || m_stop.load()) {
        return;
    }
    emit batchRead(readBatch());
}

ItemListReader::ItemListReader(std::unique_ptr<Riri::dllHome> home, int batchRows, bool folded,
                               const QStringList& rooms, QObject* parent)
    : QObject(parent),
      m_reader(new ItemBatchReader(std::move(home), batchRows, folded, rooms, m_stop)) {
    m_thread.setObjectName(QStringLiteral("item list reader"));
    m_reader->moveToThread(&m_thread);
    m_thread.start();
}

ItemListReader::~ItemListReader() {
    // Requests still queued on the thread find the flag set and read nothing;
    // batches already sent to this object are dropped with it.
    m_stop.store(true);
    m_thread.quit();
    m_thread.wait();
    delete m_reader; // its thread has ended: nothing else uses it
}

ItemBatchPtr ItemListReader::first() {
    ItemBatchPtr batch;
    QMetaObject::invokeMethod(
        m_reader, [this] { return m_reader->readBatch(); }, Qt::BlockingQueuedConnection, &batch);
    return batch;
}

void ItemListReader::requestBatch() {
    QMetaObject::invokeMethod(m_reader, &ItemBatchReader::readAhead, Qt::QueuedConnection);
}
