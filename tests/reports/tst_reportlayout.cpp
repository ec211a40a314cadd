// The laid-out pages of both inventory reports, read from a real database.
// The first page of each is compared, element by element, with a checked-in
// dump under expected/; after a deliberate layout change, run this test with
// QUORVANE_REGENERATE=1 to rewrite those files and review them with git diff.
// The named checks below state what the reports must do whatever the layout.

#include "InventorySeed.h"
#include "ReportProbe.h"
#include "TestSupport.h"

#include "reports/BandPaginator.h"
#include "reports/ReportFormat.h"
#include "reports/dataReport.h"
#include "reports/rptRoomReport.h"
#include "reports/rptTotalInventory.h"
#include "shared/modGlobal.h"

#include <Riri/ComponentFolder.h>
#include <Riri/Error.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>

using Band::SectionKind;
using InventorySeed::Insert;
using InventorySeed::Sample;
using ReportProbe::AllTexts;
using ReportProbe::First;
using ReportProbe::Texts;

namespace {

const QDate kRunDate(2007, 3, 5);
const QLocale kLocale(QLocale::English, QLocale::UnitedStates);

QString headings(const BandReport& report, SectionKind section, const QStringList& names) {
    QStringList texts;
    for (const QString& name : names) {
        texts += Texts(report, 0, name, section);
    }
    return texts.join(QLatin1Char('|'));
}

// Whether the rules drawn on a page between two heights form a closed box:
// its sides are the longest rules down the left-most and the right-most
// edges, of one length, and a rule runs along the top and one along the
// bottom from side to side, all meeting within a line's width.
bool closedBox(const BandReport& report, int page, qreal top, qreal bottom) {
    std::vector<QRectF> across;
    std::vector<QRectF> down;
    for (const Band::DrawItem& d : report.pageItems(page)) {
        if (d.type == Band::DrawItem::Type::Line && d.rect.top() >= top &&
            d.rect.bottom() <= bottom) {
            (d.rect.height() == 0 ? across : down).push_back(d.rect.normalized());
        }
    }
    if (down.size() < 2 || across.size() < 2) {
        return false;
    }
    auto longer = [](const QRectF& a, const QRectF& b) { return a.height() < b.height(); };
    auto side = [&](qreal x) {
        QRectF longest;
        for (const QRectF& r : down) {
            if (r.left() == x && longer(longest, r)) {
                longest = r;
            }
        }
        return longest;
    };
    const auto [leftmost, rightmost] =
        std::minmax_element(down.begin(), down.end(),
                            [](const QRectF& a, const QRectF& b) { return a.left() < b.left(); });
    const QRectF left = side(leftmost->left());
    const QRectF right = side(rightmost->left());
    const qreal slack = BandReport::kLineWidth;
    auto near = [slack](qreal a, qreal b) { return qAbs(a - b) <= slack; };
    auto rule = [&](qreal y) {
        return std::any_of(across.begin(), across.end(), [&](const QRectF& r) {
            return near(r.top(), y) && near(r.left(), left.left()) && near(r.right(), right.left());
        });
    };
    return right.left() - left.left() > slack && left.height() > slack &&
           near(left.top(), right.top()) && near(left.bottom(), right.bottom()) &&
           rule(left.top()) && rule(left.bottom());
}

} // namespace

