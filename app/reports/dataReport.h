#pragma once

#include <Riri/Connection.h>
#include <Riri/Progress.h>
#include <Riri/Recordset.h>

#include <QString>
#include <memory>
#include <vector>

// A grouped record set: one row per distinct value of the grouping field, in
// ascending order, each with the child record set of its rows.
class GroupedRecordset {
public:
    struct Row {
        QString key;
        bool keyIsNull = false;
        std::shared_ptr<Riri::Recordset> child;
    };

    GroupedRecordset(QString groupField, QString childName, std::vector<Row> rows);

    // Navigation as in a plain record set: starts on the first row.
    void MoveFirst() { m_position = 0; }
    void MoveNext() {
        if (m_position < rowCount()) {
            ++m_position;
        }
    }
    bool IsEOF() const { return !m_open || m_position >= rowCount(); }
    // The grouping field's value of the current row.
    QString Field(const QString& column) const;
    // The current row's child record set, by its name.
    std::shared_ptr<Riri::Recordset> child(const QString& name) const;

    const std::vector<Row>& rows() const { return m_rows; }
    qsizetype rowCount() const { return m_open ? static_cast<qsizetype>(m_rows.size()) : 0; }

    bool Close();
    bool isOpen() const { return m_open; }

private:
    QString m_groupField;
    QString m_childName;
    std::vector<Row> m_rows;
    qsizetype m_position = 0;
    bool m_open = true;
};

// The reports' data source: a connection of its own to the inventory database
// and the three commands the reports are bound to. Every command opens the
// connection, reads the database afresh into a detached record set and
// closes the connection again. A command's progress counts the items read of
// all there are; when it asks to stop, the command throws Riri::Error with
// ErrorNumber::Cancelled and keeps no rows.
class DataReport {
public:
    DataReport();
    ~DataReport();
    DataReport(const DataReport&) = delete;
    DataReport& operator=(const DataReport&) = delete;

    // The database file: home/inv.inv below the component's folder (the data
    // folder of the layout), the same file the component uses.
    static QString databasePath();

    // "SELECT * FROM tblItems ORDER BY RoomName" into rscmdItemTotal.
    // Throws Riri::Error when the database cannot be read.
    void cmdItemTotal(const Riri::Progress& progress = {});
    // The same rows grouped by RoomName, one group per room in ascending
    // order, each with its rows as child "cmdRoomTotal", into
    // rscmdRoomTotal_Grouping. Throws Riri::Error when the database cannot be read.
    void cmdRoomTotal_Grouping(const Riri::Progress& progress = {});

    // One row per room that holds items, in ascending room order, with the
    // columns RoomName, ItemCount, CostCents and ValueCents (the rooms' amounts
    // summed in whole cents), into rscmdValuationSummary; the owner record into
    // rscmdOwner. Throws Riri::Error when the database cannot be read.
    void cmdValuationSummary(const Riri::Progress& progress = {});

    // Every item by room for the photo inventory, grouped as
    // cmdRoomTotal_Grouping does, with the columns of kPhotoInventorySql
    // (PhotoRef: the item's tblItems.ID when it has a photo, else null;
    // CostCents and ValueCents: its amounts in whole cents), into
    // rscmdPhotoInventory; the owner record into rscmdOwner. Throws
    // Riri::Error when the database cannot be read.
    void cmdPhotoInventory(const Riri::Progress& progress = {});

    Riri::Connection conReport;
    std::shared_ptr<Riri::Recordset> rscmdItemTotal;
    std::shared_ptr<GroupedRecordset> rscmdRoomTotal_Grouping;
    std::shared_ptr<Riri::Recordset> rscmdValuationSummary;
    std::shared_ptr<Riri::Recordset> rscmdOwner;
    std::shared_ptr<GroupedRecordset> rscmdPhotoInventory;

    static const QString kItemTotalSql;
    static const QString kPhotoInventorySql;
    static const QString kValuationSummarySql;
    static const QString kOwnerSql;

private:
    std::shared_ptr<Riri::Recordset> readItems(const Riri::Progress& progress);
    // The rows, ordered by room, as one group per run of equal rooms.
    static std::shared_ptr<GroupedRecordset> byRoom(Riri::Recordset& all, const QString& childName);
    // Runs the statements on one opening of the connection; progress counts
    // the rows they give of the number of items.
    std::vector<std::shared_ptr<Riri::Recordset>> read(const QStringList& statements,
                                                       const Riri::Progress& progress);
};

// The program-wide data source, created on first use.
extern std::unique_ptr<DataReport> dataReport;
DataReport& dataReportInstance();

// Releases the data source and with it its connection. Record sets already
// handed to an open preview stay readable there.
void releaseDataReport();
