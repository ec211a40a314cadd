// The laid-out pages of both inventory reports, read from a real database.

#include "InventorySeed.h"
#include "ReportProbe.h"
#include "TestSupport.h"

#include "Error.h"
#include "modGlobal.h"
#include "reports/BandPaginator.h"
#include "reports/ReportFormat.h"
#include "reports/dataReport.h"
#include "reports/rptRoomReport.h"
#include "reports/rptTotalInventory.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using Band::SectionKind;
using InventorySeed::Item;
using ReportProbe::AllTexts;
using ReportProbe::Texts;

namespace {

const QDate kRunDate(2007, 3, 5);

Item item(const QString& id, const QString& room, double cost = 10, double value = 5,
          const QString& bought = QStringLiteral("2001-02-03")) {
    Item i;
    i.itemId = id;
    i.name = QStringLiteral("Name of ") + id;
    i.sn = QStringLiteral("SN ") + id;
    i.model = QStringLiteral("Model of ") + id;
    i.room = room;
    i.cost = cost;
    i.curValue = value;
    i.buyDate = bought;
    i.from = QStringLiteral("Shop of ") + id;
    i.description = QStringLiteral("Description of ") + id;
    i.notes = QStringLiteral("Notes of ") + id;
    return i;
}

std::unique_ptr<rptTotalInventory> completeReport() {
    DataReportInstance().cmdItemTotal();
    auto report = std::make_unique<rptTotalInventory>();
    report->Bind(DataReportInstance().rscmdItemTotal, kRunDate);
    return report;
}

std::unique_ptr<rptRoomReport> roomReport() {
    DataReportInstance().cmdRoomTotal_Grouping();
    auto report = std::make_unique<rptRoomReport>();
    report->Bind(*DataReportInstance().rscmdRoomTotal_Grouping, kRunDate);
    return report;
}

// Every page: header at the top margin, footer above the bottom margin, and
// every other section whole between them.
void checkSectionsFit(const BandReport& report) {
    const Band::Definition& d = report.definition();
    const int bodyTop = d.topMargin + d.pageHeader.height;
    const int footerTop = d.pageHeight() - d.bottomMargin - d.pageFooter.height;
    for (int p = 0; p < report.pageCount(); ++p) {
        const auto& placements = report.pages()[static_cast<size_t>(p)].placements;
        QVERIFY(placements.size() >= 3);
        QCOMPARE(placements.front().kind, SectionKind::PageHeader);
        QCOMPARE(placements.front().top, d.topMargin);
        QCOMPARE(placements.back().kind, SectionKind::PageFooter);
        QCOMPARE(placements.back().top, footerTop);
        for (size_t i = 1; i + 1 < placements.size(); ++i) {
            const Band::Placement& at = placements[i];
            QVERIFY2(at.top >= bodyTop, qPrintable(QStringLiteral("page %1").arg(p + 1)));
            QVERIFY2(at.top + d.section(at.kind).height <= footerTop,
                     qPrintable(QStringLiteral("section split on page %1").arg(p + 1)));
            if (at.kind == SectionKind::GroupHeader) {
                // Never the last thing above the footer: its first item follows.
                QVERIFY2(i + 2 < placements.size(),
                         qPrintable(QStringLiteral("lone group header on page %1").arg(p + 1)));
                QCOMPARE(placements[i + 1].kind, SectionKind::Detail);
                QCOMPARE(placements[i + 1].group, at.group);
            }
        }
    }
}

} // namespace

