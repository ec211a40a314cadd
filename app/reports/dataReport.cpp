#include "reports/dataReport.h"

#include "shared/modGlobal.h"

#include <Riri/ComponentFolder.h>
#include <Riri/Error.h>
#include <Riri/ErrorNumbers.h>
#include <Riri/InstallPaths.h>

#include <utility>

std::unique_ptr<DataReport> dataReport;

const QString DataReport::kItemTotalSql =
    QStringLiteral("SELECT * FROM tblItems ORDER BY RoomName");

GroupedRecordset::GroupedRecordset(QString groupField, QString childName, std::vector<Row> rows)
    : m_groupField(std::move(groupField)), m_childName(std::move(childName)),
      m_rows(std::move(rows)) {}

QString GroupedRecordset::Field(const QString& column) const {
    if (IsEOF() || column.compare(m_groupField, Qt::CaseInsensitive) != 0) {
        return QString();
    }
    return m_rows[static_cast<size_t>(m_position)].key;
}

std::shared_ptr<Riri::Recordset> GroupedRecordset::child(const QString& name) const {
    if (IsEOF() || name.compare(m_childName, Qt::CaseInsensitive) != 0) {
        return nullptr;
    }
    return m_rows[static_cast<size_t>(m_position)].child;
}

bool GroupedRecordset::Close() {
    if (!m_open) {
        return false;
    }
    m_open = false;
    for (Row& row : m_rows) {
        if (row.child) {
            row.child->Close();
        }
    }
    m_rows.clear();
    return true;
}

DataReport::DataReport() = default;

// The connection closes itself when it goes.
DataReport::~DataReport() = default;

QString DataReport::databasePath() {
    return Riri::InstallPaths::databasePath(Riri::componentFolder());
}

// Each amount is taken to whole cents before it is added: rounded half away
// from zero, after a nudge of half a millionth of a cent that lets an amount
// stored as the binary value just below a half cent (2.675) round as its own
// decimal digits do, as the item lists show it.
const QString DataReport::kValuationSummarySql = QStringLiteral(
    "SELECT RoomName, COUNT(*) AS ItemCount, "
    "SUM(CAST(ROUND(Cost * 100 + (CASE WHEN Cost < 0 THEN -5e-7 ELSE 5e-7 END)) AS INTEGER)) "
    "AS CostCents, "
    "SUM(CAST(ROUND(CurValue * 100 + (CASE WHEN CurValue < 0 THEN -5e-7 ELSE 5e-7 END)) "
    "AS INTEGER)) AS ValueCents "
    "FROM tblItems GROUP BY RoomName ORDER BY RoomName");

const QString DataReport::kOwnerSql = QStringLiteral("SELECT * FROM tblOwner");

std::shared_ptr<Riri::Recordset> DataReport::readItems(const Riri::Progress& progress) {
    return read({kItemTotalSql}, progress).front();
}

std::vector<std::shared_ptr<Riri::Recordset>> DataReport::read(const QStringList& statements,
                                                               const Riri::Progress& progress) {
    // The connection is opened for each run and closed once the rows are
    // read: the snapshot is detached, no lock is held while a preview is open,
    // and a database file replaced or moved since the last run is never read
    // through a stale handle.
    if (conReport.isOpen()) {
        conReport.Close();
    }
    conReport.setConnectionString(Riri::InstallPaths::connectionString(
        databasePath(), Riri::InstallPaths::UserField::Omitted));
    conReport.Open();
    std::vector<std::shared_ptr<Riri::Recordset>> sets;
    try {
        // The whole is the number of items, counted only for someone who
        // follows the progress; a row added meanwhile does not pass it.
        qint64 total = 0;
        if (progress) {
            total = conReport.Execute(QStringLiteral("SELECT count(*) FROM tblItems"))
                        ->Field(0)
                        .toLongLong();
        }
        const Riri::Progress rows = [&progress, total](qint64 done, qint64) {
            return Riri::goOn(progress, qMin(done, total), total);
        };
        for (const QString& statement : statements) {
            sets.push_back(conReport.Execute(statement, nullptr, rows));
        }
        if (!Riri::goOn(progress, total, total)) {
            throw Riri::Error(Riri::ErrorNumber::Cancelled,
                              QStringLiteral("The reading was cancelled."));
        }
    } catch (const Riri::Error&) {
        conReport.Close();
        throw;
    }
    conReport.Close();
    return sets;
}

