#include "dllHome.h"

#include "ComponentFolder.h"
#include "Error.h"
#include "ErrorNumbers.h"
#include "Formats.h"
#include "InstallPaths.h"
#include "MsgBox.h"

#include <functional>

namespace Riri {

namespace {

const QString kCaption = QStringLiteral("Riri");

QString quoted(const QString& text) {
    return QLatin1Char('\'') + text + QLatin1Char('\'');
}

// Identifiers are not cleaned, but their quotes are doubled on a copy so that
// no stored text can change a statement, and NUL characters are dropped as
// Clean drops them (SQLite reads a statement only up to the first one).
QString quotedId(const QString& id) {
    QString copy = id;
    copy.remove(QChar(u'\0'));
    return quoted(copy.replace(QLatin1Char('\''), QLatin1String("''")));
}

QString& element(QStringList& list, qsizetype index) {
    if (index >= list.size()) {
        throw Error(ErrorNumber::SubscriptOutOfRange, QStringLiteral("Subscript out of range"));
    }
    return list[index];
}

double amount(const std::vector<double>& list, size_t index) {
    if (index >= list.size()) {
        throw Error(ErrorNumber::SubscriptOutOfRange, QStringLiteral("Subscript out of range"));
    }
    return list[index];
}

} // namespace

dllHome::WriterFacts dllHome::factsOf(Writer writer) {
    using Source = ErrorLog::ComponentSource;
    switch (writer) {
    case Writer::AddOwner:
        return {Source::AddOwner, "AddOwner"};
    case Writer::AddItems:
        return {Source::AddItems, "AddItems"};
    case Writer::UpdateItems:
        return {Source::UpdateItems, "UpdateItems"};
    case Writer::UpdateOwner:
        return {Source::UpdateOwner, "UpdateOwner"};
    case Writer::DeleteItem:
        return {Source::DeleteItem, "DeleteItem"};
    }
    return {Source::DeleteItem, "DeleteItem"}; // not reached: every writer is listed
}

QString dllHome::failureMessage(int number, const QString& description, const QString& function) {
    return QStringLiteral("ERROR # ") + QString::number(number) + QStringLiteral("\r\n\r\n") +
           description + QStringLiteral("\r\nIn the Dynamic Link Library\r\nFunction: ") + function;
}

QString dllHome::deleteQuestion() {
    return QStringLiteral("Delete this Item Record?\r\n\r\nOnce deleted it can't be recovered!");
}

QString dllHome::creationFailureMessage() {
    return QStringLiteral("The database cannot be found!  If the database has been \r\n"
                          "moved it must be relocated back to the original folder! ");
}

dllHome::dllHome() {
    try {
        const QString folder = componentFolder();
        if (folder.isEmpty()) {
            throw Error(ErrorNumber::CannotOpen,
                        QStringLiteral("The folder of the component cannot be found"));
        }
        strConnect = InstallPaths::connectionString(InstallPaths::databasePath(folder));
        conDataBase = std::make_shared<Connection>();
        conDataBase->setConnectionString(strConnect);
        conDataBase->clearErrors();
    } catch (const Error& e) {
        if (conDataBase) {
            conDataBase->clearErrors();
            conDataBase.reset();
        }
        MsgBox(creationFailureMessage(), vbCritical | vbOKOnly, kCaption);
        // A log that cannot be written raises the error to the creator.
        ErrorLog::appendComponentBlock(logPath(), ErrorLog::ComponentSource::Creation, e.number(),
                                       e.description());
    }
}

dllHome::~dllHome() {
    if (conDataBase) {
        conDataBase->clearErrors();
    }
}

QString dllHome::logPath() const {
    const QString folder = componentFolder();
    if (folder.isEmpty()) {
        // Without the installation folder there is no place for the log.
        throw Error(ErrorNumber::PathFileAccess, QStringLiteral("Path/File access error"));
    }
    return InstallPaths::logPath(folder);
}

Connection& dllHome::connection() {
    if (!conDataBase) {
        throw Error(ErrorNumber::ObjectNotSet,
                    QStringLiteral("Object variable or With block variable not set"));
    }
    return *conDataBase;
}

void dllHome::closeQuietly() noexcept {
    if (!conDataBase || !conDataBase->isOpen()) {
        return;
    }
    try {
        if (conDataBase->inTransaction()) {
            conDataBase->RollbackTrans();
        }
    } catch (const Error&) {
    }
    try {
        conDataBase->Close();
    } catch (const Error&) {
    }
}

QString dllHome::Clean(QString& strText) {
    strText.replace(QLatin1Char('\''), QLatin1String("''"));
    strText.remove(QChar(u'\0'));
    return trimBlanks(strText);
}

// ---- writers ---------------------------------------------------------------

bool dllHome::runWriter(Writer writer, const std::function<QString()>& buildStatement,
                        const std::function<bool()>& confirm) {
    try {
        Connection& con = connection();
        con.Open();
        con.BeginTrans();
        con.requireWritable();
        const QString statement = buildStatement();
        qint64 changed = 0;
        con.Execute(statement, &changed);
        const bool unchanged =
            (writer == Writer::UpdateItems || writer == Writer::UpdateOwner) && changed == 0;
        // No row carries the identifier, or there is no owner row: nothing
        // was stored. Or the user, asked inside the open transaction, keeps
        // the record.
        if (unchanged || (confirm && !confirm())) {
            con.RollbackTrans();
            con.Close();
            return false;
        }
        con.CommitTrans();
        con.Close();
        return true;
    } catch (const Error& e) {
        return writerFailed(writer, e);
    }
}

bool dllHome::writerFailed(Writer writer, const Error& error) {
    const WriterFacts facts = factsOf(writer);
    try {
        Connection& con = connection();
        if (!con.isOpen()) {
            // The open failed: there is no transaction to roll back, and the
            // open's own failure (SQLite's code and message) is what reaches
            // the caller.
            throw error;
        }
        con.RollbackTrans();
        con.Close();
    } catch (const Error&) {
        // The failure path itself failed: the error goes to the caller, and
        // no connection is left open.
        closeQuietly();
        throw;
    }
    ErrorLog::appendComponentBlock(logPath(), facts.logSource, error.number(), error.description());
    strFunction = QString::fromLatin1(facts.name);
    MsgBox(failureMessage(error.number(), error.description(), strFunction), vbCritical | vbOKOnly,
           kCaption);
    if (conDataBase) {
        conDataBase->clearErrors();
    }
    return false;
}

bool dllHome::AddItems(QStringList& strText, std::vector<double>& sngMoney, QDateTime& datDate) {
    return runWriter(Writer::AddItems, [&] {
        QString s = QStringLiteral("INSERT INTO tblItems (ItemID,ItemName,SN,Model,RoomName,") +
                    QStringLiteral("Cost,CurValue,BuyDate,AccquiredFrom,") +
                    QStringLiteral("Description,Notes,AddDate) VALUES (");
        s += quotedId(element(strText, 0)) + QLatin1Char(',');
        for (int i = 1; i <= 4; ++i) {
            s += quoted(Clean(element(strText, i))) + QLatin1Char(',');
        }
        s += sqlNumber(amount(sngMoney, 0)) + QLatin1Char(',');
        s += sqlNumber(amount(sngMoney, 1)) + QLatin1Char(',');
        s += quoted(sqlDate(datDate)) + QLatin1Char(',');
        for (int i = 5; i <= 7; ++i) {
            s += quoted(Clean(element(strText, i))) + QLatin1Char(',');
        }
        s += quoted(sqlNow()) + QStringLiteral(");");
        return s;
    });
}

bool dllHome::UpdateItems(QStringList& strText, std::vector<double>& sngMoney, QDateTime& datDate) {
    return runWriter(Writer::UpdateItems, [&] {
        QString s = QStringLiteral("UPDATE tblItems SET ");
        s += QStringLiteral("ItemName = '") + Clean(element(strText, 1)) + QStringLiteral("',");
        s += QStringLiteral("SN = '") + Clean(element(strText, 2)) + QStringLiteral("',");
        s += QStringLiteral("Model = '") + Clean(element(strText, 3)) + QStringLiteral("',");
        s += QStringLiteral("RoomName = '") + Clean(element(strText, 4)) + QStringLiteral("',");
        s += QStringLiteral("Cost = ") + sqlNumber(amount(sngMoney, 0)) + QLatin1Char(',');
        s += QStringLiteral("CurValue = ") + sqlNumber(amount(sngMoney, 1)) + QLatin1Char(',');
        s += QStringLiteral("BuyDate = '") + sqlDate(datDate) + QStringLiteral("',");
        s +=
            QStringLiteral("AccquiredFrom = '") + Clean(element(strText, 5)) + QStringLiteral("',");
        s += QStringLiteral("Description = '") + Clean(element(strText, 6)) + QStringLiteral("',");
        s += QStringLiteral("Notes = '") + Clean(element(strText, 7)) + QStringLiteral("',");
        s += QStringLiteral("ModDate = '") + sqlNow() + QStringLiteral("' WHERE ");
        s += QStringLiteral("ItemID = ") + quotedId(element(strText, 0)) + QStringLiteral(";");
        return s;
    });
}

bool dllHome::AddOwner(QStringList& strText) {
    return runWriter(Writer::AddOwner, [&] {
        QString s =
            QStringLiteral("INSERT INTO tblOwner (OwnerID,LName,FName,MName,FullName,Address,") +
            QStringLiteral("City,State,Zip,AddDate) VALUES (");
        s += quotedId(element(strText, 8)) + QLatin1Char(',');
        for (int i : {0, 1, 2, 7, 3, 4, 5, 6}) {
            s += quoted(Clean(element(strText, i))) + QLatin1Char(',');
        }
        s += quoted(sqlNow()) + QStringLiteral(");");
        return s;
    });
}

bool dllHome::UpdateOwner(QStringList& strText) {
    return runWriter(Writer::UpdateOwner, [&] {
        QString s = QStringLiteral("UPDATE tblOwner SET ");
        s += QStringLiteral("LName = '") + Clean(element(strText, 0)) + QStringLiteral("',");
        s += QStringLiteral("FName = '") + Clean(element(strText, 1)) + QStringLiteral("',");
        s += QStringLiteral("MName = '") + Clean(element(strText, 2)) + QStringLiteral("',");
        s += QStringLiteral("FullName = '") + Clean(element(strText, 7)) + QStringLiteral("',");
        s += QStringLiteral("Address = '") + Clean(element(strText, 3)) + QStringLiteral("',");
        s += QStringLiteral("City = '") + Clean(element(strText, 4)) + QStringLiteral("',");
        s += QStringLiteral("State = '") + Clean(element(strText, 5)) + QStringLiteral("',");
        s += QStringLiteral("Zip = '") + Clean(element(strText, 6)) + QStringLiteral("',");
        s += QStringLiteral("ModDate = '") + sqlNow() + QStringLiteral("';");
        return s;
    });
}

bool dllHome::DeleteItem(QString& strID) {
    return runWriter(
        Writer::DeleteItem,
        [&] {
            return QStringLiteral("DELETE FROM tblItems WHERE ItemID = ") + quotedId(strID) +
                   QStringLiteral(";");
        },
        [] {
            // The row is gone inside the open transaction while the user
            // decides; No rolls it back.
            return MsgBox(deleteQuestion(), vbQuestion | vbYesNo | vbDefaultButton2,
                          QStringLiteral("** WARNING **")) != vbNo;
        });
}

// ---- readers ---------------------------------------------------------------

std::shared_ptr<Recordset> dllHome::readSkippingFailures(const QString& statement) {
    std::shared_ptr<Recordset> result;
    if (!conDataBase) {
        return result;
    }
    Connection& con = *conDataBase;
    const auto attempt = [](const auto& step) {
        try {
            step();
        } catch (const Error&) {
        }
    };
    try {
        con.Open();
    } catch (const Error&) {
        // Every later step would fail for want of an open connection; the
        // connection keeps the open's own failure as its last error.
        return result;
    }
    attempt([&] { con.BeginTrans(); });
    attempt([&] { result = con.Execute(statement); });
    attempt([&] { con.CommitTrans(); });
    attempt([&] { con.Close(); });
    return result;
}

std::shared_ptr<Recordset> dllHome::readRaisingFailures(const QString& statement) {
    Connection& con = connection();
    try {
        con.Open();
        con.BeginTrans();
        std::shared_ptr<Recordset> result = con.Execute(statement);
        con.CommitTrans();
        con.Close();
        con.clearErrors();
        return result;
    } catch (const Error&) {
        // The next operation must start from a closed connection.
        closeQuietly();
        throw;
    }
}

std::shared_ptr<Recordset> dllHome::GetNewItemID() {
    std::shared_ptr<Recordset> result;
    try {
        Connection& con = connection();
        con.Open();
        con.BeginTrans();
        result = con.Execute(QStringLiteral("SELECT MAX(ID) AS [NewItemID] FROM tblItems"));
        con.CommitTrans();
        con.Close();
        return result;
    } catch (const Error& e) {
        try {
            Connection& con = connection();
            if (!con.isOpen()) {
                throw; // the open failed: its own error, not the rollback's
            }
            con.RollbackTrans();
            if (!result) {
                throw; // the statement itself failed: nothing to return
            }
            con.Close();
        } catch (const Error&) {
            closeQuietly();
            throw;
        }
        strFunction = QStringLiteral("GetNewItemID");
        MsgBox(failureMessage(e.number(), e.description(), strFunction), vbCritical | vbOKOnly,
               kCaption);
        conDataBase->clearErrors();
        return result;
    }
}

std::shared_ptr<Recordset> dllHome::LoadItems() {
    return readSkippingFailures(QStringLiteral("SELECT * FROM tblItems;"));
}

std::shared_ptr<Recordset> dllHome::LoadOwner() {
    return readRaisingFailures(QStringLiteral("SELECT * FROM tblOwner;"));
}

std::shared_ptr<Recordset> dllHome::LoadEditItem() {
    return readRaisingFailures(QStringLiteral("SELECT * FROM tblItems;"));
}

// Long lists are read in short transactions rather than with the database in
// write-ahead-log mode: the file keeps its rollback journal, so copies,
// restores and read-only opens work on it unchanged, and on every file system
// (the log needs shared memory, which network folders lack). A batch takes its
// read lock only while it runs; a writer waits for one batch at most. Rows
// are read by ranges of the ID key, so a batch starts where the last one
// ended even when rows were added or deleted in between; the list that reads
// them is brought up to date by the inventory notice after such a write.
std::shared_ptr<Recordset> dllHome::LoadItemsAfter(qint64 afterId, int rows) {
    return readSkippingFailures(
        QStringLiteral("SELECT * FROM tblItems WHERE ID > %1 ORDER BY ID LIMIT %2;")
            .arg(afterId)
            .arg(rows));
}

// A range of the index on (ItemRef, ID) rather than a count per item: the
// items that have no evidence, most of them, cost nothing, and no row of the
// table (each with its thumbnail) is read.
std::shared_ptr<Recordset> dllHome::LoadEvidenceCounts(qint64 afterId, qint64 lastId) {
    return readSkippingFailures(
        QStringLiteral("SELECT ItemRef, count(*) AS [Attachments] FROM tblEvidence WHERE ItemRef "
                       "> %1 AND ItemRef <= %2 GROUP BY ItemRef ORDER BY ItemRef;")
            .arg(afterId)
            .arg(lastId));
}

std::shared_ptr<Recordset> dllHome::LoadEvidenceDetails() {
    return readSkippingFailures(QStringLiteral(
        "SELECT ItemRef, sum(Kind = 'Photo') AS [Photos], group_concat(NULLIF(Caption, ''), "
        "char(10)) AS [Captions] FROM tblEvidence GROUP BY ItemRef HAVING [Photos] > 0 OR "
        "[Captions] IS NOT NULL ORDER BY ItemRef;"));
}

qint64 dllHome::CountItems() {
    const std::shared_ptr<Recordset> count =
        readSkippingFailures(QStringLiteral("SELECT count(*) AS [Items] FROM tblItems;"));
    if (!count || count->rowCount() != 1) {
        return -1;
    }
    bool ok = false;
    const qint64 items = count->fieldAt(0, 0).toLongLong(&ok);
    return ok ? items : -1;
}

int dllHome::HasItem(const QString& itemId) {
    const std::shared_ptr<Recordset> found = readSkippingFailures(
        QStringLiteral("SELECT count(*) AS [Found] FROM (SELECT 1 FROM tblItems WHERE ItemID = ") +
        quotedId(itemId) + QStringLiteral(" LIMIT 1);"));
    if (!found || found->rowCount() != 1) {
        return -1;
    }
    return found->fieldAt(0, 0).toLongLong() > 0 ? 1 : 0;
}

std::shared_ptr<Recordset> dllHome::RefreshItems() {
    return readSkippingFailures(QStringLiteral("SELECT ItemID FROM tblItems;"));
}

std::shared_ptr<Recordset> dllHome::RefreshOwner() {
    return readSkippingFailures(QStringLiteral("SELECT OwnerID FROM tblOwner;"));
}

} // namespace Riri
