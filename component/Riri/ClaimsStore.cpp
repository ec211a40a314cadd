#include "ClaimsStore.h"

#include "Connection.h"
#include "CsvRecords.h"
#include "Error.h"
#include "ErrorNumbers.h"
#include "Formats.h"
#include "InventoryCopy.h"
#include "SqlStatement.h"
#include "WriteGate.h"

#include <sqlite3.h>
#include <string>

namespace Riri {

namespace {

// An item's amount, stored as REAL, in whole cents.
#define CENTS(column) "CAST(round(coalesce(" column ", 0) * 100) AS INTEGER)"

// The columns every item row of a claim reads, in ClaimItem's order.
constexpr char kItemColumns[] =
    "i.ID, i.ItemID, i.ItemName, i.SN, i.Model, i.RoomName, i.BuyDate, i.AccquiredFrom, "
    "i.Description, i.Notes, " CENTS("i.Cost") ", " CENTS(
        "i.CurValue") ", c.Status, "
                      "c.ReplacementCents, c.Note, "
                      "(SELECT count(*) FROM tblEvidence e WHERE e.ItemRef = i.ID AND e.Kind = "
                      "'Photo'), "
                      "(SELECT count(*) FROM tblEvidence e WHERE e.ItemRef = i.ID AND e.Kind = "
                      "'Receipt'), "
                      "(SELECT count(*) FROM tblEvidence e WHERE e.ItemRef = i.ID)";

// The totals of the claims' item rows, one row per claim.
constexpr char kTotals[] = "count(*), coalesce(sum(" CENTS("i.Cost") "), 0), coalesce(sum(" CENTS(
    "i.CurValue") "), 0), coalesce(sum(c.ReplacementCents), 0)";

#undef CENTS

using Statement = SqlStatement;

// A connection to the inventory with a transaction begun; rolled back
// unless committed.
class Session {
public:
    explicit Session(bool writing) {
        if (writing) {
            WriteGate::requireWritable();
        }
        m_con.setConnectionString(QStringLiteral("Data Source=") +
                                  connectionValue(InventoryCopy::databasePath()) +
                                  QLatin1Char(';'));
        m_con.setReadOnly(!writing);
        m_con.Open();
        if (writing) {
            m_con.requireWritable();
        }
        m_con.BeginTrans();
    }
    Connection& con() { return m_con; }
    void commit() { m_con.CommitTrans(); }

private:
    Connection m_con;
};

Claim readClaim(const Statement& s) {
    Claim c;
    c.id = s.number(0);
    c.eventDate = QDate::fromString(s.text(1), Qt::ISODate);
    c.eventKind = s.text(2);
    c.description = s.text(3);
    c.insurer = s.text(4);
    c.policyNumber = s.text(5);
    c.claimNumber = s.text(6);
    c.addDate = s.text(7);
    c.modDate = s.text(8);
    return c;
}

constexpr char kClaimColumns[] = "ID, EventDate, EventKind, Description, Insurer, PolicyNumber, "
                                 "ClaimNumber, AddDate, ModDate";

ClaimTotals readTotals(const Statement& s, int first) {
    return ClaimTotals{s.number(first), s.number(first + 1), s.number(first + 2),
                       s.number(first + 3)};
}

void touch(Connection& con, qint64 claimId) {
    Statement(con, "UPDATE tblClaims SET ModDate = ? WHERE ID = ?")
        .bind(sqlNow())
        .bind(claimId)
        .run();
}

void appendRow(std::string& out, const QStringList& fields) {
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0) {
            CsvRecords::appendSeparator(out);
        }
        const QByteArray bytes = fields.at(i).toUtf8();
        CsvRecords::appendField(out, std::string_view(bytes.constData(), bytes.size()));
    }
    CsvRecords::endRecord(out);
}

} // namespace

const QStringList& ClaimsStore::eventKinds() {
    static const QStringList kinds{QStringLiteral("Fire"), QStringLiteral("Theft"),
                                   QStringLiteral("Water"), QStringLiteral("Storm"),
                                   QStringLiteral("Other")};
    return kinds;
}

