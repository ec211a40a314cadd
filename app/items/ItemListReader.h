#pragma once

#include "items/ItemSearch.h"

#include <Riri/PackedTexts.h>

#include <QObject>
#include <QStringList>
#include <QThread>
#include <atomic>
#include <memory>

namespace Riri {
class dllHome;
class Recordset;
} // namespace Riri

// One batch of an item list read off the GUI thread: its rows as list texts
// (eleven cells per row), folded for searching when that was asked for.
struct ItemBatch {
    Riri::PackedTexts cells;
    ItemSearch::Rows search;
    // Per row, when the list reads evidence (else empty): the item's
    // tblItems.ID and its number of attachments.
    std::vector<qint64> ids;
    std::vector<std::int32_t> evidence;
    // The number of items in the inventory when it was counted, else -1.
    qint64 total = -1;
    // No rows follow: the inventory was read to its end, or could not be read.
    bool last = false;
};
using ItemBatchPtr = std::shared_ptr<const ItemBatch>;
Q_DECLARE_METATYPE(ItemBatchPtr)

// The records of one batch as the component delivered them.
struct ItemRecords {
    std::shared_ptr<Riri::Recordset> rows; // none when the inventory could not be read
    // The evidence of the rows' items (dllHome::LoadEvidenceCounts), when read.
    std::shared_ptr<Riri::Recordset> evidence;
    qint64 total = -1;
    bool last = false;
};
using ItemRecordsPtr = std::shared_ptr<const ItemRecords>;
Q_DECLARE_METATYPE(ItemRecordsPtr)

// Reads the item records batch by batch, in ID order, through a component
// object of its own (so a connection of its own). Lives on the reading thread.
class ItemBatchReader : public QObject {
    Q_OBJECT
public:
    // Batches begin at firstRows rows and double up to maxRows. With
    // evidence, each batch brings the evidence counts of its items.
    ItemBatchReader(std::unique_ptr<Riri::dllHome> home, int firstRows, int maxRows, bool evidence,
                    const std::atomic<bool>& stop);
    ~ItemBatchReader() override;

    // Reads the next batch; after the last one, an empty last batch.
    ItemRecordsPtr readRecords();
    // Reads the next batch and sends it with recordsRead; nothing once
    // stopped or after the last batch.
    void readAhead();

signals:
    void recordsRead(ItemRecordsPtr records);

private:
    std::unique_ptr<Riri::dllHome> m_home;
    int m_batchRows;
    const int m_maxRows;
    const bool m_evidence;
    const std::atomic<bool>& m_stop;
    qint64 m_lastId = 0;
    bool m_done = false;
    bool m_counted = false;
};

// Turns the records of a batch into list texts and, when asked, folds them
// for searching. Lives on a thread of its own, so that this work and the
// reading of the next batch go on side by side.
class ItemBatchMaker : public QObject {
    Q_OBJECT
public:
    ItemBatchMaker(bool folded, QStringList rooms, const std::atomic<bool>& stop);

    ItemBatchPtr make(const ItemRecords& records) const;
    // Makes the batch and sends it with batchRead; nothing once stopped.
    void makeAhead(const ItemRecordsPtr& records);

signals:
    void batchRead(ItemBatchPtr batch);

private:
    const bool m_folded;
    const QStringList m_rooms;
    const std::atomic<bool>& m_stop;
};

// Reads the item list off the GUI thread for the GUI thread: the first batch
// while the caller waits (so a window opens with its first rows), every
// further one on request, delivered by a queued signal. Deleting it stops the
// reading: a batch in the works is finished and dropped.
class ItemListReader : public QObject {
    Q_OBJECT
public:
    // `home` is the component object to read through, made on the GUI thread.
    ItemListReader(std::unique_ptr<Riri::dllHome> home, int firstRows, int maxRows, bool folded,
                   const QStringList& rooms, bool evidence = false, QObject* parent = nullptr);
    ~ItemListReader() override;

    // Batches asked for with requestBatch go to `deliver`, called on the
    // thread of `receiver` (queued) for as long as the receiver lives.
    template <typename Deliver> void deliverTo(QObject* receiver, Deliver deliver) {
        connect(m_maker, &ItemBatchMaker::batchRead, receiver, std::move(deliver),
                Qt::QueuedConnection);
    }
    // The first batch, read while the caller waits.
    ItemBatchPtr first();
    // Asks for the next batch.
    void requestBatch();

private:
    std::atomic<bool> m_stop{false};
    QThread m_readThread;
    QThread m_makeThread;
    ItemBatchReader* m_reader;
    ItemBatchMaker* m_maker;
};
