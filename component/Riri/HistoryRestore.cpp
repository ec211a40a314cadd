#include "HistoryRestore.h"

#include "ChangeSource.h"
#include "Error.h"
#include "ErrorNumbers.h"
#include "Formats.h"
#include "HistoryFields.h"
#include "InventoryConnection.h"

#include <QFileInfo>
#include <QStringList>
#include <sqlite3.h>

namespace Riri {

namespace {

const QStringList& kItemFields = HistoryFields::itemFields();
const QStringList kEvidenceFields = {
    QStringLiteral("ItemRef"),   QStringLiteral("Kind"),      QStringLiteral("Caption"),
    QStringLiteral("FileName"),  QStringLiteral("MediaType"), QStringLiteral("Size"),
    QStringLiteral("Sha256"),    QStringLiteral("Width"),     QStringLiteral("Height"),
    QStringLiteral("TakenDate"), QStringLiteral("AddDate"),   QStringLiteral("Thumbnail")};

// A value read back from a record set: null, a number for the amounts,
// text for the rest.
QVariant storedValue(const Recordset& rows, qsizetype row, int column, const QString& field) {
    if (rows.isNull(column)) {
        return QVariant();
    }
    const QString text = rows.fieldAt(row, column);
    if (HistoryFields::isAmount(field)) {
        return text.toDouble();
    }
    return text;
}

std::vector<HistoryFields::Field> parsed(const QString& packed) {
    std::optional<std::vector<HistoryFields::Field>> fields = HistoryFields::parse(packed);
    if (!fields) {
        throw Error(SQLITE_CORRUPT,
                    QStringLiteral("A history entry of the item cannot be read; nothing was "
                                   "changed."));
    }
    return *fields;
}

class Transaction {
public:
    explicit Transaction(const QString& source) {
        openInventoryConnection(m_con, false);
        m_con.BeginTrans();
        m_con.requireWritable();
        m_con.nameSource(ChangeSource::effective(source));
    }
    Connection& con() { return m_con; }
    void commit() {
        m_con.CommitTrans();
        m_con.Close();
    }

private:
    Connection m_con; // closing it rolls back what was not committed
};

QString freeItemId(Connection& con) {
    const std::shared_ptr<Recordset> largest =
        con.Execute(QStringLiteral("SELECT coalesce(max(ID), 0) FROM tblItems"));
    qint64 number = largest->Field(0).toLongLong() + 1;
    for (;; ++number) {
        const QString id = QStringLiteral("A-%1").arg(number);
        if (con.Execute(QStringLiteral("SELECT 1 FROM tblItems WHERE ItemID = '%1'").arg(id))
                ->isEmpty()) {
            return id;
        }
    }
}

int bringBackEvidence(Connection& con, qint64 itemRef) {
    const std::shared_ptr<Recordset> rows = con.Execute(
        QStringLiteral(
            "SELECT e.RowRef, e.Fields FROM tblHistory e WHERE e.Action = 'deleted' AND e.What = "
            "'Evidence' AND e.Fields LIKE 'ItemRef=%1' || char(10) || '%' AND e.Fields LIKE "
            "'%WithItem=1' || char(10) AND NOT EXISTS (SELECT 1 FROM tblEvidence v WHERE v.ID = "
            "e.RowRef) AND e.ID = (SELECT max(ID) FROM tblHistory x WHERE x.What = 'Evidence' AND "
            "x.RowRef = e.RowRef) ORDER BY e.RowRef")
            .arg(itemRef));
    int count = 0;
    for (qsizetype row = 0; row < rows->rowCount(); ++row) {
        const std::vector<HistoryFields::Field> fields = parsed(rows->fieldAt(row, 1));
        QStringList values{QString::number(rows->fieldAt(row, 0).toLongLong())};
        for (const QString& field : kEvidenceFields) {
            values << HistoryFields::literal(HistoryFields::valueOf(fields, field));
        }
        con.Execute(
            QStringLiteral("INSERT INTO tblEvidence (ID, %1) VALUES (%2)")
                .arg(kEvidenceFields.join(QLatin1Char(',')), values.join(QLatin1Char(','))));
        ++count;
    }
    return count;
}

} // namespace

bool HistoryRestore::restoreVersion(qint64 itemRef, qint64 historyId) {
    Transaction transaction(ChangeSource::ItemHistory);
    Connection& con = transaction.con();
    const std::shared_ptr<Recordset> current =
        con.Execute(QStringLiteral("SELECT %1 FROM tblItems WHERE ID = %2")
                        .arg(kItemFields.join(QLatin1Char(',')))
                        .arg(itemRef));
    if (current->isEmpty()) {
        throw Error(SQLITE_NOTFOUND, QStringLiteral("The item is not in the inventory."));
    }
    std::vector<QVariant> values;
    for (int column = 0; column < kItemFields.size(); ++column) {
        values.push_back(storedValue(*current, 0, column, kItemFields.at(column)));
    }
    const std::vector<QVariant> now = values;
    // Every change after the chosen one undone, newest first.
    const std::shared_ptr<Recordset> later = con.Execute(
        QStringLiteral("SELECT Fields FROM tblHistory WHERE What = 'Item' AND RowRef = %1 AND ID > "
                       "%2 AND Action = 'changed' ORDER BY ID DESC")
            .arg(itemRef)
            .arg(historyId));
    for (qsizetype row = 0; row < later->rowCount(); ++row) {
        for (const HistoryFields::Field& field : parsed(later->fieldAt(row, 0))) {
            const qsizetype column = kItemFields.indexOf(field.name);
            if (field.isChange && column >= 0) {
                values[static_cast<size_t>(column)] = field.oldValue;
            }
        }
    }
    QStringList assignments;
    for (qsizetype column = 0; column < kItemFields.size(); ++column) {
        const auto i = static_cast<size_t>(column);
        if (HistoryFields::literal(values[i]) != HistoryFields::literal(now[i])) {
            assignments << kItemFields.at(column) + QStringLiteral(" = ") +
                               HistoryFields::literal(values[i]);
        }
    }
    if (assignments.isEmpty()) {
        return false;
    }
    assignments << QStringLiteral("ModDate = '%1'").arg(sqlNow());
    con.Execute(QStringLiteral("UPDATE tblItems SET %1 WHERE ID = %2")
                    .arg(assignments.join(QStringLiteral(", ")))
                    .arg(itemRef));
    transaction.commit();
    return true;
}

std::vector<HistoryRestore::BroughtBack>
HistoryRestore::bringBack(const std::vector<qint64>& itemRefs) {
    Transaction transaction(ChangeSource::DeletedItems);
    Connection& con = transaction.con();
    std::vector<BroughtBack> done;
    for (const qint64 itemRef : itemRefs) {
        const std::shared_ptr<Recordset> deletion = con.Execute(
            QStringLiteral("SELECT Action, Fields, (SELECT count(*) FROM tblItems WHERE ID = %1) "
                           "FROM tblHistory WHERE What = 'Item' AND RowRef = %1 ORDER BY ID DESC "
                           "LIMIT 1")
                .arg(itemRef));
        if (deletion->isEmpty() || deletion->Field(0) != QLatin1String("deleted") ||
            deletion->Field(2) != QLatin1String("0")) {
            continue; // brought back already, or never deleted
        }
        const std::vector<HistoryFields::Field> fields = parsed(deletion->Field(1));
        BroughtBack item;
        item.itemRef = itemRef;
        item.itemId = HistoryFields::valueOf(fields, QStringLiteral("ItemID")).toString();
        if (!con.Execute(QStringLiteral("SELECT 1 FROM tblItems WHERE ItemID = %1")
                             .arg(HistoryFields::literal(item.itemId)))
                 ->isEmpty()) {
            item.formerId = item.itemId;
            item.itemId = freeItemId(con);
        }
        QStringList values{QString::number(itemRef)};
        for (const QString& field : kItemFields) {
            values << HistoryFields::literal(field == QLatin1String("ItemID")
                                                 ? QVariant(item.itemId)
                                                 : HistoryFields::valueOf(fields, field));
        }
        values << HistoryFields::literal(HistoryFields::valueOf(fields, QStringLiteral("AddDate")))
               << QStringLiteral("'%1'").arg(sqlNow());
        con.Execute(QStringLiteral("INSERT INTO tblItems (ID, %1, AddDate, ModDate) VALUES (%2)")
                        .arg(kItemFields.join(QLatin1Char(',')), values.join(QLatin1Char(','))));
        item.attachments = bringBackEvidence(con, itemRef);
        done.push_back(item);
    }
    transaction.commit();
    return done;
}

void HistoryRestore::recordRestore(sqlite3* db, const QString& fileName) {
    QString name = QFileInfo(fileName).fileName();
    QString source = ChangeSource::effective(ChangeSource::Restore);
    name.replace(QLatin1Char('\''), QLatin1String("''"));
    source.replace(QLatin1Char('\''), QLatin1String("''"));
    const QByteArray sql =
        statementUtf8(QStringLiteral("INSERT INTO tblHistory (ChangeDate, What, RowRef, Action, "
                                     "Source, Fields) VALUES ('%1', 'Inventory', 0, 'restored', "
                                     "'%2', 'File=' || quote('%3') || char(10))")
                          .arg(sqlNow(), source, name));
    char* message = nullptr;
    if (sqlite3_exec(db, sql.constData(), nullptr, nullptr, &message) != SQLITE_OK) {
        const QString text = QString::fromUtf8(message != nullptr ? message : "");
        sqlite3_free(message);
        throw Error(sqlite3_extended_errcode(db), text);
    }
}

} // namespace Riri
