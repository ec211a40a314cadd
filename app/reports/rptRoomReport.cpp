#include "reports/rptRoomReport.h"

#include "reports/ReportFormat.h"
#include "reports/ReportSettings.h"

using namespace Band;

Definition rptRoomReport::layout() {
    Definition d;
    ReportSettings::initialise(d, QStringLiteral("Inventory By Room"),
                               QStringLiteral("Room Inventory"));

    d.pageHeader = ReportSettings::pageHeader(1155);

    d.groupHeader.name = QStringLiteral("GroupHeader");
    d.groupHeader.height = 1011;
    d.groupHeader.elements = {
        label(QStringLiteral("Label1"), QStringLiteral("Room:"), 144, 144, 864, 288, 12, true,
              Align::Left),
        groupField(QStringLiteral("txtRoomName"), QStringLiteral("RoomName"), 1008, 144, 4605, 285,
                   12, true, Align::Left),
    };
    ReportSettings::addHeadingRow(
        d.groupHeader, 576,
        {QStringLiteral("Label2"), QStringLiteral("Label3"), QStringLiteral("Label4"),
         QStringLiteral("Label7"), QStringLiteral("Label5"), QStringLiteral("Label6")},
        {QStringLiteral("Item ID"), QStringLiteral("Item Name"), QStringLiteral("Serial Number"),
         QStringLiteral("Model Number / Name"), QStringLiteral("Accquired From"),
         QStringLiteral("Accquired")});

    d.detail.name = QStringLiteral("Detail");
    d.detail.height = 2592;
    d.detail.elements = {
        field(QStringLiteral("txtItemID"), QStringLiteral("ItemID"), 144, 144, 1155, 285),
        field(QStringLiteral("txtItemName"), QStringLiteral("ItemName"), 1296, 144, 3165, 285),
        field(QStringLiteral("txtSerialNumber"), QStringLiteral("SN"), 4464, 144, 3315, 285),
        field(QStringLiteral("txtModel"), QStringLiteral("Model"), 7776, 144, 2304, 288),
        field(QStringLiteral("txtAccquiredFrom"), QStringLiteral("AccquiredFrom"), 10080, 144, 3015,
              285),
        field(QStringLiteral("txtBuyDate"), QStringLiteral("BuyDate"), 13104, 144, 1305, 285,
              Align::Center, ReportFormat::ShortDate),
        label(QStringLiteral("Label8"), QStringLiteral("Original Cost"), 288, 576, 1140, 285, 8.25,
              true, Align::Left),
        field(QStringLiteral("txtCost"), QStringLiteral("Cost"), 1584, 576, 1020, 285, Align::Left,
              ReportFormat::Money),
        label(QStringLiteral("Label9"), QStringLiteral("Current Value"), 288, 1008, 1140, 285, 8.25,
              true, Align::Left),
        field(QStringLiteral("txtCurValue"), QStringLiteral("CurValue"), 1584, 1008, 1155, 285,
              Align::Left, ReportFormat::Money),
        area(QStringLiteral("txtDescription"), QStringLiteral("Description"), 3744, 576, 10665,
             870),
        area(QStringLiteral("txtNotes"), QStringLiteral("Notes"), 3744, 1584, 10665, 855),
    };
    ReportSettings::addDetailRules(d.detail);

    d.groupFooter.name = QStringLiteral("GroupFooter");
    d.groupFooter.height = 447;
    d.groupFooter.elements = {
        label(QStringLiteral("Label12"), QStringLiteral("Total Items:"), 144, 144, 1296, 285, 9.75,
              true, Align::Left),
        rowCount(QStringLiteral("Function1"), 1440, 144, 1008, 285, 9.75, true, Align::Left,
                 ReportFormat::Whole),
        label(QStringLiteral("Label10"), QStringLiteral("Room:"), 2880, 144, 870, 300, 12, true,
              Align::Left),
        groupField(QStringLiteral("Text1"), QStringLiteral("RoomName"), 3744, 144, 4605, 285, 12,
                   true, Align::Left),
    };

    d.pageFooter = ReportSettings::pageFooter(
        435,
        {QStringLiteral("Label14"), QStringLiteral("Label15"), QStringLiteral("Label16"),
         QStringLiteral("Label17"), QStringLiteral("Label18"), QStringLiteral("Label19")},
        5932, 2730);
    return d;
}

rptRoomReport::rptRoomReport() : BandReport(layout()) {}

void rptRoomReport::bind(const GroupedRecordset& rscmdRoomTotal_Grouping, const QDate& runDate,
                         const QLocale& locale) {
    std::vector<Group> groups;
    groups.reserve(rscmdRoomTotal_Grouping.rows().size());
    for (const GroupedRecordset::Row& row : rscmdRoomTotal_Grouping.rows()) {
        groups.push_back(Group{row.key, row.child});
    }
    setGroups(std::move(groups), runDate, locale);
}
