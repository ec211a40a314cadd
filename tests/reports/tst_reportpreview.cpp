// Running the reports: the preview windows, printing and the PDF file.

#include "InventorySeed.h"
#include "ReportProbe.h"
#include "TestSupport.h"

#include "MsgBox.h"
#include "frmMain.h"
#include "platform/FileDialogSeam.h"
#include "reports/ReportCommands.h"
#include "reports/ReportPageView.h"
#include "reports/dataReport.h"
#include "reports/frmReportPreview.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollArea>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

using Band::SectionKind;
using InventorySeed::Item;

namespace {

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

QList<frmReportPreview*> openPreviews() {
    QList<frmReportPreview*> found;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* preview = qobject_cast<frmReportPreview*>(w); preview && preview->isVisible()) {
            found.append(preview);
        }
    }
    return found;
}

QStringList allItemIds(const BandReport& report) {
    return ReportProbe::AllTexts(report, QStringLiteral("txtItemID"), SectionKind::Detail);
}

// "Page n of N" on every page of the text, with n counting up and N the
// number of pages.
void checkPageNumbers(const QStringList& pages, int firstNumber, int total) {
    static const QRegularExpression footer(QStringLiteral("Page\\s+(\\d+)\\s+of\\s+(\\d+)"));
    for (int i = 0; i < pages.size(); ++i) {
        const auto matches = footer.globalMatch(pages.at(i));
        QVERIFY2(matches.hasNext(),
                 qPrintable(QStringLiteral("no page footer on page %1").arg(i + 1)));
        auto it = footer.globalMatch(pages.at(i));
        const QRegularExpressionMatch m = it.next();
        QCOMPARE(m.captured(1).toInt(), firstNumber + i);
        QCOMPARE(m.captured(2).toInt(), total);
        QVERIFY2(!it.hasNext(), "one footer per page");
    }
}

} // namespace

