#pragma once

#include "reports/BandReport.h"
#include "reports/dataReport.h"

#include <QImage>
#include <functional>

// The inventory with photos, the document to keep away from home: the
// owner's name and address once under the first page's title, then per room
// one block per item with its first photo's thumbnail (a plain frame when it
// has none), ID, name, serial number, model, acquired date and from, original
// cost and current value; under each room its number of items and totals,
// and after the last room those of the whole inventory. Amounts are added in
// whole cents. Thumbnails are read only for the pages drawn.
class rptInventoryPhotos : public BandReport {
public:
    // A thumbnail by the item's tblItems.ID.
    using Thumbnails = std::function<QImage(qint64 itemRef)>;

    // `rooms`: DataReport::rscmdPhotoInventory; `owner`: the owner record
    // set, or null or empty when there is none.
    rptInventoryPhotos(const GroupedRecordset& rooms, const Riri::Recordset* owner,
                       Thumbnails thumbnails, const QDate& runDate = QDate::currentDate(),
                       const QLocale& locale = QLocale());

    // The thumbnails the component keeps of the items' first photos.
    static QImage storedThumbnail(qint64 itemRef);

private:
    struct Totals {
        qint64 items = 0;
        qint64 costCents = 0;
        qint64 valueCents = 0;
    };
    static Band::Definition layout(const QStringList& owner, const Totals& all,
                                   const QLocale& locale);
    static QStringList ownerLines(const Riri::Recordset* owner);
    static Totals totalsOf(const GroupedRecordset& rooms);
};
