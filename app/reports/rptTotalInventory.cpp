#include "reports/rptTotalInventory.h"

#include "reports/ReportFormat.h"
#include "reports/ReportSettings.h"

using namespace Band;

Definition rptTotalInventory::layout() {
    Definition d;
    ReportSettings::initialise(d, QStringLiteral("Complete Dedi Rividizar"),
                               QStringLiteral("Complete Dedi Rividizar"));

    d.pageHeader = ReportSettings::pageHeader(1731);
    ReportSettings::addHeadingRow(
        d.pageHeader, 1296,
        {QStringLiteral("Label1"), QStringLiteral("Label2"), QStringLiteral("Label3"),
         QStringLiteral("Label7"), QStringLiteral("Label4"), QStringLiteral("Label6")},
        {QStringLiteral("Item ID"), QStringLiteral("Item Name"), QStringLiteral("Serial Number"),
         QStringLiteral("Room"), QStringLiteral("Accquired From"), QStringLiteral("Accquired")});

    d.detail.name = QStringLiteral("Detail");
    d.detail.height = 2592;
    d.detail.elements = {
        field(QStringLiteral("txtItemID"), QStringLiteral("ItemID"), 144, 144, 1152, 288),
        field(QStringLiteral("txtItemName"), QStringLiteral("ItemName"), 1296, 144, 3168, 288),
        field(QStringLiteral("txtSerialNumber"), QStringLiteral("SN"), 4464, 144, 3312, 288),
        field(QStringLiteral("txtRoomID"), QStringLiteral("RoomName"), 7776, 144, 2304, 288),
        field(QStringLiteral("txtAccquiredFrom"), QStringLiteral("AccquiredFrom"), 10080, 144, 3024,
              288),
        field(QStringLiteral("txtBuyDate"), QStringLiteral("BuyDate"), 13104, 144, 1296, 288,
              Align::Center, ReportFormat::ShortDate),
        label(QStringLiteral("Label5"), QStringLiteral("Original Cost"), 288, 576, 1140, 285, 8.25,
              true, Align::Left),
        field(QStringLiteral("txtCost"), QStringLiteral("Cost"), 1584, 576, 1011, 285, Align::Left,
              ReportFormat::Money),
        label(QStringLiteral("Label8"), QStringLiteral("Current Value"), 288, 1008, 1140, 285, 8.25,
              true, Align::Left),
        field(QStringLiteral("txtCurValue"), QStringLiteral("CurValue"), 1584, 1008, 1152, 285,
              Align::Left, ReportFormat::Money),
        label(QStringLiteral("Label9"), QStringLiteral("Model"), 288, 1584, 1152, 240, 8.25, true,
              Align::Left),
        field(QStringLiteral("txtModel"), QStringLiteral("Model"), 1584, 1584, 2016, 240,
              Align::Left),
        area(QStringLiteral("txtDescription"), QStringLiteral("Description"), 3744, 576, 10665,
             864),
        area(QStringLiteral("txtNotes"), QStringLiteral("Notes"), 3744, 1584, 10665, 855),
    };
    ReportSettings::addDetailRules(d.detail);

    d.pageFooter = ReportSettings::pageFooter(
        432,
        {QStringLiteral("Label12"), QStringLiteral("Label14"), QStringLiteral("Label15"),
         QStringLiteral("Label16"), QStringLiteral("Label17"), QStringLiteral("Label18")},
        5929, 2736);
    return d;
}

rptTotalInventory::rptTotalInventory() : BandReport(layout()) {}

void rptTotalInventory::bind(std::shared_ptr<const Riri::Recordset> rscmdItemTotal,
                             const QDate& runDate, const QLocale& locale) {
    std::vector<Group> groups;
    groups.push_back(Group{QString(), std::move(rscmdItemTotal)});
    setGroups(std::move(groups), runDate, locale);
}