void DataReport::cmdValuationSummary(const Riri::Progress& progress) {
    rscmdValuationSummary.reset();
    rscmdOwner.reset();
    std::vector<std::shared_ptr<Riri::Recordset>> sets =
        read({kValuationSummarySql, kOwnerSql}, progress);
    rscmdValuationSummary = std::move(sets[0]);
    rscmdOwner = std::move(sets[1]);
}

void DataReport::cmdItemTotal(const Riri::Progress& progress) {
    rscmdItemTotal.reset();
    rscmdItemTotal = readItems(progress);
}

void DataReport::cmdRoomTotal_Grouping(const Riri::Progress& progress) {
    rscmdRoomTotal_Grouping.reset();
    rscmdRoomTotal_Grouping = byRoom(*readItems(progress), QStringLiteral("cmdRoomTotal"));
}

std::shared_ptr<GroupedRecordset> DataReport::byRoom(Riri::Recordset& all,
                                                     const QString& childName) {
    const QStringList& columns = all.columns();
    const int room = all.columnIndex(QStringLiteral("RoomName"));
    const int columnCount = static_cast<int>(columns.size());

    // The rows arrive ordered by room; each run of equal rooms is one group.
    std::vector<GroupedRecordset::Row> groups;
    for (all.MoveFirst(); !all.IsEOF(); all.MoveNext()) {
        const bool isNull = all.isNull(room);
        const QString key = all.Field(room);
        if (groups.empty() || groups.back().keyIsNull != isNull || groups.back().key != key) {
            groups.push_back(
                GroupedRecordset::Row{key, isNull, std::make_shared<Riri::Recordset>(columns)});
        }
        Riri::Recordset& child = *groups.back().child;
        for (int c = 0; c < columnCount; ++c) {
            const QString value = all.Field(c);
            child.appendCell(reinterpret_cast<const char16_t*>(value.utf16()), value.size(),
                             all.isNull(c));
        }
    }
    return std::make_shared<GroupedRecordset>(QStringLiteral("RoomName"), childName,
                                              std::move(groups));
}

// Amounts to whole cents as kValuationSummarySql takes them; the photo
// column names the item whose first photo's thumbnail the report shows.
const QString DataReport::kPhotoInventorySql = QStringLiteral(
    "SELECT i.ItemID, i.ItemName, i.SN, i.Model, i.RoomName, i.Cost, i.CurValue, i.BuyDate, "
    "i.AccquiredFrom, CASE WHEN EXISTS (SELECT 1 FROM tblEvidence e WHERE e.ItemRef = i.ID AND "
    "e.Kind = 'Photo') THEN i.ID END AS PhotoRef, "
    "CAST(ROUND(coalesce(i.Cost, 0) * 100 + (CASE WHEN i.Cost < 0 THEN -5e-7 ELSE 5e-7 END)) "
    "AS INTEGER) AS CostCents, "
    "CAST(ROUND(coalesce(i.CurValue, 0) * 100 + (CASE WHEN i.CurValue < 0 THEN -5e-7 ELSE 5e-7 "
    "END)) AS INTEGER) AS ValueCents "
    "FROM tblItems i ORDER BY i.RoomName, i.ItemID");

void DataReport::cmdPhotoInventory(const Riri::Progress& progress) {
    rscmdPhotoInventory.reset();
    rscmdOwner.reset();
    std::vector<std::shared_ptr<Riri::Recordset>> sets =
        read({kPhotoInventorySql, kOwnerSql}, progress);
    rscmdPhotoInventory = byRoom(*sets[0], QStringLiteral("cmdPhotoInventory"));
    rscmdOwner = std::move(sets[1]);
}

DataReport& dataReportInstance() {
    if (!dataReport) {
        dataReport = std::make_unique<DataReport>();
        // The end of the program closes the report connection.
        static const bool registered = [] {
            onEndProgram(releaseDataReport);
            return true;
        }();
        Q_UNUSED(registered);
    }
    return *dataReport;
}

void releaseDataReport() {
    dataReport.reset();
}
