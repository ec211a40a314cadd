#pragma once

#include "Connection.h"
#include "Error.h"
#include "ErrorLog.h"
#include "Recordset.h"
#include "RiriExport.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

namespace Riri {

// Every read and write of the inventory database made for the windows. An
// object keeps no open connection between calls: each operation opens the
// file, runs one transaction and closes it again. Readers return detached
// record sets; writers return true when the change is stored.
class RIRI_EXPORT dllHome {
public:
    dllHome();
    ~dllHome();
    dllHome(const dllHome&) = delete;
    dllHome& operator=(const dllHome&) = delete;

    // Public fields, as callers may read and replace them.
    std::shared_ptr<Connection> conDataBase;
    QString strFunction;
    QString strConnect;

    // Writers. Arrays are taken by reference; the texts are cleaned in place.
    // strText: ItemID, ItemName, SN, Model, RoomName, AccquiredFrom,
    // Description, Notes; sngMoney: Cost, CurValue; datDate: BuyDate.
    bool AddItems(QStringList& strText, std::vector<double>& sngMoney, QDateTime& datDate);
    bool UpdateItems(QStringList& strText, std::vector<double>& sngMoney, QDateTime& datDate);
    // strText: LName, FName, MName, Address, City, State, Zip, fullName and,
    // for adding, OwnerID.
    bool AddOwner(QStringList& strText);
    bool UpdateOwner(QStringList& strText);
    // Deletes inside a transaction, then asks the user; No rolls back.
    bool DeleteItem(QString& strID);

    // Readers.
    std::shared_ptr<Recordset> GetNewItemID();
    std::shared_ptr<Recordset> LoadItems();
    std::shared_ptr<Recordset> LoadOwner();
    std::shared_ptr<Recordset> LoadEditItem();
    std::shared_ptr<Recordset> RefreshItems();
    std::shared_ptr<Recordset> RefreshOwner();
    // Up to `rows` item records whose ID lies above `afterId`, in ID order:
    // one batch of a long list read piece by piece. Each batch is read in a
    // transaction of its own, so a writer waits at most for one batch, never
    // for the whole list. No set when the database cannot be read.
    std::shared_ptr<Recordset> LoadItemsAfter(qint64 afterId, int rows);
    // The number of attachments of the items whose ID lies above afterId and
    // at most at lastId (the ID range of one batch of LoadItemsAfter), read
    // from the evidence index alone: one row per item that has any, in ID
    // order, with the columns ItemRef and Attachments. No set when the
    // database cannot be read or holds no evidence table.
    std::shared_ptr<Recordset> LoadEvidenceCounts(qint64 afterId, qint64 lastId);
    // What a search needs of the evidence beyond its counts, which takes a
    // read of every attachment row: one row per item that has a photo or a
    // caption, in ID order, with the columns ItemRef, Photos (its
    // attachments of the kind Photo) and Captions (its captions that are not
    // empty, one per line). No set when the database cannot be read.
    std::shared_ptr<Recordset> LoadEvidenceDetails();
    // The number of item records, or -1 when the database cannot be read.
    qint64 CountItems();
    // Whether an item record has this ItemID: 1 when one has, 0 when none
    // has, -1 when the database cannot be read. Reads one row at most.
    int HasItem(const QString& itemId);

    // Doubles every single quote, removes NUL characters and returns the text
    // without leading and trailing blanks; strText keeps the doubled quotes,
    // untrimmed.
    QString Clean(QString& strText);

    // The texts of the component's own messages.
    static QString failureMessage(int number, const QString& description, const QString& function);
    static QString deleteQuestion();
    static QString creationFailureMessage();

private:
    enum class Writer { AddOwner, AddItems, UpdateItems, UpdateOwner, DeleteItem };
    // What a writer's failure path names: the source line of its log block
    // and its name in strFunction and the message.
    struct WriterFacts {
        ErrorLog::ComponentSource logSource;
        const char* name;
    };
    static WriterFacts factsOf(Writer writer);

    QString logPath() const;
    Connection& connection();
    void closeQuietly() noexcept;
    // Opens, runs the statement in one transaction and commits. An update
    // that changed no row, or a confirm hook that answers false after the
    // statement ran, rolls back and gives false.
    bool runWriter(Writer writer, const std::function<QString()>& buildStatement,
                   const std::function<bool()>& confirm = {});
    bool writerFailed(Writer writer, const Error& error);
    std::shared_ptr<Recordset> readSkippingFailures(const QString& statement);
    std::shared_ptr<Recordset> readRaisingFailures(const QString& statement);
};

} // namespace Riri
