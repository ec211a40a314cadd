// Running the reports: the menu commands, the preview windows, printing and
// the PDF file.

#include "InventorySeed.h"
#include "ReportProbe.h"
#include "TestSupport.h"

#include "frmMain.h"
#include "platform/FileDialogSeam.h"
#include "reports/ReportCommands.h"
#include "reports/ReportPageView.h"
#include "reports/dataReport.h"
#include "reports/frmReportPreview.h"

#include <Riri/MsgBox.h>

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPointer>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollArea>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using Band::SectionKind;
using InventorySeed::Insert;

namespace {

QList<frmReportPreview*> openPreviews() {
    QList<frmReportPreview*> found;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* preview = qobject_cast<frmReportPreview*>(w); preview && preview->isVisible()) {
            found.append(preview);
        }
    }
    return found;
}

QStringList itemIds(const frmReportPreview* preview) {
    return ReportProbe::AllTexts(preview->report(), "txtItemID", SectionKind::Detail);
}

void answerSave(const QString& path) {
    FileDialogSeam::setSaveFileHandler(
        [path](QWidget*, const QString&, const QString&, const QString&) { return path; });
}

// Exactly one "Page n of N" on every page, n counting up from `first`.
void checkPageNumbers(const QStringList& pages, int first, int total) {
    static const QRegularExpression footer(QStringLiteral("Page\\s+(\\d+)\\s+of\\s+(\\d+)"));
    for (int i = 0; i < pages.size(); ++i) {
        auto it = footer.globalMatch(pages.at(i));
        QVERIFY2(it.hasNext(), qPrintable(QStringLiteral("no footer on page %1").arg(i + 1)));
        const QRegularExpressionMatch m = it.next();
        QCOMPARE(m.captured(1).toInt(), first + i);
        QCOMPARE(m.captured(2).toInt(), total);
        QVERIFY(!it.hasNext());
    }
}

} // namespace

