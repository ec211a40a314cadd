#include "ItemHistory.h"

#include "InventoryConnection.h"

#include <algorithm>

namespace Riri {

namespace {

QString quoted(QString text) {
    text.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + text + QLatin1Char('\'');
}

std::shared_ptr<Recordset> read(const QString& statement) {
    Connection con;
    openInventoryConnection(con, true);
    con.BeginTrans();
    std::shared_ptr<Recordset> rows = con.Execute(statement);
    con.CommitTrans();
    con.Close();
    return rows;
}

qint64 firstNumber(const QString& statement) {
    const std::shared_ptr<Recordset> rows = read(statement);
    if (!rows || rows->isEmpty() || rows->isNull(0)) {
        return -1;
    }
    return rows->Field(0).toLongLong();
}

} // namespace

qint64 ItemHistory::storedItemNumber(const QString& itemId) {
    return firstNumber(
        QStringLiteral("SELECT ID FROM tblItems WHERE ItemID = %1").arg(quoted(itemId)));
}

qint64 ItemHistory::itemNumber(const QString& itemId) {
    const qint64 stored = storedItemNumber(itemId);
    if (stored >= 0) {
        return stored;
    }
    // A whole row's first line is its ItemID.
    const QString line = QStringLiteral("('ItemID=' || quote(%1) || char(10))").arg(quoted(itemId));
    return firstNumber(QStringLiteral("SELECT RowRef FROM tblHistory WHERE Action = 'deleted' AND "
                                      "What = 'Item' AND substr(Fields, 1, length(%1)) = %1 ORDER "
                                      "BY ID DESC LIMIT 1")
                           .arg(line));
}

std::vector<ItemHistory::Change> ItemHistory::changes(qint64 itemRef) {
    const QStringList& fields = HistoryFields::itemFields();
    Connection con;
    openInventoryConnection(con, true);
    con.BeginTrans();
    const std::shared_ptr<Recordset> rows = con.Execute(
        QStringLiteral("SELECT ID, RowRef, ChangeDate, Action, Source, Fields FROM "
                       "tblHistory WHERE What = 'Item' AND RowRef = %1 ORDER BY ID DESC")
            .arg(itemRef));
    const std::shared_ptr<Recordset> stored =
        con.Execute(QStringLiteral("SELECT %1 FROM tblItems WHERE ID = %2")
                        .arg(fields.join(QLatin1Char(',')))
                        .arg(itemRef));
    con.CommitTrans();
    con.Close();

    // The item's values after the change being read, newest first: the
    // stored item's to begin with, then each change undone in turn. An
    // added item's row lists no fields; it gets these values.
    std::vector<HistoryFields::Field> state;
    if (!stored->isEmpty()) {
        for (int column = 0; column < fields.size(); ++column) {
            HistoryFields::Field field;
            field.name = fields.at(column);
            if (!stored->isNull(column)) {
                const QString text = stored->Field(column);
                field.value = HistoryFields::isAmount(field.name) ? QVariant(text.toDouble())
                                                                  : QVariant(text);
            }
            state.push_back(field);
        }
    }
    std::vector<Change> changes;
    changes.reserve(static_cast<size_t>(rows->rowCount()));
    for (qsizetype row = 0; row < rows->rowCount(); ++row) {
        Change change;
        change.id = rows->fieldAt(row, 0).toLongLong();
        change.rowRef = rows->fieldAt(row, 1).toLongLong();
        change.date = rows->fieldAt(row, 2);
        change.action = rows->fieldAt(row, 3);
        change.source = rows->fieldAt(row, 4);
        change.fields = HistoryFields::parse(rows->fieldAt(row, 5)).value_or(change.fields);
        const bool whole = std::none_of(change.fields.begin(), change.fields.end(),
                                        [](const HistoryFields::Field& f) { return f.isChange; });
        if (change.action == QLatin1String("deleted") && whole) {
            state = change.fields; // what it held before it went
        } else if (change.fields.empty() && change.action != QLatin1String("changed")) {
            change.fields = state; // added or brought back: as it was then
            state.clear();
        } else {
            for (const HistoryFields::Field& undone : change.fields) {
                for (HistoryFields::Field& field : state) {
                    if (field.name == undone.name) {
                        field.value = undone.oldValue;
                    }
                }
            }
        }
        changes.push_back(std::move(change));
    }
    return changes;
}

std::vector<ItemHistory::DeletedItem> ItemHistory::deletedItems() {
    // The newest row of each deleted item is its deletion; its attachments
    // deleted with it name it on their first line.
    const std::shared_ptr<Recordset> rows = read(QStringLiteral(
        "SELECT h.RowRef, h.ChangeDate, h.Fields, (SELECT count(*) FROM tblHistory e WHERE "
        "e.Action = 'deleted' AND e.What = 'Evidence' AND e.Fields LIKE 'ItemRef=' || h.RowRef || "
        "char(10) || '%' AND e.Fields LIKE '%WithItem=1' || char(10) AND NOT EXISTS (SELECT 1 "
        "FROM tblEvidence v WHERE v.ID = e.RowRef) AND e.ID = (SELECT max(ID) FROM tblHistory x "
        "WHERE x.What = 'Evidence' AND x.RowRef = e.RowRef)) FROM tblHistory h WHERE h.Action = "
        "'deleted' AND h.What = 'Item' AND NOT EXISTS (SELECT 1 FROM tblItems i WHERE i.ID = "
        "h.RowRef) AND h.ID = (SELECT max(ID) FROM tblHistory x WHERE x.What = 'Item' AND "
        "x.RowRef = h.RowRef) ORDER BY h.ID DESC"));
    std::vector<DeletedItem> items;
    for (qsizetype row = 0; row < rows->rowCount(); ++row) {
        DeletedItem item;
        item.itemRef = rows->fieldAt(row, 0).toLongLong();
        item.date = rows->fieldAt(row, 1);
        item.values = HistoryFields::parse(rows->fieldAt(row, 2)).value_or(item.values);
        item.attachments = rows->fieldAt(row, 3).toInt();
        items.push_back(std::move(item));
    }
    return items;
}

} // namespace Riri
