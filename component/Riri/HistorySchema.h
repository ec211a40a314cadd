#pragma once

#include "RiriExport.h"

#include <QString>
#include <QStringList>

namespace Riri {

// The objects of schema version 3: the history of every change of an item,
// of the owner record and of an attachment, written by triggers in the same
// transaction as the change, whichever program makes it.
//
// A row of tblHistory names what changed (What: Item, Owner, Evidence or
// Inventory), its row (RowRef: tblItems.ID, the owner's rowid,
// tblEvidence.ID), the action ("added", "changed", "deleted",
// "brought back"), the source and the fields. Fields is packed text, one
// field a line: "Name=VALUE" for a whole row (added, deleted, brought back),
// "Name=OLD>NEW" for each field a change altered (an added item lists none:
// see ItemHistory::changes), every value written as
// SQLite's quote() writes it (HistoryFields reads it back). SQLite's JSON
// functions are not innocuous, so triggers of an untrusted schema may not
// call them; quote() and || may be called, keep every value exact (15
// significant digits for amounts, blobs as X'..') and cost one row per change.
//
// Triggers of the file cannot read a connection's TEMP objects, so the
// source is one row of tblHistorySource, written by the component inside
// its own transaction and deleted again before it commits: outside the
// component's transactions the table is empty, and a change made by any
// other program reads "Another program".
class RIRI_EXPORT HistorySchema {
public:
    static QString historyTable();
    static QString rowIndex();
    static QString deletedIndex();
    static QString sourceTable();
    // What a bulk writer that turns the triggers off runs before it commits:
    // the history rows of the items it added, those numbered above afterId
    // (tblItems.ID is never reused, so they are all new).
    static QString bulkAdded(qint64 afterId);
    // The history rows of the items a bulk writer changed with the triggers
    // off (SQLITE_DBCONFIG_ENABLE_TRIGGER): oldItems is a table with the
    // columns of tblItems holding each changed item as it was before, in the
    // order changed. Rows that differ in no compared field record nothing, as
    // with the trigger.
    static QString bulkChanged(const QString& oldItems);
    // The triggers that fire on an addition or a change of an item: the ones
    // a bulk writer that turns the triggers off stands in for.
    static QStringList itemWriteTriggers();
    // The triggers' names and statements, in the same order.
    static QStringList triggerNames();
    static QStringList triggers();
    // The whole step, statements joined.
    static QString step();
};

} // namespace Riri