class tst_reportpreview : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void cleanup() {
        delete TotalInventoryPreview();
        delete RoomReportPreview();
        ReleaseDataReport();
        FileDialogSeam::SetSaveFileHandler(nullptr);
        FileDialogSeam::SetPrintHandler(nullptr);
    }

    void runTwice_leavesOnePreviewWithCurrentData() {
        TestInstall install;
        MsgResponder boxes;
        QVERIFY(InventorySeed::Insert(install, item("A-1", "Kitchen")));
        QVERIFY(InventorySeed::Insert(install, item("A-2", "Attic")));

        RunTotalInventoryReport();
        QPointer<frmReportPreview> first = TotalInventoryPreview();
        QVERIFY(first);
        QVERIFY(first->isVisible());
        QCOMPARE(first->windowTitle(), QString("Complete Dedi Rividizar"));
        QCOMPARE(allItemIds(first->report()), QStringList({"A-2", "A-1"}));

        // Changed since the first run: a new item, a moved one.
        QVERIFY(InventorySeed::Insert(install, item("A-3", "Basement")));
        QVERIFY(install.exec("UPDATE tblItems SET RoomName = 'Zoo' WHERE ItemID = 'A-2'"));
        RunTotalInventoryReport();
        QVERIFY(first.isNull());
        QCOMPARE(openPreviews().size(), 1);
        QCOMPARE(allItemIds(TotalInventoryPreview()->report()), QStringList({"A-3", "A-1", "A-2"}));

        // The room report has a preview of its own beside it, replaced alike.
        RunRoomReport();
        QPointer<frmReportPreview> rooms = RoomReportPreview();
        QVERIFY(rooms);
        QCOMPARE(rooms->windowTitle(), QString("Room Inventory"));
        QCOMPARE(openPreviews().size(), 2);
        QVERIFY(InventorySeed::Insert(install, item("A-4", "Attic")));
        RunRoomReport();
        QVERIFY(rooms.isNull());
        QCOMPARE(openPreviews().size(), 2);
        QCOMPARE(ReportProbe::AllTexts(RoomReportPreview()->report(), "txtRoomName",
                                       SectionKind::GroupHeader),
                 QStringList({"Attic", "Basement", "Kitchen", "Zoo"}));

        // A preview the user closed is simply gone; the next run opens a new one.
        TotalInventoryPreview()->cmdClose->click();
        QTRY_VERIFY(TotalInventoryPreview() == nullptr);
        RunTotalInventoryReport();
        QVERIFY(TotalInventoryPreview() != nullptr);
        QCOMPARE(boxes.count(), 0);
    }

    void navigation_drawsOnlyThePagesShown() {
        TestInstall install;
        QVERIFY(InventorySeed::InsertMany(install, 300)); // 100 pages
        RunTotalInventoryReport();
        frmReportPreview* preview = TotalInventoryPreview();
        QVERIFY(preview);
        QVERIFY(QTest::qWaitForWindowExposed(preview));
        preview->pageView->grab();
        QCOMPARE(preview->currentPage(), 0);
        QCOMPARE(preview->lblPageCount->text(), QString("of 100"));
        QVERIFY(!preview->cmdPrevious->isEnabled());
        QVERIFY(!preview->cmdFirst->isEnabled());

        QTest::mouseClick(preview->cmdNext, Qt::LeftButton);
        QCOMPARE(preview->currentPage(), 1);
        QCOMPARE(preview->txtPage->value(), 2);
        QTest::mouseClick(preview->cmdLast, Qt::LeftButton);
        QCOMPARE(preview->currentPage(), 99);
        QVERIFY(!preview->cmdNext->isEnabled());
        QVERIFY(!preview->cmdLast->isEnabled());
        QTest::mouseClick(preview->cmdPrevious, Qt::LeftButton);
        QCOMPARE(preview->currentPage(), 98);
        preview->txtPage->setValue(40);
        QCOMPARE(preview->currentPage(), 39);
        QTest::mouseClick(preview->cmdFirst, Qt::LeftButton);
        QCOMPARE(preview->currentPage(), 0);

        // The page shown is the one asked for (its footer counts it).
        preview->showPage(41);
        const QImage shown = preview->pageView->grab().toImage();
        QVERIFY(!shown.isNull());
        QCOMPARE(ReportProbe::Texts(preview->report(), preview->currentPage(), "Label14",
                                    SectionKind::PageFooter),
                 QStringList{"42"});

        // Zoom: 100% is the paper at the screen's size, 200% twice that.
        preview->setZoomChoice(frmReportPreview::Percent100);
        const QSize actual = preview->pageView->size();
        QCOMPARE(actual, preview->pageView->pageSizeAt(1.0));
        preview->setZoomChoice(frmReportPreview::Percent200);
        QVERIFY(qAbs(preview->pageView->width() - 2 * actual.width()) <= 1);
        preview->setZoomChoice(frmReportPreview::FitPage);
        QVERIFY(preview->pageView->height() <= preview->scrPage->viewport()->height());
        preview->pageView->grab();

        // Only what was looked at has been drawn, never the whole report.
        QVERIFY2(preview->pageView->renderCount() <= 8,
                 qPrintable(QString::number(preview->pageView->renderCount())));
    }

    void saveAsPdf_writesEveryPage() {
        TestInstall install;
        MsgResponder boxes;
        QVERIFY(InventorySeed::Insert(install, item("A-1", "Kitchen")));
        QVERIFY(InventorySeed::Insert(install, item("A-2", "Attic", 1234.5, 0, "2007-03-05")));
        for (int n = 3; n <= 8; ++n) {
            QVERIFY(InventorySeed::Insert(install, item(QStringLiteral("A-%1").arg(n), "Garage")));
        }
        RunTotalInventoryReport();
        frmReportPreview* preview = TotalInventoryPreview();
        QVERIFY(preview);
        QCOMPARE(preview->report().pageCount(), 3);

        QTemporaryDir out;
        QString asked;
        QString suggested;
        FileDialogSeam::SetSaveFileHandler(
            [&](QWidget*, const QString& caption, const QString& proposal, const QString&) {
                asked = caption;
                suggested = proposal;
                return out.path() + QStringLiteral("/inventory"); // no suffix typed
            });
        QTest::mouseClick(preview->cmdSavePdf, Qt::LeftButton);
        QCOMPARE(asked, QString("Save as PDF"));
        QVERIFY(suggested.endsWith("/Complete Dedi Rividizar.pdf"));
        const QString path = out.path() + QStringLiteral("/inventory.pdf");
        QVERIFY(QFile::exists(path));

        const QStringList pages = ReportProbe::PdfPages(path);
        QCOMPARE(pages.size(), 3);
        checkPageNumbers(pages, 1, 3);
        for (const QString& page : pages) {
            QVERIFY(page.contains("Complete Dedi Rividizar"));
            QVERIFY(page.contains(QRegularExpression("Accquired From\\s+Accquired\\b")));
            QVERIFY(page.contains("Quorvane"));
            QVERIFY(page.contains("example.com"));
        }
        // The first block is the attic's, with its amounts and date.
        QVERIFY(pages[0].contains(QRegularExpression("A-2\\s+Name of A-2\\s+SN A-2\\s+Attic\\s+"
                                                     "Shop of A-2\\s+3/5/2007")));
        QVERIFY(pages[0].contains(QRegularExpression("Original Cost\\s+\\$1,234\\.50")));
        QVERIFY(pages[0].contains(QRegularExpression("Current Value\\s+\\$0\\.00")));
        QVERIFY(pages[0].contains(QRegularExpression("Model\\s+Model of A-2")));
        QVERIFY(pages[0].contains("Description of A-2"));
        // Rooms ascending: Attic, then the garage's six, then Kitchen last.
        QVERIFY(pages[2].contains("A-1"));
        QVERIFY(!pages[0].contains("Kitchen"));

        // Cancelling writes nothing and says nothing.
        FileDialogSeam::SetSaveFileHandler(
            [](QWidget*, const QString&, const QString&, const QString&) { return QString(); });
        QVERIFY(!preview->SaveAsPdf());
        QCOMPARE(boxes.count(), 0);

        // A file that cannot be written is reported, and an existing file of
        // that name is left as it was.
        const QString blocked = out.path() + QStringLiteral("/missing/folder/report.pdf");
        FileDialogSeam::SetSaveFileHandler(
            [&](QWidget*, const QString&, const QString&, const QString&) { return blocked; });
        boxes.expect(Riri::vbOK);
        QVERIFY(!preview->SaveAsPdf());
        QCOMPARE(boxes.count(), 1);
        QVERIFY(boxes.last().prompt.contains("report.pdf"));
        QCOMPARE(boxes.last().icon(), int(Riri::vbExclamation));
        QCOMPARE(boxes.last().title, QString("Quorvane"));
    }

    void roomReportPdf_groupsAndCounts() {
        TestInstall install;
        QVERIFY(InventorySeed::Insert(install, item("A-1", "Pantry")));
        QVERIFY(InventorySeed::Insert(install, item("A-2", "Den")));
        QVERIFY(InventorySeed::Insert(install, item("A-3", "Den")));
        QVERIFY(InventorySeed::Insert(install, item("A-4", "Bedroom 2")));
        RunRoomReport();
        frmReportPreview* preview = RoomReportPreview();
        QVERIFY(preview);
        QTemporaryDir out;
        const QString path = out.path() + QStringLiteral("/rooms.pdf");
        FileDialogSeam::SetSaveFileHandler(
            [&](QWidget*, const QString&, const QString&, const QString&) { return path; });
        QVERIFY(preview->SaveAsPdf());

        const QStringList pages = ReportProbe::PdfPages(path);
        QCOMPARE(pages.size(), preview->report().pageCount());
        checkPageNumbers(pages, 1, static_cast<int>(pages.size()));
        const QString text = pages.join(QLatin1Char('\n'));
        QVERIFY(text.contains("Inventory By Room"));
        QVERIFY(text.contains(
            QRegularExpression("Model Number / Name\\s+Accquired From\\s+Accquired")));
        // One heading and one count per room, rooms ascending.
        static const QRegularExpression heading(QStringLiteral("Room:\\s+(\\S[^\\n]*?)\\s*$"),
                                                QRegularExpression::MultilineOption);
        static const QRegularExpression count(
            QStringLiteral("Total Items:\\s+(\\d+)\\s+Room:\\s+(\\S[^\\n]*?)\\s*$"),
            QRegularExpression::MultilineOption);
        QStringList counted;
        for (auto it = count.globalMatch(text); it.hasNext();) {
            const auto m = it.next();
            counted.append(m.captured(2) + QLatin1Char('=') + m.captured(1));
        }
        QCOMPARE(counted, QStringList({"Bedroom 2=1", "Den=2", "Pantry=1"}));
        QStringList headed;
        for (auto it = heading.globalMatch(text); it.hasNext();) {
            headed.append(it.next().captured(1));
        }
        // Each room is named twice: in its heading and beside its count.
        QCOMPARE(headed, QStringList({"Bedroom 2", "Bedroom 2", "Den", "Den", "Pantry", "Pantry"}));
    }

    void print_goesToTheChosenPrinterAndRange() {
        TestInstall install;
        MsgResponder boxes;
        QVERIFY(InventorySeed::InsertMany(install, 12)); // 4 pages
        RunTotalInventoryReport();
        frmReportPreview* preview = TotalInventoryPreview();
        QVERIFY(preview);
        QTemporaryDir out;
        const QString path = out.path() + QStringLiteral("/printed.pdf");
        bool landscape = false;
        FileDialogSeam::SetPrintHandler([&](QPrinter& printer, QWidget*) {
            landscape = printer.pageLayout().orientation() == QPageLayout::Landscape;
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(path);
            printer.setPrintRange(QPrinter::PageRange);
            printer.setFromTo(2, 3);
            return true;
        });
        QTest::mouseClick(preview->cmdPrint, Qt::LeftButton);
        QVERIFY(landscape);
        QStringList pages = ReportProbe::PdfPages(path);
        QCOMPARE(pages.size(), 2);
        checkPageNumbers(pages, 2, 4);

        // The whole report when no range is chosen.
        FileDialogSeam::SetPrintHandler([&](QPrinter& printer, QWidget*) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(path);
            return true;
        });
        QVERIFY(preview->PrintReport());
        pages = ReportProbe::PdfPages(path);
        QCOMPARE(pages.size(), 4);
        checkPageNumbers(pages, 1, 4);

        // Cancelling the printer choice prints nothing.
        QVERIFY(QFile::remove(path));
        FileDialogSeam::SetPrintHandler([](QPrinter&, QWidget*) { return false; });
        QVERIFY(!preview->PrintReport());
        QVERIFY(!QFile::exists(path));
        QCOMPARE(boxes.count(), 0);
    }

    void release_keepsOpenPreviewsReadable() {
        TestInstall install;
        QVERIFY(InventorySeed::Insert(install, item("A-1", "Kitchen")));
        RunTotalInventoryReport();
        RunRoomReport();
        QVERIFY(dataReport);
        ReleaseDataReport();
        QVERIFY(!dataReport);
        QCOMPARE(allItemIds(TotalInventoryPreview()->report()), QStringList{"A-1"});
        QCOMPARE(allItemIds(RoomReportPreview()->report()), QStringList{"A-1"});
        // A later run creates the data source again.
        RunTotalInventoryReport();
        QVERIFY(dataReport);
        QCOMPARE(openPreviews().size(), 2);
    }

    void menuCommands_checkForItemsFirst() {
        TestInstall install;
        MsgResponder boxes;
        frmMain main;
        main.show();
        QAction* total = main.findChild<QAction*>("mnuTotalInventory");
        QAction* rooms = main.findChild<QAction*>("mnuInventoryByRoom");
        QVERIFY(total && rooms);

        // No items: each command says so and opens nothing.
        for (QAction* command : {total, rooms}) {
            boxes.expect(Riri::vbOK);
            command->trigger();
            QCOMPARE(boxes.last().prompt, QString("No Item records were found! "));
            QCOMPARE(boxes.last().icon(), int(Riri::vbExclamation));
            QCOMPARE(boxes.last().buttons(), int(Riri::vbOKOnly));
            QCOMPARE(boxes.last().title, QString("Quorvane"));
        }
        QCOMPARE(boxes.count(), 2);
        QCOMPARE(openPreviews().size(), 0);

        // With items each opens its preview, a window of its own above the frame.
        QVERIFY(InventorySeed::Insert(install, item("A-1", "Kitchen")));
        total->trigger();
        rooms->trigger();
        total->trigger();
        QCOMPARE(boxes.count(), 2);
        QCOMPARE(openPreviews().size(), 2);
        QCOMPARE(TotalInventoryPreview()->parentWidget(), &main);
        QVERIFY(TotalInventoryPreview()->isWindow());
        QCOMPARE(RoomReportPreview()->parentWidget(), &main);
        delete TotalInventoryPreview();
        delete RoomReportPreview();
    }

    void failure_showsNothing() {
        TestInstall install;
        MsgResponder boxes;
        QVERIFY(InventorySeed::Insert(install, item("A-1", "Kitchen")));
        RunTotalInventoryReport();
        QVERIFY(TotalInventoryPreview());
        QVERIFY(QFile::remove(install.databasePath()));
        auto pointer = [] {
            const QCursor* cursor = QApplication::overrideCursor();
            return cursor != nullptr ? int(cursor->shape()) : -1;
        };
        const int before = pointer();
        RunTotalInventoryReport();
        RunRoomReport();
        QVERIFY(TotalInventoryPreview() == nullptr);
        QVERIFY(RoomReportPreview() == nullptr);
        QCOMPARE(openPreviews().size(), 0);
        QCOMPARE(boxes.count(), 0);
        QCOMPARE(pointer(), before); // the busy pointer is gone again
    }
};

QTEST_MAIN(tst_reportpreview)
#include "tst_reportpreview.moc"