const QStringList& ClaimsStore::statuses() {
    static const QStringList statuses{QStringLiteral("Lost"), QStringLiteral("Damaged"),
                                      QStringLiteral("Stolen")};
    return statuses;
}

std::vector<ClaimSummary> ClaimsStore::claims() {
    Session session(false);
    Statement s(session.con(),
                std::string("SELECT k.ID, k.EventDate, k.EventKind, k.Description, k.Insurer, "
                            "k.PolicyNumber, k.ClaimNumber, k.AddDate, k.ModDate, "
                            "t.n, t.cost, t.value, t.replacement FROM tblClaims k LEFT JOIN "
                            "(SELECT c.ClaimRef AS ref, ") +
                    "count(*) AS n, coalesce(sum(CAST(round(coalesce(i.Cost, 0) * 100) AS "
                    "INTEGER)), 0) AS cost, coalesce(sum(CAST(round(coalesce(i.CurValue, 0) * "
                    "100) AS INTEGER)), 0) AS value, coalesce(sum(c.ReplacementCents), 0) AS "
                    "replacement FROM tblClaimItems c JOIN tblItems i ON i.ID = c.ItemRef GROUP "
                    "BY c.ClaimRef) t ON t.ref = k.ID ORDER BY coalesce(k.EventDate, '') DESC, "
                    "k.ID DESC");
    std::vector<ClaimSummary> result;
    while (s.step()) {
        result.push_back(ClaimSummary{readClaim(s), readTotals(s, 9)});
    }
    return result;
}

Claim ClaimsStore::claim(qint64 id) {
    Session session(false);
    Statement s(session.con(),
                std::string("SELECT ") + kClaimColumns + " FROM tblClaims WHERE ID = ?");
    s.bind(id);
    if (!s.step()) {
        throw Error(ErrorNumber::Unexpected, QStringLiteral("The claim is no longer there."));
    }
    return readClaim(s);
}

void ClaimsStore::save(Claim& claim) {
    Session session(true);
    const QString now = sqlNow();
    // The claim's fields and the date stamp, in the order both statements take them.
    const auto bindFields = [&claim, &now](Statement& s) -> Statement& {
        return s.bindDate(claim.eventDate)
            .bind(claim.eventKind)
            .bind(claim.description)
            .bind(claim.insurer)
            .bind(claim.policyNumber)
            .bind(claim.claimNumber)
            .bind(now);
    };
    if (claim.id == 0) {
        Statement s(session.con(),
                    "INSERT INTO tblClaims (EventDate, EventKind, Description, Insurer, "
                    "PolicyNumber, ClaimNumber, AddDate) VALUES (?, ?, ?, ?, ?, ?, ?)");
        bindFields(s).run();
        claim.id = sqlite3_last_insert_rowid(session.con().handle());
        claim.addDate = now;
    } else {
        Statement s(session.con(), "UPDATE tblClaims SET EventDate = ?, EventKind = ?, "
                                   "Description = ?, Insurer = ?, PolicyNumber = ?, "
                                   "ClaimNumber = ?, ModDate = ? WHERE ID = ?");
        bindFields(s).bind(claim.id).run();
        if (s.changes() == 0) {
            throw Error(ErrorNumber::Unexpected, QStringLiteral("The claim is no longer there."));
        }
        claim.modDate = now;
    }
    session.commit();
}

void ClaimsStore::remove(qint64 claimId) {
    Session session(true);
    Statement(session.con(), "DELETE FROM tblClaims WHERE ID = ?").bind(claimId).run();
    session.commit();
}

