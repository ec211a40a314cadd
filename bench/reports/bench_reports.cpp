// Figures for the inventory reports:
//  - writing the complete inventory as PDF for 1,000 and 10,000 items, against
//    drawing the same text and line elements with QPdfWriter directly;
//  - the time from running the report to its preview's first drawn page.
// Usage: bench_reports [--dump FOLDER]   (FOLDER receives page pictures and PDFs)

#include "InventorySeed.h"
#include "TestSupport.h"

#include "reports/BandReport.h"
#include "reports/ReportCommands.h"
#include "reports/ReportPageView.h"
#include "reports/dataReport.h"
#include "reports/frmReportPreview.h"
#include "reports/rptRoomReport.h"
#include "reports/rptTotalInventory.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

namespace {

double ms(const QElapsedTimer& t) {
    return t.nsecsElapsed() / 1e6;
}

// Draws the given elements page by page with QPdfWriter and nothing else.
double drawDirectly(const std::vector<std::vector<Band::DrawItem>>& pages,
                    const std::vector<QFont>& fonts, const QString& path) {
    QElapsedTimer t;
    t.start();
    QPdfWriter writer(path);
    writer.setPageLayout(
        QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Landscape, QMarginsF()));
    writer.setResolution(1200);
    QPainter p(&writer);
    const qreal s = 1200 / 1440.0;
    QPen pen(Qt::black);
    pen.setWidthF(BandReport::kLineWidth * s);
    p.setPen(pen);
    int current = -1;
    for (size_t i = 0; i < pages.size(); ++i) {
        if (i > 0) {
            writer.newPage();
        }
        for (const Band::DrawItem& item : pages[i]) {
            const QRectF r(item.rect.left() * s, item.rect.top() * s, item.rect.width() * s,
                           item.rect.height() * s);
            if (item.type == Band::DrawItem::Type::Line) {
                p.drawLine(QLineF(r.topLeft(), r.bottomRight()));
            } else {
                if (item.font != current) {
                    p.setFont(fonts[static_cast<size_t>(item.font)]);
                    current = item.font;
                }
                p.drawText(r, item.flags, item.text);
            }
        }
    }
    p.end();
    return ms(t);
}

void pdfFigures(int items, const QString& scratch) {
    TestInstall install;
    if (!install.isValid() || !InventorySeed::InsertMany(install, items)) {
        std::printf("could not prepare %d items\n", items);
        return;
    }
    // The elements the report draws, for drawing them directly.
    dataReportInstance().cmdItemTotal();
    rptTotalInventory reference;
    reference.bind(dataReportInstance().rscmdItemTotal);
    std::vector<std::vector<Band::DrawItem>> pages;
    pages.reserve(static_cast<size_t>(reference.pageCount()));
    size_t texts = 0;
    size_t lines = 0;
    for (int i = 0; i < reference.pageCount(); ++i) {
        pages.push_back(reference.pageItems(i));
        for (const Band::DrawItem& d : pages.back()) {
            (d.type == Band::DrawItem::Type::Line ? lines : texts) += 1;
        }
    }

    // Three rounds, each side in turn; the best of each counts, so that
    // neither pays alone for cold caches or a busy moment of the machine.
    double bestRead = 1e300;
    double bestWriting = 1e300;
    double bestTotal = 1e300;
    double bestDirect = 1e300;
    bool ok = true;
    const QString enginePdf = scratch + QStringLiteral("/engine-%1.pdf").arg(items);
    for (int round = 0; round < 3; ++round) {
        QElapsedTimer t;
        t.start();
        dataReportInstance().cmdItemTotal();
        rptTotalInventory report;
        report.bind(dataReportInstance().rscmdItemTotal);
        const double readAndPlan = ms(t);
        QElapsedTimer w;
        w.start();
        ok = report.writePdf(enginePdf) && ok;
        bestWriting = std::min(bestWriting, ms(w));
        bestTotal = std::min(bestTotal, ms(t));
        bestRead = std::min(bestRead, readAndPlan);
        bestDirect = std::min(bestDirect, drawDirectly(pages, reference.fonts(),
                                                       scratch + QStringLiteral("/direct.pdf")));
    }

    std::printf("complete report, %d items: %d pages, %zu texts, %zu lines%s\n", items,
                reference.pageCount(), texts, lines, ok ? "" : " (PDF FAILED)");
    std::printf("  read + plan pages:            %9.1f ms\n", bestRead);
    std::printf("  PDF writing:                  %9.1f ms (%.1f MB)\n", bestWriting,
                QFileInfo(enginePdf).size() / 1e6);
    std::printf("  report total (read to file):  %9.1f ms\n", bestTotal);
    std::printf("  QPdfWriter directly:          %9.1f ms\n", bestDirect);
    std::printf("  ratio total / direct:         %9.2f   (target <= 1.5)\n",
                bestTotal / bestDirect);
    std::printf("  ratio writing / direct:       %9.2f\n", bestWriting / bestDirect);
    releaseDataReport();
}

