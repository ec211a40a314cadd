// The valuation summary: its rows per room, exact totals, the owner block,
// the page footer, the menu command and a fresh read on every run.
#include "InventorySeed.h"
#include "ReportProbe.h"
#include "TestSupport.h"

#include "frmMain.h"
#include "platform/FileDialogSeam.h"
#include "reports/ReportCommands.h"
#include "reports/dataReport.h"
#include "reports/frmReportPreview.h"
#include "reports/rptValuationSummary.h"

#include <Riri/MsgBox.h>

#include <QAction>
#include <QMenu>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using Band::SectionKind;
using InventorySeed::Insert;
using InventorySeed::Sample;

namespace {

QStringList texts(const BandReport& report, const char* element, SectionKind section) {
    return ReportProbe::AllTexts(report, QLatin1String(element), section);
}

std::unique_ptr<rptValuationSummary> runSummary(const QDate& date = QDate(2026, 12, 7)) {
    DataReport& data = dataReportInstance();
    data.cmdValuationSummary();
    return std::make_unique<rptValuationSummary>(*data.rscmdValuationSummary, data.rscmdOwner.get(),
                                                 date);
}

} // namespace

class tst_valuationsummary : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        QStandardPaths::setTestModeEnabled(true); // the save dialog's folder
    }

    void cleanup() {
        delete valuationSummaryPreview();
        releaseDataReport();
        FileDialogSeam::setSaveFileHandler(nullptr);
    }

    void oneRowPerRoomWithExactTotals() {
        TestInstall install;
        QVERIFY(Insert(install, Sample("A-1", "Kitchen", 1234.5, 999)));
        QVERIFY(Insert(install, Sample("A-2", "Attic", 0.1, 0.2)));
        QVERIFY(Insert(install, Sample("A-3", "Kitchen", -3, 2.675)));
        QVERIFY(Insert(install, Sample("A-4", "Den", 0, 0)));
        QVERIFY(
            install.exec("UPDATE tblItems SET Cost = NULL, CurValue = NULL WHERE ItemID = 'A-4'"));
        // 10,000 amounts of 0.10 in the attic: exact whole cents.
        QVERIFY(install.exec(
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 10000) "
            "INSERT INTO tblItems (ItemID, ItemName, RoomName, Cost, CurValue) "
            "SELECT 'B-' || i, 'Spoon', 'Attic', 0.1, 0.1 FROM n"));
        const auto report = runSummary();
        QCOMPARE(report->pageCount(), 1);
        QCOMPARE(texts(*report, "Label11", SectionKind::PageHeader),
                 QStringList{"Valuation Summary"});
        QCOMPARE(texts(*report, "Label13", SectionKind::PageHeader),
                 QStringList{"Monday, December 7, 2026"});
        QCOMPARE(texts(*report, "Label1", SectionKind::PageHeader), QStringList{"Room"});
        QCOMPARE(texts(*report, "Label4", SectionKind::PageHeader), QStringList{"Current Value"});
        QCOMPARE(texts(*report, "txtRoomName", SectionKind::Detail),
                 (QStringList{"Attic", "Den", "Kitchen"}));
        QCOMPARE(texts(*report, "txtItemCount", SectionKind::Detail),
                 (QStringList{"10001", "1", "2"}));
        QCOMPARE(texts(*report, "txtCost", SectionKind::Detail),
                 (QStringList{"$1,000.10", "$0.00", "$1,231.50"}));
        QCOMPARE(texts(*report, "txtCurValue", SectionKind::Detail),
                 (QStringList{"$1,000.20", "$0.00", "$1,001.68"}));
        QCOMPARE(texts(*report, "lblTotal", SectionKind::GroupFooter), QStringList{"Total"});
        QCOMPARE(texts(*report, "lblTotalItems", SectionKind::GroupFooter), QStringList{"10004"});
        QCOMPARE(texts(*report, "lblTotalCost", SectionKind::GroupFooter),
                 QStringList{"$2,231.60"});
        QCOMPARE(texts(*report, "lblTotalValue", SectionKind::GroupFooter),
                 QStringList{"$2,001.88"});
        // No owner record: no owner block.
        QVERIFY(texts(*report, "lblOwnerName", SectionKind::PageHeader).isEmpty());

        // The grand total is ruled above and below, below the last room.
        const std::vector<Band::DrawItem> items = report->pageItems(0);
        qreal totalTop = -1;
        qreal lastRoomTop = -1;
        int footerRules = 0;
        for (const Band::DrawItem& item : items) {
            if (item.element == QLatin1String("lblTotal")) {
                totalTop = item.rect.top();
            }
            if (item.element == QLatin1String("txtRoomName")) {
                lastRoomTop = std::max(lastRoomTop, item.rect.top());
            }
            if (item.section == SectionKind::GroupFooter &&
                item.type == Band::DrawItem::Type::Line && item.rect.height() == 0) {
                ++footerRules;
            }
        }
        QVERIFY(totalTop > lastRoomTop && lastRoomTop > 0);
        QCOMPARE(footerRules, 2);
        // The page footer of the other reports.
        QCOMPARE(texts(*report, "Label14", SectionKind::PageFooter), QStringList{"Page"});
        QCOMPARE(texts(*report, "Label15", SectionKind::PageFooter), QStringList{"1"});
        QCOMPARE(texts(*report, "Label17", SectionKind::PageFooter), QStringList{"1"});
        QCOMPARE(texts(*report, "Label18", SectionKind::PageFooter), QStringList{"Quorvane"});
    }

    void totalsBeyondWhatDoublesHold() {
        TestInstall install;
        QVERIFY(install.exec(
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 1000) "
            "INSERT INTO tblItems (ItemID, ItemName, RoomName, Cost, CurValue) "
            "SELECT 'A-' || i, 'Estate', 'Attic', 1234567890123.47, -0.01 FROM n"));
        const auto report = runSummary();
        QCOMPARE(texts(*report, "txtCost", SectionKind::Detail),
                 QStringList{"$1,234,567,890,123,470.00"});
        QCOMPARE(texts(*report, "lblTotalValue", SectionKind::GroupFooter), QStringList{"-$10.00"});
    }

    void ownerBlockUnderTheTitle() {
        TestInstall install;
        QVERIFY(Insert(install, "A-1", "Kitchen"));
        QVERIFY(Insert(install, Sample("A-2", "Living Room", 2499.99, 1800)));
        QVERIFY(Insert(install, Sample("A-3", "Garage", 349.5, 120.25)));
        QVERIFY(install.exec("INSERT INTO tblOwner (OwnerID, LName, FName, MName, FullName, "
                             "Address, City, State, Zip) VALUES ('O-1', 'Lamb', 'Ada', 'B', "
                             "'Ada B Lamb', '12 Elm Street', 'Springfield', 'IL', '62701')"));
        const auto report = runSummary();
        QCOMPARE(texts(*report, "lblOwnerName", SectionKind::PageHeader),
                 QStringList{"Ada B Lamb"});
        QCOMPARE(texts(*report, "lblOwnerAddress", SectionKind::PageHeader),
                 QStringList{"12 Elm Street"});
        QCOMPARE(texts(*report, "lblOwnerPlace", SectionKind::PageHeader),
                 QStringList{"Springfield, IL 62701"});
        const auto first = [&report](const char* element) {
            return ReportProbe::First(*report, 0, QLatin1String(element), SectionKind::PageHeader)
                .rect;
        };
        QVERIFY(first("Label13").bottom() <= first("lblOwnerName").top());
        QVERIFY(first("lblOwnerPlace").bottom() <= first("Label1").top());
        QCOMPARE(texts(*report, "txtRoomName", SectionKind::Detail),
                 (QStringList{"Garage", "Kitchen", "Living Room"}));
        QCOMPARE(texts(*report, "lblTotalCost", SectionKind::GroupFooter),
                 QStringList{"$2,859.49"});
        if (!qEnvironmentVariableIsEmpty("QUORVANE_SHOTS")) {
            report->renderPage(0, 96).save(qEnvironmentVariable("QUORVANE_SHOTS") +
                                           QStringLiteral("/rptValuationSummary_owner.png"));
        }
    }

    void manyRoomsRunOverPagesWithTheirFooters() {
        TestInstall install;
        QVERIFY(InventorySeed::InsertMany(install, 400));
        // More rooms than fit one page: names of their own.
        for (int i = 0; i < 40; ++i) {
            QVERIFY(Insert(install, QStringLiteral("C-%1").arg(i),
                           QStringLiteral("Wing %1").arg(i, 2, 10, QLatin1Char('0'))));
        }
        const auto report = runSummary();
        QVERIFY(report->pageCount() >= 2);
        const QStringList rooms = texts(*report, "txtRoomName", SectionKind::Detail);
        QCOMPARE(rooms.size(),
                 install.scalar("SELECT COUNT(DISTINCT RoomName) FROM tblItems").toInt());
        QStringList ordered = rooms;
        std::sort(ordered.begin(), ordered.end());
        QCOMPARE(rooms, ordered);
        for (int page = 0; page < report->pageCount(); ++page) {
            QCOMPARE(ReportProbe::Texts(*report, page, "Label17", SectionKind::PageFooter),
                     QStringList{QString::number(report->pageCount())});
            QCOMPARE(ReportProbe::Texts(*report, page, "Label1", SectionKind::PageHeader),
                     QStringList{"Room"});
        }
        QCOMPARE(texts(*report, "lblTotalItems", SectionKind::GroupFooter), QStringList{"440"});
    }

    void menuCommandChecksReadsAfreshAndWritesPdf() {
        TestInstall install;
        MsgResponder boxes;
        frmMain main;
        main.show();
        QAction* command = main.findChild<QAction*>("mnuValuationSummary");
        QVERIFY(command != nullptr);
        QCOMPARE(command->text(), QStringLiteral("Valuation Summary"));
        QStringList names;
        for (QAction* a : main.findChild<QMenu*>("mnuReports")->actions()) {
            names << a->objectName();
        }
        QCOMPARE(names, (QStringList{"mnuTotalInventory", "R0", "mnuInventoryByRoom", "R1",
                                     "mnuValuationSummary", "R2", "mnuInventoryPhotos"}));
        boxes.expect(Riri::vbOK);
        command->trigger();
        QCOMPARE(boxes.last().prompt, QStringLiteral("No Item records were found! "));
        QVERIFY(valuationSummaryPreview() == nullptr);

        QVERIFY(Insert(install, Sample("A-1", "Kitchen", 10, 5)));
        command->trigger();
        QPointer<frmReportPreview> first = valuationSummaryPreview();
        QVERIFY(first && first->isVisible());
        QCOMPARE(first->windowTitle(), QStringLiteral("Valuation Summary"));
        if (!qEnvironmentVariableIsEmpty("QUORVANE_SHOTS")) {
            first->report().renderPage(0, 96).save(qEnvironmentVariable("QUORVANE_SHOTS") +
                                                   QStringLiteral("/rptValuationSummary.png"));
        }
        QCOMPARE(texts(first->report(), "lblTotalCost", SectionKind::GroupFooter),
                 QStringList{"$10.00"});
        QVERIFY(Insert(install, Sample("A-2", "Attic", 2.5, 1)));
        command->trigger();
        QVERIFY(first.isNull()); // replaced, not a second one
        QCOMPARE(
            texts(valuationSummaryPreview()->report(), "lblTotalCost", SectionKind::GroupFooter),
            QStringList{"$12.50"});

        QTemporaryDir out;
        FileDialogSeam::setSaveFileHandler(
            [&out](QWidget*, const QString&, const QString&, const QString&) {
                return out.path() + QStringLiteral("/summary.pdf");
            });
        QVERIFY(valuationSummaryPreview()->saveAsPdf());
        const QStringList pages = ReportProbe::PdfPages(out.path() + "/summary.pdf");
        QCOMPARE(pages.size(), 1);
        QVERIFY(pages[0].contains("Valuation Summary"));
        QVERIFY(pages[0].contains(QRegularExpression("Attic\\s+1\\s+\\$2\\.50\\s+\\$1\\.00")));
        QVERIFY(pages[0].contains(QRegularExpression("Total\\s+2\\s+\\$12\\.50\\s+\\$6\\.00")));
        QVERIFY(pages[0].contains(QRegularExpression("Page\\s+1\\s+of\\s+1")));
        QCOMPARE(boxes.count(), 1);
    }
};

QTEST_MAIN(tst_valuationsummary)
#include "tst_valuationsummary.moc"
