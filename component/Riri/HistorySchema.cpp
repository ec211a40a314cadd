#include "HistorySchema.h"

#include <initializer_list>

namespace Riri {

namespace {

using Names = std::initializer_list<const char*>;

// The fields kept for each table; a change is recorded when one of the
// compared ones differs (the dates the writers stamp follow the others).
const Names kItemFields = {"ItemID", "ItemName", "SN",      "Model",         "RoomName",
                           "Cost",   "CurValue", "BuyDate", "AccquiredFrom", "Description",
                           "Notes",  "AddDate",  "ModDate"};
const Names kItemCompared = {"ItemID",        "ItemName",    "SN",       "Model",
                             "RoomName",      "Cost",        "CurValue", "BuyDate",
                             "AccquiredFrom", "Description", "Notes"};
const Names kOwnerFields = {"OwnerID", "LName", "FName", "MName",   "FullName", "Address",
                            "City",    "State", "Zip",   "AddDate", "ModDate"};
const Names kOwnerCompared = {"OwnerID", "LName", "FName", "MName", "FullName",
                              "Address", "City",  "State", "Zip"};
const Names kEvidenceFields = {"ItemRef", "Kind",  "Caption", "FileName",  "MediaType", "Size",
                               "Sha256",  "Width", "Height",  "TakenDate", "AddDate"};
const Names kEvidenceCompared = {"ItemRef", "Kind",   "Caption", "FileName", "MediaType",
                                 "Size",    "Sha256", "Width",   "Height",   "TakenDate"};

QString name(const char* field) {
    return QString::fromLatin1(field);
}

// Name=VALUE lines of a whole row.
QString wholeRow(Names fields, const char* row) {
    QStringList parts;
    for (const char* field : fields) {
        parts << QStringLiteral("'%1=' || quote(%2.%1) || char(10)").arg(name(field), name(row));
    }
    return parts.join(QStringLiteral(" || "));
}

// Name=OLD>NEW lines of the fields that differ.
QString changedFields(Names fields) {
    QStringList parts;
    for (const char* field : fields) {
        parts << QStringLiteral("CASE WHEN OLD.%1 IS NOT NEW.%1 THEN '%1=' || quote(OLD.%1) || '>' "
                                "|| quote(NEW.%1) || char(10) ELSE '' END")
                     .arg(name(field));
    }
    return parts.join(QStringLiteral(" || "));
}

QString anyDiffers(Names fields) {
    QStringList parts;
    for (const char* field : fields) {
        parts << QStringLiteral("OLD.%1 IS NOT NEW.%1").arg(name(field));
    }
    return parts.join(QStringLiteral(" OR "));
}

QString insertRow(const QString& what, const QString& rowRef, const QString& action,
                  const QString& fields, const QString& sha256) {
    return QStringLiteral(
               "INSERT INTO tblHistory (ChangeDate, What, RowRef, Action, Source, Fields, Sha256) "
               "VALUES (strftime('%Y-%m-%d %H:%M:%S', 'now', 'localtime'), '%1', %2, %3, "
               "coalesce((SELECT Source FROM tblHistorySource), 'Another program'), %4, %5)")
        .arg(what, rowRef, action, fields, sha256);
}

// "brought back" when the row's number has a history already: only the
// component's Bring Back inserts a row under a number that was deleted.
QString addedAction(const QString& what, const QString& rowRef) {
    return QStringLiteral("CASE WHEN EXISTS (SELECT 1 FROM tblHistory WHERE What = '%1' AND "
                          "RowRef = %2) THEN 'brought back' ELSE 'added' END")
        .arg(what, rowRef);
}

struct Table {
    bool addedFields;      // whether an added row lists its fields
    const char* addedWhen; // when an addition is recorded by the trigger
    const char* what;
    const char* table;
    const char* newRef;
    const char* oldRef;
    Names fields;
    Names compared;
    const char* newSha;
    const char* oldSha;
    QString deletedExtra; // more lines for a deleted row
};

QStringList triggersOf(const Table& t) {
    const QString what = name(t.what);
    const QString table = name(t.table);
    return {
        QStringLiteral("CREATE TRIGGER trgHistory%1Added AFTER INSERT ON %2 %3BEGIN %4; END")
            .arg(what, table, name(t.addedWhen),
                 insertRow(what, name(t.newRef), addedAction(what, name(t.newRef)),
                           t.addedFields ? wholeRow(t.fields, "NEW") : QStringLiteral("''"),
                           name(t.newSha))),
        QStringLiteral(
            "CREATE TRIGGER trgHistory%1Changed AFTER UPDATE ON %2 WHEN %3 BEGIN %4; END")
            .arg(what, table, anyDiffers(t.compared),
                 insertRow(what, name(t.newRef), QStringLiteral("'changed'"),
                           changedFields(t.compared), name(t.newSha))),
        QStringLiteral("CREATE TRIGGER trgHistory%1Deleted AFTER DELETE ON %2 BEGIN %3; END")
            .arg(what, table,
                 insertRow(what, name(t.oldRef), QStringLiteral("'deleted'"),
                           wholeRow(t.fields, "OLD") + t.deletedExtra, name(t.oldSha))),
    };
}

QStringList allTriggers() {
    QStringList all;
    // An added item lists no fields: they are the item's values with every
    // later change undone (ItemHistory works them out), and an import of a
    // hundred thousand items would otherwise spend more on the history than
    // on the items.
    // The guard on Bulk stays as stored inventories have it; the import, the
    // one bulk writer, turns its connection's triggers off instead and
    // records its additions and changes itself (bulkAdded, bulkChanged).
    all << triggersOf({false, "WHEN NOT EXISTS (SELECT 1 FROM tblHistorySource WHERE Bulk = 1) ",
                       "Item", "tblItems", "NEW.ID", "OLD.ID", kItemFields, kItemCompared, "NULL",
                       "NULL", QString()});
    all << triggersOf({true, "", "Owner", "tblOwner", "NEW.rowid", "OLD.rowid", kOwnerFields,
                       kOwnerCompared, "NULL", "NULL", QString()});
    // An attachment deleted with its item (the item row is gone already)
    // comes back with it; its thumbnail is kept so that it comes back whole.
    all << triggersOf(
        {true, "", "Evidence", "tblEvidence", "NEW.ID", "OLD.ID", kEvidenceFields,
         kEvidenceCompared, "NEW.Sha256", "OLD.Sha256",
         QStringLiteral(" || 'Thumbnail=' || quote(OLD.Thumbnail) || char(10) || 'WithItem=' || "
                        "quote(NOT EXISTS (SELECT 1 FROM tblItems WHERE ID = OLD.ItemRef)) || "
                        "char(10)")});
    return all;
}

} // namespace

QString HistorySchema::historyTable() {
    return QStringLiteral(
        "CREATE TABLE tblHistory ( ID INTEGER PRIMARY KEY, ChangeDate TEXT NOT NULL, "
        "What TEXT NOT NULL, RowRef INTEGER NOT NULL, Action TEXT NOT NULL, Source TEXT NOT NULL, "
        "Fields TEXT NOT NULL, Sha256 TEXT )");
}

QString HistorySchema::rowIndex() {
    return QStringLiteral("CREATE INDEX idxHistoryRow ON tblHistory (What, RowRef, ID)");
}

QString HistorySchema::deletedIndex() {
    // Only deletions: the list of deleted items and their attachments, at no
    // cost to the far more frequent additions and changes.
    return QStringLiteral(
        "CREATE INDEX idxHistoryDeleted ON tblHistory (What, ID) WHERE Action = 'deleted'");
}

QString HistorySchema::sourceTable() {
    return QStringLiteral(
        "CREATE TABLE tblHistorySource ( Source TEXT NOT NULL, Bulk INTEGER NOT NULL DEFAULT 0 )");
}

QString HistorySchema::bulkAdded(qint64 afterId) {
    return QStringLiteral("INSERT INTO tblHistory (ChangeDate, What, RowRef, Action, Source, "
                          "Fields) SELECT strftime('%Y-%m-%d %H:%M:%S', 'now', 'localtime'), "
                          "'Item', ID, 'added', (SELECT Source FROM tblHistorySource), '' FROM "
                          "tblItems WHERE ID > %1 ORDER BY ID")
        .arg(afterId);
}

QString HistorySchema::bulkChanged(const QString& oldItems) {
    // The item trigger's own expressions, with OLD the rows as they were and
    // NEW the rows as they are: the same Fields text, field for field.
    return QStringLiteral("INSERT INTO tblHistory (ChangeDate, What, RowRef, Action, Source, "
                          "Fields) SELECT strftime('%Y-%m-%d %H:%M:%S', 'now', 'localtime'), "
                          "'Item', NEW.ID, 'changed', (SELECT Source FROM tblHistorySource), %1 "
                          "FROM %2 AS OLD JOIN tblItems AS NEW ON NEW.ID = OLD.ID WHERE %3 ORDER "
                          "BY OLD.rowid")
        .arg(changedFields(kItemCompared), oldItems, anyDiffers(kItemCompared));
}

QStringList HistorySchema::itemWriteTriggers() {
    return {QStringLiteral("trgHistoryItemAdded"), QStringLiteral("trgHistoryItemChanged")};
}

QStringList HistorySchema::triggerNames() {
    QStringList names;
    for (const char* what : {"Item", "Owner", "Evidence"}) {
        for (const char* action : {"Added", "Changed", "Deleted"}) {
            names << QStringLiteral("trgHistory%1%2").arg(name(what), name(action));
        }
    }
    return names;
}

QStringList HistorySchema::triggers() {
    static const QStringList all = allTriggers();
    return all;
}

QString HistorySchema::step() {
    QStringList statements{historyTable(), rowIndex(), deletedIndex(), sourceTable()};
    statements << triggers();
    return statements.join(QStringLiteral(";\n"));
}

} // namespace Riri