class tst_reportlayout : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void cleanup() { releaseDataReport(); }

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
        QTest::newRow("largest amount")
            << money << "9999999999999.99" << us << "$9,999,999,999,999.99";
        QTest::newRow("smallest amount")
            << money << "-9999999999999.99" << us << "-$9,999,999,999,999.99";
        QTest::newRow("tiny negative is zero") << money << "-0.001" << us << "$0.00";
        QTest::newRow("money separators") << money << "1234.5" << de << "$1.234,50";
        QTest::newRow("money not a number") << money << "n/a" << us << "n/a";
        QTest::newRow("money empty") << money << "" << us << "";
        QTest::newRow("date") << date << "2007-03-05" << us << "3/5/2007";
        QTest::newRow("date with time") << date << "2007-12-25 14:30:00" << us << "12/25/2007";
        QTest::newRow("date separator") << date << "2007-03-05" << de << "3.5.2007";
        QTest::newRow("date not a date") << date << "yesterday" << us << "yesterday";
        QTest::newRow("count without grouping") << ReportFormat::Whole << "12345" << us << "12345";
    }
    void formats() {
        QFETCH(QString, format);
        QFETCH(QString, stored);
        QFETCH(QLocale, locale);
        QFETCH(QString, printed);
        QCOMPARE(ReportFormat::apply(format, stored, locale), printed);
    }

    void completeReport() {
        TestInstall install;
        QVERIFY(install.isValid());
        // Seven items in scrambled room order: three per page, three pages.
        QVERIFY(Insert(install, "A-1", "Kitchen"));
        QVERIFY(Insert(install, Sample("A-2", "Attic", 1234.5, 0, "2007-03-05")));
        QVERIFY(Insert(install, "A-3", "Garage"));
        QVERIFY(Insert(install, "A-4", "Den"));
        QVERIFY(Insert(install, "A-5", "Basement"));
        QVERIFY(Insert(install, "A-6", "Office"));
        InventorySeed::Item bare = Sample("A-7", "Bedroom 1");
        bare.sn.clear();
        bare.notes.clear();
        QVERIFY(Insert(install, bare));

        dataReportInstance().cmdItemTotal();
        rptTotalInventory report;
        report.bind(dataReportInstance().rscmdItemTotal, kRunDate, kLocale);
        QCOMPARE(report.pageCount(), 3);
        QCOMPARE(
            AllTexts(report, "txtRoomID", SectionKind::Detail),
            QStringList({"Attic", "Basement", "Bedroom 1", "Den", "Garage", "Kitchen", "Office"}));
        for (int p = 0; p < 3; ++p) {
            QCOMPARE(Texts(report, p, "Label11", SectionKind::PageHeader),
                     QStringList{"Complete Dedi Rividizar"});
            QCOMPARE(Texts(report, p, "Label13", SectionKind::PageHeader),
                     QStringList{"Monday, March 5, 2007"});
            QCOMPARE(Texts(report, p, "Label14", SectionKind::PageFooter),
                     QStringList{QString::number(p + 1)});
            QCOMPARE(Texts(report, p, "Label16", SectionKind::PageFooter), QStringList{"3"});
        }
        QCOMPARE(headings(report, SectionKind::PageHeader,
                          {"Label1", "Label2", "Label3", "Label7", "Label4", "Label6"}),
                 QString("Item ID|Item Name|Serial Number|Room|Accquired From|Accquired"));
        QCOMPARE(
            headings(report, SectionKind::PageFooter, {"Label12", "Label15", "Label17", "Label18"}),
            QString("Page|of|Quorvane|www.example.com"));

        // The first page as drawn, element by element: every position, font
        // and text against the checked-in dump.
        QString difference;
        QVERIFY2(ReportProbe::matchesExpected(ReportProbe::pageDump(report, 0),
                                              "complete-page1.txt", &difference),
                 qPrintable(difference));

        // The first block holds the attic item with the awkward amounts and date.
        QCOMPARE(Texts(report, 0, "txtItemID", SectionKind::Detail),
                 QStringList({"A-2", "A-5", "A-7"}));
        QCOMPARE(Texts(report, 0, "txtCost", SectionKind::Detail).value(0), QString("$1,234.50"));
        QCOMPARE(Texts(report, 0, "txtCurValue", SectionKind::Detail).value(0), QString("$0.00"));
        QCOMPARE(Texts(report, 0, "txtBuyDate", SectionKind::Detail).value(0), QString("3/5/2007"));
        QVERIFY(First(report, 0, "txtNotes", SectionKind::Detail).flags & Qt::TextWordWrap);
        // Empty fields print nothing: the bare item has no serial number or notes.
        QCOMPARE(Texts(report, 0, "txtSerialNumber", SectionKind::Detail),
                 QStringList({"SN A-2", "SN A-5"}));
        QCOMPARE(Texts(report, 0, "txtNotes", SectionKind::Detail).size(), 2);

        // Each block is a closed box: rules along its top and bottom and down
        // both sides, meeting within a line's width.
        const int detailHeight = report.definition().section(SectionKind::Detail).height;
        int blocks = 0;
        for (const Band::Placement& at : report.pages()[0].placements) {
            if (at.kind == SectionKind::Detail) {
                ++blocks;
                QVERIFY2(closedBox(report, 0, at.top, at.top + detailHeight),
                         qPrintable(QString("block at %1").arg(at.top)));
            }
        }
        QCOMPARE(blocks, 3);
    }

    void roomReport() {
        TestInstall install;
        QVERIFY(Insert(install, "A-1", "Kitchen"));
        QVERIFY(Insert(install, "A-2", "Garage"));
        QVERIFY(Insert(install, "A-3", "Attic"));
        QVERIFY(Insert(install, "A-4", "Attic"));
        QVERIFY(Insert(install, "A-5", "Garage"));
        QVERIFY(Insert(install, "A-6", "Attic"));
        QVERIFY(Insert(install, Sample("A-7", "Attic", 99.999, 1e6)));

        dataReportInstance().cmdRoomTotal_Grouping();
        rptRoomReport report;
        report.bind(*dataReportInstance().rscmdRoomTotal_Grouping, kRunDate, kLocale);
        QCOMPARE(AllTexts(report, "Text1", SectionKind::GroupFooter),
                 QStringList({"Attic", "Garage", "Kitchen"}));
        QCOMPARE(AllTexts(report, "Function1", SectionKind::GroupFooter),
                 QStringList({"4", "2", "1"}));
        QCOMPARE(AllTexts(report, "Label12", SectionKind::GroupFooter),
                 QStringList(3, "Total Items:"));
        QCOMPARE(headings(report, SectionKind::GroupHeader,
                          {"Label1", "Label2", "Label3", "Label4", "Label7", "Label5", "Label6"}),
                 QString("Room:|Item ID|Item Name|Serial Number|Model Number / Name|"
                         "Accquired From|Accquired"));
        QVERIFY(AllTexts(report, "txtRoomID", SectionKind::Detail).isEmpty());
        QVERIFY(AllTexts(report, "txtCost", SectionKind::Detail).contains("$100.00"));
        QVERIFY(AllTexts(report, "txtCurValue", SectionKind::Detail).contains("$1,000,000.00"));

        // Under each room heading come that room's items, and only they.
        QStringList order;
        for (int p = 0; p < report.pageCount(); ++p) {
            for (const Band::DrawItem& d : report.pageItems(p)) {
                if (d.element == "txtRoomName" || d.element == "txtModel") {
                    order.append(d.text);
                }
            }
        }
        QCOMPARE(order, QStringList({"Attic", "Model of A-3", "Model of A-4", "Model of A-6",
                                     "Model of A-7", "Garage", "Model of A-2", "Model of A-5",
                                     "Kitchen", "Model of A-1"}));

        // Attic's header and three items fill page 1; its last item and
        // footer, then Garage's header and both items, fill page 2; Garage's
        // footer no longer fits and opens page 3, where Kitchen follows.
        QCOMPARE(report.pageCount(), 3);
        QCOMPARE(Texts(report, 0, "txtItemID", SectionKind::Detail).size(), 3);
        QString difference;
        QVERIFY2(ReportProbe::matchesExpected(ReportProbe::pageDump(report, 0), "room-page1.txt",
                                              &difference),
                 qPrintable(difference));
        QCOMPARE(Texts(report, 1, "Function1", SectionKind::GroupFooter), QStringList{"4"});
        QCOMPARE(Texts(report, 2, "Function1", SectionKind::GroupFooter), QStringList({"2", "1"}));
        QCOMPARE(Texts(report, 2, "Label17", SectionKind::PageFooter), QStringList{"3"});
        const Band::DrawItem count = First(report, 1, "Function1", SectionKind::GroupFooter);
        QCOMPARE(report.fonts()[size_t(count.font)].pointSizeF(), 9.75);
    }

    void pagination_neverSplitsNorStrandsHeaders() {
        const Band::Definition rooms = rptRoomReport::layout();
        const Band::Definition total = rptTotalInventory::layout();
        // A header that would fit alone at the foot of a page moves on with its item.
        const auto two = Band::paginate(rooms, {2, 1});
        QCOMPARE(two.size(), size_t(2));
        QCOMPARE(two[0].placements[two[0].placements.size() - 2].kind, SectionKind::GroupFooter);
        QCOMPARE(two[1].placements[1].kind, SectionKind::GroupHeader);

        // Many shapes of inventory: every section whole inside the body, every
        // header followed by its first item, every item placed once, in order.
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
                const int bodyTop = d->topMargin + d->pageHeader.height;
                const int footerTop = d->pageHeight() - d->bottomMargin - d->pageFooter.height;
                int group = 0;
                qsizetype row = 0;
                for (const Band::PagePlan& page : Band::paginate(*d, groups)) {
                    const auto& at = page.placements;
                    QCOMPARE(at.front().kind, SectionKind::PageHeader);
                    QCOMPARE(at.back().top, footerTop);
                    for (size_t i = 1; i + 1 < at.size(); ++i) {
                        QVERIFY(at[i].top >= bodyTop);
                        QVERIFY(at[i].top + d->section(at[i].kind).height <= footerTop);
                        if (at[i].kind == SectionKind::GroupHeader) {
                            QCOMPARE(at[i + 1].kind, SectionKind::Detail);
                        }
                        if (at[i].kind == SectionKind::Detail) {
                            if (row == groups[size_t(group)]) {
                                ++group;
                                row = 0;
                            }
                            QCOMPARE(at[i].group, group);
                            QCOMPARE(at[i].row, row++);
                        }
                    }
                }
                QCOMPARE(group, int(groups.size()) - 1);
                QCOMPARE(row, groups.back());
            }
        }
    }

    void dataSource_readsTheInstallationsDatabase() {
        TestInstall install;
        QVERIFY(Insert(install, "A-1", "Kitchen"));
        // A working directory holding copies where a relative path would look.
        QTemporaryDir elsewhere;
        QDir(elsewhere.path()).mkpath("Riri");
        QDir(elsewhere.path()).mkpath("home");
        QVERIFY(QFile::copy(install.databasePath(), elsewhere.path() + "/Riri/inv.inv"));
        QVERIFY(QFile::copy(install.databasePath(), elsewhere.path() + "/home/inv.inv"));
        const QString previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(elsewhere.path()));
        QVERIFY(Insert(install, "A-2", "Attic"));

        DataReport& data = dataReportInstance();
        data.cmdItemTotal();
        QDir::setCurrent(previous);
        QCOMPARE(data.rscmdItemTotal->rowCount(), 2);
        QCOMPARE(data.rscmdItemTotal->Field("ItemID"), QString("A-2"));
        // The rows are a detached snapshot: no connection stays open.
        QVERIFY(!data.conReport.isOpen());
    }

    void dataSource_readsAfreshAndFollowsTheFolder() {
        {
            TestInstall first;
            QVERIFY(Insert(first, "A-1", "Kitchen"));
            dataReportInstance().cmdRoomTotal_Grouping();
            QCOMPARE(dataReportInstance().rscmdRoomTotal_Grouping->rowCount(), 1);
            QVERIFY(Insert(first, "A-2", "Attic"));
            QVERIFY(first.exec("UPDATE tblItems SET ItemName = 'Changed' WHERE ItemID = 'A-1'"));
            dataReportInstance().cmdRoomTotal_Grouping();
            GroupedRecordset& rooms = *dataReportInstance().rscmdRoomTotal_Grouping;
            QCOMPARE(rooms.rowCount(), 2);
            QCOMPARE(rooms.Field("RoomName"), QString("Attic"));
            rooms.MoveNext();
            QCOMPARE(rooms.Field("RoomName"), QString("Kitchen"));
            QCOMPARE(rooms.child("cmdRoomTotal")->Field("ItemName"), QString("Changed"));
            QCOMPARE(rooms.child("cmdRoomTotal")->columns().size(), 14);
        }
        TestInstall second;
        QVERIFY(Insert(second, "A-9", "Den"));
        dataReportInstance().cmdItemTotal();
        QCOMPARE(dataReportInstance().rscmdItemTotal->rowCount(), 1);
        QCOMPARE(dataReportInstance().rscmdItemTotal->Field("ItemID"), QString("A-9"));

        // An installation folder whose name holds a semicolon.
        const QString odd = second.folder() + "/my;stuff";
        QVERIFY(QDir().mkpath(odd + "/home"));
        QVERIFY(QFile::copy(second.databasePath(), odd + "/home/inv.inv"));
        QVERIFY(Insert(second, "A-10", "Den"));
        setProgramFolder(odd);
        Riri::setComponentFolder(odd); // the database lies in the component's folder
        QVERIFY_THROWS_NO_EXCEPTION(dataReportInstance().cmdItemTotal());
        QCOMPARE(dataReportInstance().rscmdItemTotal->rowCount(), 1);
    }

    void dataSource_failsOnAMissingDatabase() {
        TestInstall install;
        QVERIFY(QFile::remove(install.databasePath()));
        QVERIFY_THROWS_EXCEPTION(Riri::Error, dataReportInstance().cmdItemTotal());
        QVERIFY(!QFile::exists(install.databasePath())); // never created
        QVERIFY(!dataReportInstance().conReport.isOpen());
        releaseDataReport();
        QVERIFY(!dataReport);
    }
};

QTEST_MAIN(tst_reportlayout)
#include "tst_reportlayout.moc"