void previewFigure(int items) {
    TestInstall install;
    if (!install.isValid() || !InventorySeed::InsertMany(install, items)) {
        return;
    }
    for (int run = 1; run <= 3; ++run) {
        QElapsedTimer t;
        t.start();
        runTotalInventoryReport();
        frmReportPreview* preview = totalInventoryPreview();
        if (preview == nullptr) {
            std::printf("no preview\n");
            return;
        }
        QApplication::processEvents();
        preview->pageView->repaint();
        const double first = ms(t);
        std::printf("preview, %d items (%d pages), run %d: first page drawn after %.1f ms "
                    "(target <= 1000), pages drawn: %d\n",
                    items, preview->report().pageCount(), run, first,
                    preview->pageView->renderCount());
    }
    delete totalInventoryPreview();
    releaseDataReport();
}

void dump(const QString& folder) {
    QDir().mkpath(folder);
    TestInstall install;
    InventorySeed::InsertMany(install, 40);
    InventorySeed::Item odd{QStringLiteral("A-99"),
                            QStringLiteral("Grandfather clock"),
                            QStringLiteral("GC-1"),
                            QStringLiteral("Westerly 7"),
                            QStringLiteral("Attic"),
                            1234.5,
                            0,
                            QStringLiteral("2007-03-05"),
                            QStringLiteral("Estate sale"),
                            QStringLiteral("Tall case clock in oak with a brass dial and moon "
                                           "phase. Chimes on the quarter hour.\nKey in drawer."),
                            QStringLiteral("Wound every Sunday.")};
    InventorySeed::Insert(install, odd);
    DataReport& data = dataReportInstance();
    data.cmdItemTotal();
    rptTotalInventory total;
    total.bind(data.rscmdItemTotal);
    data.cmdRoomTotal_Grouping();
    rptRoomReport rooms;
    rooms.bind(*data.rscmdRoomTotal_Grouping);
    for (int i = 0; i < 2; ++i) {
        total.renderPage(i, 120).save(folder + QStringLiteral("/total-%1.png").arg(i + 1));
        rooms.renderPage(i, 120).save(folder + QStringLiteral("/rooms-%1.png").arg(i + 1));
    }
    total.writePdf(folder + QStringLiteral("/total.pdf"));
    rooms.writePdf(folder + QStringLiteral("/rooms.pdf"));
    runRoomReport();
    if (frmReportPreview* preview = roomReportPreview()) {
        preview->resize(1100, 800);
        QApplication::processEvents();
        preview->grab().save(folder + QStringLiteral("/preview.png"));
        delete preview;
    }
    releaseDataReport();
    std::printf("pictures and PDFs written to %s\n", qPrintable(folder));
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    const QStringList args = QApplication::arguments();
    const qsizetype at = args.indexOf(QStringLiteral("--dump"));
    if (at > 0 && at + 1 < args.size()) {
        dump(args.at(at + 1));
        return 0;
    }
    QTemporaryDir scratch;
    pdfFigures(1000, scratch.path());
    pdfFigures(10000, scratch.path());
    previewFigure(10000);
    return 0;
}