std::vector<ClaimItem> ClaimsStore::items(qint64 claimId) {
    Session session(false);
    Statement s(session.con(),
                std::string("SELECT ") + kItemColumns +
                    " FROM tblClaimItems c JOIN tblItems i ON i.ID = c.ItemRef WHERE c.ClaimRef = "
                    "? ORDER BY i.RoomName COLLATE NOCASE, i.ItemID COLLATE NOCASE, c.ID");
    s.bind(claimId);
    std::vector<ClaimItem> result;
    while (s.step()) {
        ClaimItem item;
        item.itemRef = s.number(0);
        item.itemId = s.text(1);
        item.itemName = s.text(2);
        item.serialNumber = s.text(3);
        item.model = s.text(4);
        item.room = s.text(5);
        item.buyDate = s.text(6);
        item.acquiredFrom = s.text(7);
        item.description = s.text(8);
        item.notes = s.text(9);
        item.costCents = s.number(10);
        item.valueCents = s.number(11);
        item.status = s.text(12);
        item.replacementCents = s.number(13);
        item.note = s.text(14);
        item.photos = static_cast<int>(s.number(15));
        item.receipts = static_cast<int>(s.number(16));
        item.evidence = static_cast<int>(s.number(17));
        result.push_back(std::move(item));
    }
    return result;
}

ClaimTotals ClaimsStore::totals(qint64 claimId) {
    Session session(false);
    Statement s(session.con(), std::string("SELECT ") + kTotals +
                                   " FROM tblClaimItems c JOIN tblItems i ON i.ID = c.ItemRef "
                                   "WHERE c.ClaimRef = ?");
    s.bind(claimId);
    s.step();
    return readTotals(s, 0);
}

namespace {

// Adds to a claim each item the condition on tblItems picks for one key;
// an item the claim lists already is left as it is. Returns how many were
// added.
template <class Key> int addEach(qint64 claimId, const QList<Key>& keys, const char* condition) {
    Session session(true);
    Statement s(session.con(),
                std::string("INSERT OR IGNORE INTO tblClaimItems (ClaimRef, ItemRef, "
                            "Status, ReplacementCents) SELECT ?, ID, 'Lost', "
                            "CAST(round(coalesce(CurValue, 0) * 100) AS INTEGER) "
                            "FROM tblItems WHERE ") +
                    condition);
    int added = 0;
    for (const Key& key : keys) {
        s.reset();
        s.bind(claimId).bind(key).run();
        added += s.changes();
    }
    if (added > 0) {
        touch(session.con(), claimId);
    }
    session.commit();
    return added;
}

} // namespace

int ClaimsStore::addItems(qint64 claimId, const QList<qint64>& itemRefs) {
    return addEach(claimId, itemRefs, "ID = ?");
}

int ClaimsStore::addItemIds(qint64 claimId, const QStringList& itemIds) {
    return addEach(claimId, QList<QString>(itemIds), "ItemID = ?");
}

int ClaimsStore::addRoom(qint64 claimId, const QString& room) {
    Session session(true);
    Statement s(session.con(),
                "INSERT OR IGNORE INTO tblClaimItems (ClaimRef, ItemRef, Status, "
                "ReplacementCents) SELECT ?, ID, 'Lost', CAST(round(coalesce(CurValue, 0) * 100) "
                "AS INTEGER) FROM tblItems WHERE coalesce(RoomName, '') = ? COLLATE NOCASE ORDER "
                "BY ID");
    s.bind(claimId).bind(room).run();
    const int added = s.changes();
    if (added > 0) {
        touch(session.con(), claimId);
    }
    session.commit();
    return added;
}

void ClaimsStore::updateItem(qint64 claimId, qint64 itemRef, const QString& status,
                             qint64 replacementCents, const QString& note) {
    Session session(true);
    Statement(session.con(), "UPDATE tblClaimItems SET Status = ?, ReplacementCents = ?, Note = ? "
                             "WHERE ClaimRef = ? AND ItemRef = ?")
        .bind(status)
        .bind(replacementCents)
        .bind(note)
        .bind(claimId)
        .bind(itemRef)
        .run();
    touch(session.con(), claimId);
    session.commit();
}

void ClaimsStore::removeItem(qint64 claimId, qint64 itemRef) {
    Session session(true);
    Statement(session.con(), "DELETE FROM tblClaimItems WHERE ClaimRef = ? AND ItemRef = ?")
        .bind(claimId)
        .bind(itemRef)
        .run();
    touch(session.con(), claimId);
    session.commit();
}

