#pragma once

#include "RiriExport.h"

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <vector>

namespace Riri {

// A claim made to an insurer after a loss.
struct Claim {
    qint64 id = 0; // 0 until it is stored
    QDate eventDate;
    QString eventKind; // one of ClaimsStore::eventKinds()
    QString description;
    QString insurer;
    QString policyNumber;
    QString claimNumber;
    QString addDate; // as stored, ISO 8601
    QString modDate;
};

// The number of items a claim lists and the sums of their three amounts,
// each added in whole cents by SQLite's integer arithmetic.
struct ClaimTotals {
    qint64 items = 0;
    qint64 costCents = 0;
    qint64 valueCents = 0;
    qint64 replacementCents = 0;
};

struct ClaimSummary {
    Claim claim;
    ClaimTotals totals;
};

// One line of a claim: the inventory item it names (read from tblItems,
// never changed by the claim) and what the claim says of it.
struct ClaimItem {
    qint64 itemRef = 0; // tblItems.ID
    QString itemId;
    QString itemName;
    QString room;
    QString serialNumber;
    QString model;
    QString buyDate; // ISO 8601 as stored, or empty
    QString acquiredFrom;
    QString description;
    QString notes;
    qint64 costCents = 0;
    qint64 valueCents = 0;
    QString status; // one of ClaimsStore::statuses()
    qint64 replacementCents = 0;
    QString note;
    int photos = 0;   // evidence rows of kind Photo
    int receipts = 0; // evidence rows of kind Receipt
    int evidence = 0; // evidence rows of any kind
};

// One evidence file of an item, as tblEvidence records it.
struct ClaimEvidence {
    qint64 id = 0;
    QString kind;
    QString fileName;
    QString mediaType;
    QString sha256;
    qint64 size = 0;
};

// Claims and the items they list (tblClaims, tblClaimItems), and what a
// claim package reads of the items' evidence. Each operation opens the
// inventory, runs one transaction and closes it; failures throw Riri::Error.
class RIRI_EXPORT ClaimsStore {
public:
    static const QStringList& eventKinds();
    static const QStringList& statuses();

    // Every claim with its totals, the newest event first.
    static std::vector<ClaimSummary> claims();
    // One claim; throws when there is none with that id.
    static Claim claim(qint64 id);
    // Stores a new claim (id 0) or changes one; sets the dates and the id.
    static void save(Claim& claim);
    // Deletes a claim and its item rows; the items themselves stay.
    static void remove(qint64 claimId);

    // The claim's items in the order of the schedule: by room, then Item ID.
    static std::vector<ClaimItem> items(qint64 claimId);
    static ClaimTotals totals(qint64 claimId);
    // Adds the items not on the claim yet, each with status Lost and its
    // current value as the replacement cost. Returns how many were added.
    static int addItems(qint64 claimId, const QList<qint64>& itemRefs);
    // The same for items named by their Item IDs.
    static int addItemIds(qint64 claimId, const QStringList& itemIds);
    // The same for every item of a room (compared without letter case).
    static int addRoom(qint64 claimId, const QString& room);
    static void updateItem(qint64 claimId, qint64 itemRef, const QString& status,
                           qint64 replacementCents, const QString& note);
    static void removeItem(qint64 claimId, qint64 itemRef);

    // The item's evidence in the order it was added.
    static std::vector<ClaimEvidence> evidence(qint64 itemRef);
    // The stored thumbnail (JPEG) of the item's first photo; empty without one.
    static QByteArray firstPhotoThumbnail(qint64 itemRef);

    // The columns of the schedule of loss, as the CSV heads them.
    static const QStringList& scheduleColumns();
    // The schedule as RFC 4180 UTF-8 text: a header row, one row per item
    // and a last row "Total" with the three totals. Amounts are plain
    // decimals with a point.
    static QByteArray scheduleCsv(qint64 claimId);

    // The owner's name, street address and "City, State Zip" for a cover
    // page; empty when there is no owner record.
    static QStringList ownerLines();

    // Whole cents as a plain decimal: 123456 gives "1234.56", -5 "-0.05".
    static QString plainAmount(qint64 cents);
};

} // namespace Riri