class tst_reportpreview : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        QStandardPaths::setTestModeEnabled(true); // the save dialog's folder
    }

    void cleanup() {
        delete totalInventoryPreview();
        delete roomReportPreview();
        releaseDataReport();
        FileDialogSeam::setSaveFileHandler(nullptr);
        FileDialogSeam::setPrintHandler(nullptr);
    }

    void menuCommands_checkForItemsFirst() {
        TestInstall install;
        MsgResponder boxes;
        frmMain main;
        main.show();
        QAction* total = main.findChild<QAction*>("mnuTotalInventory");
        QAction* rooms = main.findChild<QAction*>("mnuInventoryByRoom");
        QVERIFY(total && rooms);
        for (QAction* command : {total, rooms}) {
            boxes.expect(Riri::vbOK);
            command->trigger();
            QCOMPARE(boxes.last().prompt, QString("No Item records were found! "));
            QCOMPARE(boxes.last().flags, int(Riri::vbExclamation | Riri::vbOKOnly));
            QCOMPARE(boxes.last().title, QString("Quorvane"));
        }
        QCOMPARE(openPreviews().size(), 0);

        QVERIFY(Insert(install, "A-1", "Kitchen"));
        total->trigger();
        rooms->trigger();
        QCOMPARE(boxes.count(), 2);
        QCOMPARE(openPreviews().size(), 2);
        QCOMPARE(totalInventoryPreview()->parentWidget(), &main); // kept above the frame
        QVERIFY(totalInventoryPreview()->isWindow());
        delete totalInventoryPreview();
        delete roomReportPreview();
    }

    void runTwice_leavesOnePreviewWithCurrentData() {
        TestInstall install;
        QVERIFY(Insert(install, "A-1", "Kitchen"));
        QVERIFY(Insert(install, "A-2", "Attic"));
        runTotalInventoryReport();
        QPointer<frmReportPreview> first = totalInventoryPreview();
        QVERIFY(first && first->isVisible());
        QCOMPARE(first->windowTitle(), QString("Complete Dedi Rividizar"));
        QCOMPARE(itemIds(first), QStringList({"A-2", "A-1"}));

        QVERIFY(Insert(install, "A-3", "Basement"));
        QVERIFY(install.exec("UPDATE tblItems SET RoomName = 'Zoo' WHERE ItemID = 'A-2'"));
        runTotalInventoryReport();
        QVERIFY(first.isNull());
        QCOMPARE(openPreviews().size(), 1);
        QCOMPARE(itemIds(totalInventoryPreview()), QStringList({"A-3", "A-1", "A-2"}));

        // The room report's preview stands beside it and is replaced alike.
        runRoomReport();
        QPointer<frmReportPreview> rooms = roomReportPreview();
        QCOMPARE(rooms->windowTitle(), QString("Room Inventory"));
        QVERIFY(Insert(install, "A-4", "Attic"));
        runRoomReport();
        QVERIFY(rooms.isNull());
        QCOMPARE(openPreviews().size(), 2);
        QCOMPARE(itemIds(roomReportPreview()), QStringList({"A-4", "A-3", "A-1", "A-2"}));

        // A preview the user closed is gone; the next run opens a new one.
        totalInventoryPreview()->cmdClose->click();
        QTRY_VERIFY(totalInventoryPreview() == nullptr);
        runTotalInventoryReport();
        QVERIFY(totalInventoryPreview() != nullptr);
    }

    void navigation_drawsOnlyThePagesShown() {
        TestInstall install;
        QVERIFY(InventorySeed::InsertMany(install, 300)); // 100 pages
        runTotalInventoryReport();
        frmReportPreview* preview = totalInventoryPreview();
        QVERIFY(QTest::qWaitForWindowExposed(preview));
        QCOMPARE(preview->lblPageCount->text(), QString("of 100"));
        QVERIFY(!preview->cmdPrevious->isEnabled());
        QTest::mouseClick(preview->cmdNext, Qt::LeftButton);
        QCOMPARE(preview->currentPage(), 1);
        QCOMPARE(preview->txtPage->value(), 2);
        QTest::mouseClick(preview->cmdLast, Qt::LeftButton);
        QCOMPARE(preview->currentPage(), 99);
        QVERIFY(!preview->cmdNext->isEnabled());
        QTest::mouseClick(preview->cmdPrevious, Qt::LeftButton);
        QCOMPARE(preview->currentPage(), 98);
        preview->txtPage->setValue(42);
        QCOMPARE(preview->currentPage(), 41);
        QVERIFY(!preview->pageView->grab().isNull());
        QTest::mouseClick(preview->cmdFirst, Qt::LeftButton);
        QCOMPARE(preview->currentPage(), 0);

        preview->setZoomChoice(frmReportPreview::Percent100);
        const QSize actual = preview->pageView->size();
        QCOMPARE(actual, preview->pageView->pageSizeAt(1.0));
        preview->setZoomChoice(frmReportPreview::Percent200);
        QVERIFY(qAbs(preview->pageView->width() - 2 * actual.width()) <= 1);
        preview->setZoomChoice(frmReportPreview::FitPage);
        QVERIFY(preview->pageView->height() <= preview->scrPage->viewport()->height());
        preview->pageView->grab();
        // Only what was looked at has been drawn, never the whole report.
        QVERIFY(preview->pageView->renderCount() <= 6);
    }

    void saveAsPdf_completeReport() {
        TestInstall install;
        MsgResponder boxes;
        QVERIFY(Insert(install, "A-1", "Kitchen"));
        QVERIFY(Insert(install, InventorySeed::Sample("A-2", "Attic", 1234.5, 0, "2007-03-05")));
        for (int n = 3; n <= 8; ++n) {
            QVERIFY(Insert(install, QStringLiteral("A-%1").arg(n), "Garage"));
        }
        runTotalInventoryReport();
        frmReportPreview* preview = totalInventoryPreview();
        QTemporaryDir out;
        QString suggested;
        FileDialogSeam::setSaveFileHandler(
            [&](QWidget*, const QString&, const QString& proposal, const QString&) {
                suggested = proposal;
                return out.path() + QStringLiteral("/inventory"); // no suffix typed
            });
        QTest::mouseClick(preview->cmdSavePdf, Qt::LeftButton);
        QVERIFY(suggested.endsWith("/Complete Dedi Rividizar.pdf"));

        const QStringList pages = ReportProbe::PdfPages(out.path() + "/inventory.pdf");
        QCOMPARE(pages.size(), 3);
        checkPageNumbers(pages, 1, 3);
        for (const QString& page : pages) {
            QVERIFY(page.contains("Complete Dedi Rividizar"));
            QVERIFY(page.contains(QRegularExpression("Room\\s+Accquired From\\s+Accquired\\n")));
            QVERIFY(page.contains(QRegularExpression("Quorvane\\s+www.example.com")));
        }
        QVERIFY(pages[0].contains(QRegularExpression(
            "A-2\\s+Name of A-2\\s+SN A-2\\s+Attic\\s+Shop of A-2\\s+3/5/2007")));
        QVERIFY(pages[0].contains(QRegularExpression("Original Cost\\s+\\$1,234\\.50")));
        QVERIFY(pages[0].contains(QRegularExpression("Current Value\\s+\\$0\\.00")));
        QVERIFY(pages[2].contains("Kitchen") && !pages[0].contains("Kitchen"));

        // Cancelling writes nothing and says nothing; a file that cannot be
        // written is reported.
        answerSave(QString());
        QVERIFY(!preview->saveAsPdf());
        QCOMPARE(boxes.count(), 0);
        answerSave(out.path() + QStringLiteral("/missing/report.pdf"));
        boxes.expect(Riri::vbOK);
        QVERIFY(!preview->saveAsPdf());
        QVERIFY(boxes.last().prompt.contains("report.pdf"));
        QCOMPARE(boxes.last().flags, int(Riri::vbExclamation));
    }

    void saveAsPdf_roomReport() {
        TestInstall install;
        QVERIFY(Insert(install, "A-1", "Pantry"));
        QVERIFY(Insert(install, "A-2", "Den"));
        QVERIFY(Insert(install, "A-3", "Den"));
        QVERIFY(Insert(install, "A-4", "Bedroom 2"));
        runRoomReport();
        QTemporaryDir out;
        answerSave(out.path() + QStringLiteral("/rooms.pdf"));
        QVERIFY(roomReportPreview()->saveAsPdf());
        // The next save starts in the folder the last one went to.
        QString proposed;
        FileDialogSeam::setSaveFileHandler(
            [&](QWidget*, const QString&, const QString& suggested, const QString&) {
                proposed = suggested;
                return QString();
            });
        QVERIFY(!roomReportPreview()->saveAsPdf());
        QCOMPARE(QFileInfo(proposed).absolutePath(), out.path());

        const QStringList pages = ReportProbe::PdfPages(out.path() + "/rooms.pdf");
        QCOMPARE(pages.size(), roomReportPreview()->report().pageCount());
        checkPageNumbers(pages, 1, int(pages.size()));
        const QString text = pages.join(QLatin1Char('\n'));
        QVERIFY(text.contains("Inventory By Room"));
        QVERIFY(text.contains(
            QRegularExpression("Model Number / Name\\s+Accquired From\\s+Accquired")));
        // Each room named in its heading, then beside its count; rooms ascending.
        static const QRegularExpression room(
            QStringLiteral("(?:Total Items:\\s+(\\d+)\\s+)?Room:\\s+(\\S[^\\n]*?)\\s*$"),
            QRegularExpression::MultilineOption);
        QStringList rooms;
        for (auto it = room.globalMatch(text); it.hasNext();) {
            const auto m = it.next();
            rooms.append(m.captured(2) + (m.hasCaptured(1) ? "=" + m.captured(1) : QString()));
        }
        QCOMPARE(rooms,
                 QStringList({"Bedroom 2", "Bedroom 2=1", "Den", "Den=2", "Pantry", "Pantry=1"}));
    }

    void print_goesToTheChosenPrinterAndRange() {
        TestInstall install;
        QVERIFY(InventorySeed::InsertMany(install, 12)); // 4 pages
        runTotalInventoryReport();
        frmReportPreview* preview = totalInventoryPreview();
        QTemporaryDir out;
        const QString path = out.path() + QStringLiteral("/printed.pdf");
        bool landscape = false;
        int from = 2;
        FileDialogSeam::setPrintHandler([&](QPrinter& printer, QWidget*) {
            landscape = printer.pageLayout().orientation() == QPageLayout::Landscape;
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(path);
            if (from > 0) {
                printer.setPrintRange(QPrinter::PageRange);
                printer.setFromTo(from, 3);
            }
            return true;
        });
        QTest::mouseClick(preview->cmdPrint, Qt::LeftButton);
        QVERIFY(landscape);
        checkPageNumbers(ReportProbe::PdfPages(path), 2, 4);
        QCOMPARE(ReportProbe::PdfPages(path).size(), 2);
        from = 0; // all pages
        QVERIFY(preview->printReport());
        QCOMPARE(ReportProbe::PdfPages(path).size(), 4);

        QVERIFY(QFile::remove(path));
        FileDialogSeam::setPrintHandler([](QPrinter&, QWidget*) { return false; });
        QVERIFY(!preview->printReport());
        QVERIFY(!QFile::exists(path));
    }

    void release_keepsOpenPreviewsReadable() {
        TestInstall install;
        QVERIFY(Insert(install, "A-1", "Kitchen"));
        runTotalInventoryReport();
        runRoomReport();
        releaseDataReport();
        QVERIFY(!dataReport);
        QCOMPARE(itemIds(totalInventoryPreview()), QStringList{"A-1"});
        QCOMPARE(itemIds(roomReportPreview()), QStringList{"A-1"});
        runTotalInventoryReport();
        QVERIFY(dataReport);
        QCOMPARE(openPreviews().size(), 2);
    }

    void failure_showsNothing() {
        TestInstall install;
        MsgResponder boxes;
        QVERIFY(Insert(install, "A-1", "Kitchen"));
        runTotalInventoryReport();
        QVERIFY(totalInventoryPreview());
        QVERIFY(QFile::remove(install.databasePath()));
        auto pointer = [] {
            const QCursor* cursor = QApplication::overrideCursor();
            return cursor != nullptr ? int(cursor->shape()) : -1;
        };
        const int before = pointer();
        runTotalInventoryReport();
        runRoomReport();
        QCOMPARE(openPreviews().size(), 0);
        QCOMPARE(boxes.count(), 0);
        QCOMPARE(pointer(), before); // the busy pointer is gone again
    }
};

QTEST_MAIN(tst_reportpreview)
#include "tst_reportpreview.moc"