class tst_reportlayout : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void cleanup() { ReleaseDataReport(); }

    void formats_data() {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("printed");
        const QLocale us(QLocale::English, QLocale::UnitedStates);
        const QLocale de(QLocale::German, QLocale::Germany);
        const QString money = ReportFormat::Money;
        const QString date = ReportFormat::ShortDate;
        QTest::newRow("grouped cents") << money << "1234.5" << us << "$1,234.50";
        QTest::newRow("zero") << money << "0" << us << "$0.00";
        QTest::newRow("millions") << money << "1234567.891" << us << "$1,234,567.89";
        QTest::newRow("negative") << money << "-3" << us << "-$3.00";
        QTest::newRow("tiny negative is zero") << money << "-0.001" << us << "$0.00";
        QTest::newRow("money separators") << money << "1234.5" << de << "$1.234,50";
        QTest::newRow("money not a number") << money << "n/a" << us << "n/a";
        QTest::newRow("money empty") << money << "" << us << "";
        QTest::newRow("date") << date << "2007-03-05" << us << "3/5/2007";
        QTest::newRow("date with time") << date << "2007-12-25 14:30:00" << us << "12/25/2007";
        QTest::newRow("date separator") << date << "2007-03-05" << de << "3.5.2007";
        QTest::newRow("date not a date") << date << "yesterday" << us << "yesterday";
        QTest::newRow("count") << ReportFormat::Whole << "12" << us << "12";
        QTest::newRow("count no grouping") << ReportFormat::Whole << "12345" << us << "12345";
    }
    void formats() {
        QFETCH(QString, format);
        QFETCH(QString, stored);
        QFETCH(QLocale, locale);
        QFETCH(QString, printed);
        QCOMPARE(ReportFormat::Apply(format, stored, locale), printed);
    }

    void completeReport_pagesHeadingsAndFields() {
        TestInstall install;
        QVERIFY(install.isValid());
        // Seven items in scrambled room order: three per page, three pages.
        QVERIFY(InventorySeed::Insert(install, item("A-1", "Kitchen")));
        QVERIFY(InventorySeed::Insert(install, item("A-2", "Attic", 1234.5, 0, "2007-03-05")));
        QVERIFY(InventorySeed::Insert(install, item("A-3", "Garage")));
        QVERIFY(InventorySeed::Insert(install, item("A-4", "Den")));
        QVERIFY(InventorySeed::Insert(install, item("A-5", "Basement")));
        QVERIFY(InventorySeed::Insert(install, item("A-6", "Office")));
        Item bare = item("A-7", "Bedroom 1");
        bare.sn.clear();
        bare.notes.clear();
        QVERIFY(InventorySeed::Insert(install, bare));

        const auto report = completeReport();
        QCOMPARE(report->pageCount(), 3);
        checkSectionsFit(*report);

        // Rooms ascending through the whole report.
        const QStringList rooms = AllTexts(*report, "txtRoomID", SectionKind::Detail);
        QCOMPARE(rooms, QStringList({"Attic", "Basement", "Bedroom 1", "Den", "Garage", "Kitchen",
                                     "Office"}));

        for (int p = 0; p < 3; ++p) {
            QCOMPARE(Texts(*report, p, "Label11", SectionKind::PageHeader),
                     QStringList{"Complete Dedi Rividizar"});
            QCOMPARE(Texts(*report, p, "Label13", SectionKind::PageHeader),
                     QStringList{"Monday, March 5, 2007"});
            const QStringList headings = {
                Texts(*report, p, "Label1", SectionKind::PageHeader).value(0),
                Texts(*report, p, "Label2", SectionKind::PageHeader).value(0),
                Texts(*report, p, "Label3", SectionKind::PageHeader).value(0),
                Texts(*report, p, "Label7", SectionKind::PageHeader).value(0),
                Texts(*report, p, "Label4", SectionKind::PageHeader).value(0),
                Texts(*report, p, "Label6", SectionKind::PageHeader).value(0)};
            QCOMPARE(headings, QStringList({"Item ID", "Item Name", "Serial Number", "Room",
                                            "Accquired From", "Accquired"}));
            const QStringList footer = {
                Texts(*report, p, "Label12", SectionKind::PageFooter).value(0),
                Texts(*report, p, "Label14", SectionKind::PageFooter).value(0),
                Texts(*report, p, "Label15", SectionKind::PageFooter).value(0),
                Texts(*report, p, "Label16", SectionKind::PageFooter).value(0),
                Texts(*report, p, "Label17", SectionKind::PageFooter).value(0),
                Texts(*report, p, "Label18", SectionKind::PageFooter).value(0)};
            QCOMPARE(footer.mid(0, 5),
                     QStringList({"Page", QString::number(p + 1), "of", "3", "Quorvane"}));
            QVERIFY(footer.value(5).contains("example.com"));
        }

        // Positions: the report's left edge is the left margin, sections start
        // at the top margin and the footer sits on the bottom margin.
        const Band::DrawItem title =
            ReportProbe::First(*report, 0, "Label11", SectionKind::PageHeader);
        QCOMPARE(title.rect, QRectF(500 + 1537, 1000, 11520, 435));
        QCOMPARE(report->fonts()[static_cast<size_t>(title.font)].pointSizeF(), 14.25);
        QVERIFY(report->fonts()[static_cast<size_t>(title.font)].bold());
        const Band::DrawItem heading =
            ReportProbe::First(*report, 0, "Label4", SectionKind::PageHeader);
        QCOMPARE(heading.rect, QRectF(500 + 10080, 1000 + 1440, 3015, 285));
        QCOMPARE(heading.flags & Qt::AlignHorizontal_Mask, int(Qt::AlignHCenter));
        const Band::DrawItem page =
            ReportProbe::First(*report, 2, "Label12", SectionKind::PageFooter);
        QCOMPARE(page.rect, QRectF(500 + 144, 12240 - 400 - 432 + 144, 435, 285));
        const Band::DrawItem web =
            ReportProbe::First(*report, 2, "Label18", SectionKind::PageFooter);
        QCOMPARE(web.flags & Qt::AlignHorizontal_Mask, int(Qt::AlignRight));
        QCOMPARE(web.rect.right(), 500.0 + 12240 + 2160);

        // The first item (Attic) is the one with the awkward amounts and date,
        // its block starting right below the page header.
        QCOMPARE(Texts(*report, 0, "txtItemID", SectionKind::Detail).value(0), QString("A-2"));
        QCOMPARE(Texts(*report, 0, "txtCost", SectionKind::Detail).value(0), QString("$1,234.50"));
        QCOMPARE(Texts(*report, 0, "txtCurValue", SectionKind::Detail).value(0), QString("$0.00"));
        QCOMPARE(Texts(*report, 0, "txtBuyDate", SectionKind::Detail).value(0),
                 QString("3/5/2007"));
        const Band::DrawItem cost = ReportProbe::First(*report, 0, "txtCost", SectionKind::Detail);
        QCOMPARE(cost.rect, QRectF(500 + 1584, 1000 + 1731 + 576, 1011, 285));
        QCOMPARE(cost.flags & Qt::AlignHorizontal_Mask, int(Qt::AlignLeft));
        const Band::DrawItem notes =
            ReportProbe::First(*report, 0, "txtNotes", SectionKind::Detail);
        QVERIFY(notes.flags & Qt::TextWordWrap);
        QCOMPARE(notes.rect, QRectF(500 + 3744, 1000 + 1731 + 1584, 10665, 855));
        // The second block follows one detail height lower.
        const QStringList ids = Texts(*report, 0, "txtItemID", SectionKind::Detail);
        QCOMPARE(ids, QStringList({"A-2", "A-5", "A-7"}));

        // An empty field prints nothing: the bare item has no serial number or notes.
        QCOMPARE(Texts(*report, 0, "txtSerialNumber", SectionKind::Detail),
                 QStringList({"SN A-2", "SN A-5"}));
        QCOMPARE(Texts(*report, 0, "txtNotes", SectionKind::Detail),
                 QStringList({"Notes of A-2", "Notes of A-5"}));

        // Every block is ruled as a closed box: rules along its top and
        // bottom, and its two sides.
        const qreal top = 1000 + 1731;
        std::vector<QRectF> rules;
        for (const Band::DrawItem& d : report->PageItems(0)) {
            if (d.type == Band::DrawItem::Type::Line && d.section == SectionKind::Detail &&
                d.rect.top() >= top && d.rect.bottom() <= top + 2592) {
                rules.push_back(d.rect);
            }
        }
        auto ruled = [&rules](QRectF r) {
            return std::find(rules.begin(), rules.end(), r) != rules.end();
        };
        QVERIFY(ruled(QRectF(500 + 144, top, 14250, 0)));
        QVERIFY(ruled(QRectF(500 + 144, top + 432, 14250, 0)));
        QVERIFY(ruled(QRectF(500 + 144, top + 2448, 14256, 0)));
        QVERIFY(ruled(QRectF(500 + 144, top, 0, 2448)));
        QVERIFY(ruled(QRectF(500 + 14400, top, 0, 2448)));
        QVERIFY(ruled(QRectF(500 + 3600, top + 432, 0, 2016)));
    }

    void roomReport_groupsCountsAndPaging() {
        TestInstall install;
        QVERIFY(install.isValid());
        QVERIFY(InventorySeed::Insert(install, item("A-1", "Kitchen")));
        QVERIFY(InventorySeed::Insert(install, item("A-2", "Garage")));
        QVERIFY(InventorySeed::Insert(install, item("A-3", "Attic")));
        QVERIFY(InventorySeed::Insert(install, item("A-4", "Attic")));
        QVERIFY(InventorySeed::Insert(install, item("A-5", "Garage")));
        QVERIFY(InventorySeed::Insert(install, item("A-6", "Attic")));
        QVERIFY(InventorySeed::Insert(install, item("A-7", "Attic", 99.999, 1e6)));

        const auto report = roomReport();
        checkSectionsFit(*report);
        QCOMPARE(AllTexts(*report, "txtRoomName", SectionKind::GroupHeader),
                 QStringList({"Attic", "Garage", "Kitchen"}));
        QCOMPARE(AllTexts(*report, "Text1", SectionKind::GroupFooter),
                 QStringList({"Attic", "Garage", "Kitchen"}));
        QCOMPARE(AllTexts(*report, "Function1", SectionKind::GroupFooter),
                 QStringList({"4", "2", "1"}));
        QCOMPARE(AllTexts(*report, "Label12", SectionKind::GroupFooter),
                 QStringList({"Total Items:", "Total Items:", "Total Items:"}));
        QCOMPARE(AllTexts(*report, "Label7", SectionKind::GroupHeader).value(0),
                 QString("Model Number / Name"));
        QCOMPARE(AllTexts(*report, "Label5", SectionKind::GroupHeader).value(0),
                 QString("Accquired From"));
        QCOMPARE(AllTexts(*report, "Label6", SectionKind::GroupHeader).value(0),
                 QString("Accquired"));
        QVERIFY(AllTexts(*report, "txtRoomID", SectionKind::Detail).isEmpty());
        QCOMPARE(AllTexts(*report, "txtModel", SectionKind::Detail).value(0),
                 QString("Model of A-3"));
        QVERIFY(AllTexts(*report, "txtCost", SectionKind::Detail).contains("$100.00"));
        QVERIFY(AllTexts(*report, "txtCurValue", SectionKind::Detail).contains("$1,000,000.00"));

        // The items under each room heading are that room's, in full.
        QStringList order;
        for (int p = 0; p < report->pageCount(); ++p) {
            for (const Band::DrawItem& d : report->PageItems(p)) {
                if (d.element == "txtRoomName" || d.element == "txtItemID") {
                    order.append(d.text);
                }
            }
        }
        QCOMPARE(order, QStringList({"Attic", "A-3", "A-4", "A-6", "A-7", "Garage", "A-2", "A-5",
                                     "Kitchen", "A-1"}));

        // Attic's header and three items fill page 1; its fourth item and
        // footer, then Garage's header with both items, fill page 2; Garage's
        // footer no longer fits and opens page 3, where Kitchen follows.
        QCOMPARE(report->pageCount(), 3);
        QCOMPARE(Texts(*report, 0, "txtItemID", SectionKind::Detail).size(), 3);
        QCOMPARE(Texts(*report, 1, "Function1", SectionKind::GroupFooter), QStringList{"4"});
        QCOMPARE(Texts(*report, 2, "Function1", SectionKind::GroupFooter), QStringList({"2", "1"}));
        for (int p = 0; p < 3; ++p) {
            QCOMPARE(Texts(*report, p, "Label11", SectionKind::PageHeader),
                     QStringList{"Inventory By Room"});
            QCOMPARE(Texts(*report, p, "Label15", SectionKind::PageFooter),
                     QStringList{QString::number(p + 1)});
            QCOMPARE(Texts(*report, p, "Label17", SectionKind::PageFooter), QStringList{"3"});
            QCOMPARE(Texts(*report, p, "Label18", SectionKind::PageFooter),
                     QStringList{"Quorvane"});
        }
        // The room heading and count print bold at 12 and 9.75 points.
        const Band::DrawItem room =
            ReportProbe::First(*report, 0, "txtRoomName", SectionKind::GroupHeader);
        QCOMPARE(report->fonts()[static_cast<size_t>(room.font)].pointSizeF(), 12.0);
        const Band::DrawItem count =
            ReportProbe::First(*report, 1, "Function1", SectionKind::GroupFooter);
        QCOMPARE(report->fonts()[static_cast<size_t>(count.font)].pointSizeF(), 9.75);
        QVERIFY(report->fonts()[static_cast<size_t>(count.font)].bold());
    }

    void pagination_neverSplitsNorStrandsHeaders() {
        const Band::Definition rooms = rptRoomReport::Layout();
        const Band::Definition total = rptTotalInventory::Layout();
        // A header that would fit alone at the bottom moves on with its item.
        {
            const auto pages = Band::Paginate(rooms, {2, 1});
            QCOMPARE(pages.size(), size_t(2));
            const auto& first = pages[0].placements;
            QCOMPARE(first[first.size() - 2].kind, SectionKind::GroupFooter);
            QCOMPARE(pages[1].placements[1].kind, SectionKind::GroupHeader);
            QCOMPARE(pages[1].placements[1].group, 1);
        }
        // Many shapes of inventory: each section whole inside the body, every
        // header with its first item, every item placed once and in order.
        std::uint32_t seed = 12345;
        auto next = [&seed] {
            seed = seed * 1103515245u + 12345u;
            return (seed >> 16) % 9;
        };
        for (int trial = 0; trial < 200; ++trial) {
            std::vector<qsizetype> groups(1 + next() % 6);
            for (qsizetype& g : groups) {
                g = 1 + next();
            }
            for (const Band::Definition* d : {&rooms, &total}) {
                const auto pages = Band::Paginate(*d, groups);
                const int bodyTop = d->topMargin + d->pageHeader.height;
                const int footerTop = d->pageHeight() - d->bottomMargin - d->pageFooter.height;
                int group = 0;
                qsizetype row = 0;
                for (const Band::PagePlan& page : pages) {
                    const auto& at = page.placements;
                    for (size_t i = 1; i + 1 < at.size(); ++i) {
                        QVERIFY(at[i].top >= bodyTop);
                        QVERIFY(at[i].top + d->section(at[i].kind).height <= footerTop);
                        if (at[i].kind == SectionKind::GroupHeader) {
                            QCOMPARE(at[i + 1].kind, SectionKind::Detail);
                        }
                        if (at[i].kind == SectionKind::Detail) {
                            if (row == groups[static_cast<size_t>(group)]) {
                                ++group;
                                row = 0;
                            }
                            QCOMPARE(at[i].group, group);
                            QCOMPARE(at[i].row, row);
                            ++row;
                        }
                    }
                }
                QCOMPARE(group, static_cast<int>(groups.size()) - 1);
                QCOMPARE(row, groups.back());
            }
        }
    }

    void dataSource_readsTheInstallationsDatabase() {
        TestInstall install;
        QVERIFY(install.isValid());
        QVERIFY(InventorySeed::Insert(install, item("A-1", "Kitchen")));
        // A working directory holding other databases where a relative path
        // would find them.
        QTemporaryDir elsewhere;
        QDir(elsewhere.path()).mkpath("Riri");
        QDir(elsewhere.path()).mkpath("home");
        QVERIFY(QFile::copy(install.databasePath(), elsewhere.path() + "/Riri/inv.inv"));
        QVERIFY(QFile::copy(install.databasePath(), elsewhere.path() + "/home/inv.inv"));
        const QString previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(elsewhere.path()));
        QVERIFY(install.exec("INSERT INTO tblItems (ItemID, RoomName) VALUES ('A-2', 'Attic')"));

        DataReport& data = DataReportInstance();
        data.cmdItemTotal();
        QDir::setCurrent(previous);
        QCOMPARE(data.rscmdItemTotal->rowCount(), 2);
        QCOMPARE(data.rscmdItemTotal->Field("ItemID"), QString("A-2"));
        QCOMPARE(QDir::cleanPath(data.conReport.dataSource()),
                 QDir::cleanPath(install.databasePath()));
        // The rows are a detached snapshot: no connection stays open.
        QVERIFY(!data.conReport.isOpen());
    }

    void dataSource_readsAfreshAndFollowsTheFolder() {
        {
            TestInstall first;
            QVERIFY(InventorySeed::Insert(first, item("A-1", "Kitchen")));
            DataReportInstance().cmdRoomTotal_Grouping();
            QCOMPARE(DataReportInstance().rscmdRoomTotal_Grouping->rowCount(), 1);
            // A change made since the last run is in the next one.
            QVERIFY(InventorySeed::Insert(first, item("A-2", "Attic")));
            QVERIFY(first.exec("UPDATE tblItems SET ItemName = 'Changed' WHERE ItemID = 'A-1'"));
            DataReportInstance().cmdRoomTotal_Grouping();
            GroupedRecordset& rooms = *DataReportInstance().rscmdRoomTotal_Grouping;
            QCOMPARE(rooms.rowCount(), 2);
            QCOMPARE(rooms.Field("RoomName"), QString("Attic"));
            rooms.MoveNext();
            QCOMPARE(rooms.Field("RoomName"), QString("Kitchen"));
            QCOMPARE(rooms.Child("cmdRoomTotal")->Field("ItemName"), QString("Changed"));
            QCOMPARE(rooms.Child("cmdRoomTotal")->Columns().size(), 14);
        }
        // A new installation folder is read from its own file.
        TestInstall second;
        QVERIFY(InventorySeed::Insert(second, item("A-9", "Den")));
        DataReportInstance().cmdItemTotal();
        QCOMPARE(DataReportInstance().rscmdItemTotal->rowCount(), 1);
        QCOMPARE(DataReportInstance().rscmdItemTotal->Field("ItemID"), QString("A-9"));
    }

    void dataSource_failsOnAMissingDatabase() {
        TestInstall install;
        QVERIFY(InventorySeed::Insert(install, item("A-1", "Kitchen")));
        DataReportInstance().cmdItemTotal();
        QVERIFY(QFile::remove(install.databasePath()));
        QVERIFY_THROWS_EXCEPTION(Riri::Error, DataReportInstance().cmdItemTotal());
        QVERIFY(!QFile::exists(install.databasePath())); // never created
        QVERIFY(!DataReportInstance().conReport.isOpen());
        ReleaseDataReport();
        QVERIFY(!dataReport);
    }
};

QTEST_MAIN(tst_reportlayout)
#include "tst_reportlayout.moc"
