#include "reports/rptInventoryPhotos.h"

#include "reports/ReportFormat.h"
#include "reports/ReportSettings.h"
#include "reports/rptValuationSummary.h"

#include <Riri/ClaimsStore.h>
#include <Riri/Error.h>

#include <QRegularExpression>

using namespace Band;

namespace {

// The item block: the thumbnail's frame at the left, the fields beside it.
constexpr int kFrame = 1584;
constexpr int kLabelLeft = 1944;
constexpr int kValueLeft = 3456;
constexpr int kRightLabel = 7920;
constexpr int kRightValue = 9432;
constexpr int kRow = 360;

Element bold(Element e) {
    e.bold = true;
    return e;
}

qint64 whole(QStringView text) {
    bool ok = false;
    const qint64 value = text.toLongLong(&ok);
    return ok ? value : 0;
}

} // namespace

QImage rptInventoryPhotos::storedThumbnail(qint64 itemRef) {
    try {
        return QImage::fromData(Riri::ClaimsStore::firstPhotoThumbnail(itemRef));
    } catch (const Riri::Error&) {
        return QImage(); // the frame alone
    }
}

QStringList rptInventoryPhotos::ownerLines(const Riri::Recordset* owner) {
    if (owner == nullptr || owner->rowCount() == 0) {
        return {};
    }
    const auto field = [owner](const char* name) {
        return owner->fieldAt(0, owner->columnIndex(QLatin1String(name))).trimmed();
    };
    const QRegularExpression shown(QStringLiteral("\\S"));
    QString name = field("FullName");
    if (name.isEmpty()) {
        name = QStringList{field("FName"), field("MName"), field("LName")}.filter(shown).join(
            QLatin1Char(' '));
    }
    const QString stateZip =
        QStringList{field("State"), field("Zip")}.filter(shown).join(QLatin1Char(' '));
    const QString place =
        QStringList{field("City"), stateZip}.filter(shown).join(QStringLiteral(", "));
    return {name, field("Address"), place};
}

rptInventoryPhotos::Totals rptInventoryPhotos::totalsOf(const GroupedRecordset& rooms) {
    Totals all;
    for (const GroupedRecordset::Row& room : rooms.rows()) {
        const Riri::Recordset& rows = *room.child;
        const int cost = rows.columnIndex(QStringLiteral("CostCents"));
        const int value = rows.columnIndex(QStringLiteral("ValueCents"));
        for (qsizetype r = 0; r < rows.rowCount(); ++r) {
            all.costCents += whole(rows.fieldViewAt(r, cost));
            all.valueCents += whole(rows.fieldViewAt(r, value));
        }
        all.items += rows.rowCount();
    }
    return all;
}