std::vector<ClaimEvidence> ClaimsStore::evidence(qint64 itemRef) {
    Session session(false);
    Statement s(session.con(), "SELECT ID, Kind, FileName, MediaType, Sha256, Size FROM "
                               "tblEvidence WHERE ItemRef = ? ORDER BY ID");
    s.bind(itemRef);
    std::vector<ClaimEvidence> result;
    while (s.step()) {
        result.push_back(
            ClaimEvidence{s.number(0), s.text(1), s.text(2), s.text(3), s.text(4), s.number(5)});
    }
    return result;
}

QByteArray ClaimsStore::firstPhotoThumbnail(qint64 itemRef) {
    Session session(false);
    Statement s(session.con(), "SELECT Thumbnail FROM tblEvidence WHERE ItemRef = ? AND Kind = "
                               "'Photo' ORDER BY ID LIMIT 1");
    s.bind(itemRef);
    return s.step() ? s.blob(0) : QByteArray();
}

const QStringList& ClaimsStore::scheduleColumns() {
    static const QStringList columns{
        QStringLiteral("Line"),          QStringLiteral("Item ID"),
        QStringLiteral("Item"),          QStringLiteral("Room"),
        QStringLiteral("Serial Number"), QStringLiteral("Model"),
        QStringLiteral("Acquired"),      QStringLiteral("Acquired From"),
        QStringLiteral("Status"),        QStringLiteral("Original Cost"),
        QStringLiteral("Current Value"), QStringLiteral("Replacement Cost"),
        QStringLiteral("Evidence Files")};
    return columns;
}

QByteArray ClaimsStore::scheduleCsv(qint64 claimId) {
    const std::vector<ClaimItem> lines = items(claimId);
    const ClaimTotals sums = totals(claimId);
    std::string out;
    appendRow(out, scheduleColumns());
    int line = 0;
    for (const ClaimItem& item : lines) {
        appendRow(out, {QString::number(++line), item.itemId, item.itemName, item.room,
                        item.serialNumber, item.model, item.buyDate.left(10), item.acquiredFrom,
                        item.status, plainAmount(item.costCents), plainAmount(item.valueCents),
                        plainAmount(item.replacementCents), QString::number(item.evidence)});
    }
    appendRow(out,
              {QStringLiteral("Total"), QString(), QString::number(sums.items), QString(),
               QString(), QString(), QString(), QString(), QString(), plainAmount(sums.costCents),
               plainAmount(sums.valueCents), plainAmount(sums.replacementCents), QString()});
    return QByteArray(out.data(), static_cast<qsizetype>(out.size()));
}

QStringList ClaimsStore::ownerLines() {
    Session session(false);
    Statement s(session.con(),
                "SELECT FullName, FName, MName, LName, Address, City, State, Zip FROM tblOwner "
                "LIMIT 1");
    if (!s.step()) {
        return {};
    }
    const auto joined = [](const QStringList& parts, const QString& separator) {
        QStringList kept;
        for (const QString& part : parts) {
            if (!part.trimmed().isEmpty()) {
                kept.append(part.trimmed());
            }
        }
        return kept.join(separator);
    };
    QString name = s.text(0).trimmed();
    if (name.isEmpty()) {
        name = joined({s.text(1), s.text(2), s.text(3)}, QStringLiteral(" "));
    }
    const QString place = joined({s.text(5), joined({s.text(6), s.text(7)}, QStringLiteral(" "))},
                                 QStringLiteral(", "));
    return {name, s.text(4).trimmed(), place};
}

QString ClaimsStore::plainAmount(qint64 cents) {
    const quint64 magnitude =
        cents < 0 ? quint64{0} - static_cast<quint64>(cents) : static_cast<quint64>(cents);
    const QString text = QStringLiteral("%1.%2")
                             .arg(magnitude / 100)
                             .arg(static_cast<int>(magnitude % 100), 2, 10, QLatin1Char('0'));
    return cents < 0 ? QLatin1Char('-') + text : text;
}

} // namespace Riri
