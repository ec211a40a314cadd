#include "HistoryCleanUp.h"

#include "AutoBackups.h"
#include "Error.h"
#include "ErrorNumbers.h"
#include "InventoryConnection.h"

namespace Riri {

namespace {

QString olderThan(const QDate& before) {
    return QStringLiteral("ChangeDate < '%1'").arg(before.toString(Qt::ISODate));
}

} // namespace

qint64 HistoryCleanUp::countBefore(const QDate& before) {
    Connection con;
    openInventoryConnection(con, true);
    const std::shared_ptr<Recordset> rows = con.Execute(
        QStringLiteral("SELECT count(*) FROM tblHistory WHERE %1").arg(olderThan(before)));
    con.Close();
    return rows->Field(0).toLongLong();
}

QString HistoryCleanUp::removeBefore(const QDate& before, qint64* removed) {
    const QString copy = AutoBackups::make(AutoBackups::Kind::BeforeHistoryCleanUp);
    if (copy.isEmpty()) {
        throw Error(ErrorNumber::PathFileAccess,
                    QStringLiteral("The automatic copy of the inventory could not be made; no "
                                   "history was removed."));
    }
    Connection con;
    openInventoryConnection(con, false);
    con.Execute(QStringLiteral("BEGIN IMMEDIATE"));
    con.requireWritable();
    qint64 count = 0;
    con.Execute(QStringLiteral("DELETE FROM tblHistory WHERE %1").arg(olderThan(before)), &count);
    con.CommitTrans();
    con.Close();
    if (removed != nullptr) {
        *removed = count;
    }
    return copy;
}

} // namespace Riri