Definition rptInventoryPhotos::layout(const QStringList& owner, const Totals& all,
                                      const QLocale& locale) {
    Definition d;
    ReportSettings::initialise(d, QStringLiteral("Inventory with Photos"),
                               QStringLiteral("Inventory with Photos"));

    d.pageHeader = ReportSettings::pageHeader(1155);

    if (!owner.isEmpty()) {
        d.reportHeader.name = QStringLiteral("ReportHeader");
        d.reportHeader.height = 1152;
        const QStringList names{QStringLiteral("lblOwnerName"), QStringLiteral("lblOwnerAddress"),
                                QStringLiteral("lblOwnerPlace")};
        for (int i = 0; i < 3; ++i) {
            d.reportHeader.elements.push_back(
                label(names.at(i), owner.at(i), 1537, 72 + 300 * i, 11520, 285, 9.75, i == 0));
        }
    }

    d.groupHeader.name = QStringLiteral("GroupHeader");
    d.groupHeader.height = 576;
    d.groupHeader.elements = {
        label(QStringLiteral("lblRoom"), QStringLiteral("Room:"), 144, 144, 864, 288, 12, true,
              Align::Left),
        groupField(QStringLiteral("txtRoomName"), QStringLiteral("RoomName"), 1008, 144, 6000, 285,
                   12, true, Align::Left),
        hLine(144, 560, 14256),
    };

    d.detail.name = QStringLiteral("Detail");
    d.detail.height = kFrame + 288;
    const auto pair = [&d](const char* labelName, const QString& text, const char* fieldName,
                           const QString& column, int left, int valueLeft, int top,
                           const QString& format) {
        d.detail.elements.push_back(label(QLatin1String(labelName), text, left, top,
                                          valueLeft - left - 72, 285, 8.25, true, Align::Left));
        d.detail.elements.push_back(field(QLatin1String(fieldName), column, valueLeft, top, 4320,
                                          285, Align::Left, format));
    };
    d.detail.elements = {
        picture(QStringLiteral("imgPhoto"), QStringLiteral("PhotoRef"), 144, 144, kFrame, kFrame),
        bold(field(QStringLiteral("txtItemID"), QStringLiteral("ItemID"), kLabelLeft, 144, 1440,
                   285, Align::Left)),
        bold(field(QStringLiteral("txtItemName"), QStringLiteral("ItemName"), kValueLeft, 144,
                   10800, 285, Align::Left)),
    };
    pair("lblSerialNumber", QStringLiteral("Serial Number"), "txtSerialNumber",
         QStringLiteral("SN"), kLabelLeft, kValueLeft, 144 + kRow + 72, QString());
    pair("lblModel", QStringLiteral("Model"), "txtModel", QStringLiteral("Model"), kRightLabel,
         kRightValue, 144 + kRow + 72, QString());
    pair("lblAcquired", QStringLiteral("Acquired"), "txtBuyDate", QStringLiteral("BuyDate"),
         kLabelLeft, kValueLeft, 144 + 2 * kRow + 72, ReportFormat::ShortDate);
    pair("lblAcquiredFrom", QStringLiteral("Acquired From"), "txtAccquiredFrom",
         QStringLiteral("AccquiredFrom"), kRightLabel, kRightValue, 144 + 2 * kRow + 72, QString());
    pair("lblCost", QStringLiteral("Original Cost"), "txtCost", QStringLiteral("Cost"), kLabelLeft,
         kValueLeft, 144 + 3 * kRow + 72, ReportFormat::Money);
    pair("lblCurValue", QStringLiteral("Current Value"), "txtCurValue", QStringLiteral("CurValue"),
         kRightLabel, kRightValue, 144 + 3 * kRow + 72, ReportFormat::Money);
    d.detail.elements.push_back(hLine(144, kFrame + 216, 14256));

    d.groupFooter.name = QStringLiteral("GroupFooter");
    d.groupFooter.height = 576;
    d.groupFooter.elements = {
        label(QStringLiteral("lblRoomItems"), QStringLiteral("Items in the room:"), 144, 144, 2016,
              285, 9.75, true, Align::Left),
        summaryField(QStringLiteral("txtRoomItems"), QStringLiteral("ItemCount"), 2232, 144, 1440,
                     285, 9.75, true, Align::Left),
        label(QStringLiteral("lblRoomCost"), QStringLiteral("Original Cost:"), 4320, 144, 1728, 285,
              9.75, true, Align::Left),
        summaryField(QStringLiteral("txtRoomCost"), QStringLiteral("Cost"), 6048, 144, 2592, 285,
                     9.75, true, Align::Left),
        label(QStringLiteral("lblRoomValue"), QStringLiteral("Current Value:"), 8928, 144, 1728,
              285, 9.75, true, Align::Left),
        summaryField(QStringLiteral("txtRoomValue"), QStringLiteral("Value"), 10656, 144, 2592, 285,
                     9.75, true, Align::Left),
    };

    d.reportFooter.name = QStringLiteral("ReportFooter");
    d.reportFooter.height = 720;
    d.reportFooter.elements = {
        hLine(144, 72, 14256),
        hLine(144, 117, 14256),
        label(QStringLiteral("lblAllItems"),
              all.items == 1 ? QStringLiteral("All rooms: 1 item")
                             : QStringLiteral("All rooms: %1 items").arg(all.items),
              144, 216, 4032, 300, 11, true, Align::Left),
        label(QStringLiteral("lblAllCost"),
              QStringLiteral("Original Cost: %1")
                  .arg(rptValuationSummary::formatCents(all.costCents, locale)),
              4320, 216, 4464, 300, 11, true, Align::Left),
        label(QStringLiteral("lblAllValue"),
              QStringLiteral("Current Value: %1")
                  .arg(rptValuationSummary::formatCents(all.valueCents, locale)),
              8928, 216, 5472, 300, 11, true, Align::Left),
    };

    d.pageFooter = ReportSettings::pageFooter(
        435,
        {QStringLiteral("Label14"), QStringLiteral("Label15"), QStringLiteral("Label16"),
         QStringLiteral("Label17"), QStringLiteral("Label18"), QStringLiteral("Label19")},
        5932, 2730);
    return d;
}

rptInventoryPhotos::rptInventoryPhotos(const GroupedRecordset& rooms, const Riri::Recordset* owner,
                                       Thumbnails thumbnails, const QDate& runDate,
                                       const QLocale& locale)
    : BandReport(layout(ownerLines(owner), totalsOf(rooms), locale)) {
    std::vector<Group> groups;
    groups.reserve(rooms.rows().size());
    const QStringList summaryColumns{QStringLiteral("ItemCount"), QStringLiteral("Cost"),
                                     QStringLiteral("Value")};
    for (const GroupedRecordset::Row& room : rooms.rows()) {
        GroupedRecordset single(QStringLiteral("RoomName"), QString(), {room});
        const Totals t = totalsOf(single);
        auto summary = std::make_shared<Riri::Recordset>(summaryColumns);
        for (const QString& text :
             {QString::number(t.items), rptValuationSummary::formatCents(t.costCents, locale),
              rptValuationSummary::formatCents(t.valueCents, locale)}) {
            summary->appendCell(reinterpret_cast<const char16_t*>(text.utf16()), text.size(),
                                false);
        }
        groups.push_back(Group{room.key, room.child, std::move(summary)});
    }
    setPictureSource([thumbnails = std::move(thumbnails)](const QString& key) {
        return thumbnails ? thumbnails(key.toLongLong()) : QImage();
    });
    setGroups(std::move(groups), runDate, locale);
}
