#include "reports/frmReportPreview.h"

#include "AppInfo.h"
#include "platform/DialogFolder.h"
#include "platform/FileDialogSeam.h"
#include "reports/BandReport.h"
#include "reports/ReportPageView.h"

#include <Riri/MsgBox.h>

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QVBoxLayout>
#include <utility>

namespace {

constexpr qreal kPercent[] = {0, 0, 0.5, 0.75, 1.0, 1.5, 2.0};

} // namespace

frmReportPreview::frmReportPreview(std::unique_ptr<BandReport> report, QWidget* parent)
    : QWidget(parent, Qt::Window), m_report(std::move(report)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(m_report->definition().caption);

    cmdFirst = new QPushButton(tr("|<"), this);
    cmdFirst->setToolTip(tr("First page"));
    cmdPrevious = new QPushButton(tr("<"), this);
    cmdPrevious->setToolTip(tr("Previous page"));
    txtPage = new QSpinBox(this);
    txtPage->setAccelerated(true);
    lblPageCount = new QLabel(this);
    cmdNext = new QPushButton(tr(">"), this);
    cmdNext->setToolTip(tr("Next page"));
    cmdLast = new QPushButton(tr(">|"), this);
    cmdLast->setToolTip(tr("Last page"));
    cboZoom = new QComboBox(this);
    cboZoom->addItems({tr("Fit Page"), tr("Fit Width"), tr("50%"), tr("75%"), tr("100%"),
                       tr("150%"), tr("200%")});
    cmdPrint = new QPushButton(tr("&Print..."), this);
    cmdSavePdf = new QPushButton(tr("&Save as PDF..."), this);
    cmdClose = new QPushButton(tr("&Close"), this);

    pageView = new ReportPageView(*m_report);
    scrPage = new QScrollArea(this);
    scrPage->setBackgroundRole(QPalette::Dark);
    scrPage->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    scrPage->setWidget(pageView);
    scrPage->installEventFilter(this);
    // The fitting zooms follow the page area's own size, which is only known
    // once the window is laid out on screen.
    scrPage->viewport()->installEventFilter(this);

    auto* bar = new QHBoxLayout;
    for (QWidget* w : {static_cast<QWidget*>(cmdFirst), static_cast<QWidget*>(cmdPrevious),
                       static_cast<QWidget*>(txtPage), static_cast<QWidget*>(lblPageCount),
                       static_cast<QWidget*>(cmdNext), static_cast<QWidget*>(cmdLast)}) {
        bar->addWidget(w);
    }
    bar->addSpacing(16);
    bar->addWidget(cboZoom);
    bar->addStretch(1);
    bar->addWidget(cmdPrint);
    bar->addWidget(cmdSavePdf);
    bar->addWidget(cmdClose);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(bar);
    layout->addWidget(scrPage, 1);

    connect(cmdFirst, &QPushButton::clicked, this, [this] { showPage(0); });
    connect(cmdPrevious, &QPushButton::clicked, this, [this] { showPage(currentPage() - 1); });
    connect(cmdNext, &QPushButton::clicked, this, [this] { showPage(currentPage() + 1); });
    connect(cmdLast, &QPushButton::clicked, this, [this] { showPage(m_report->pageCount() - 1); });
    connect(txtPage, &QSpinBox::valueChanged, this, [this](int value) { showPage(value - 1); });
    connect(cboZoom, &QComboBox::currentIndexChanged, this, &frmReportPreview::applyZoom);
    connect(cmdPrint, &QPushButton::clicked, this, &frmReportPreview::printReport);
    connect(cmdSavePdf, &QPushButton::clicked, this, &frmReportPreview::saveAsPdf);
    connect(cmdClose, &QPushButton::clicked, this, &QWidget::close);

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        resize(area.width() * 4 / 5, area.height() * 4 / 5);
    }
    cboZoom->setCurrentIndex(FitWidth);
    applyZoom();
    updatePageCount();
}

void frmReportPreview::setReport(std::unique_ptr<BandReport> report) {
    // The page view lets go of the old report before it is freed.
    const std::unique_ptr<BandReport> old = std::exchange(m_report, std::move(report));
    pageView->setReport(*m_report);
    applyZoom();
    updatePageCount();
}

void frmReportPreview::updatePageCount() {
    {
        const QSignalBlocker block(txtPage);
        txtPage->setRange(1, qMax(1, m_report->pageCount()));
    }
    lblPageCount->setText(tr("of %1").arg(m_report->pageCount()));
    updateNavigation();
}

frmReportPreview::~frmReportPreview() = default;

int frmReportPreview::currentPage() const {
    return pageView->page();
}

void frmReportPreview::showPage(int page) {
    pageView->setPage(page);
    scrPage->verticalScrollBar()->setValue(0);
    updateNavigation();
}

void frmReportPreview::updateNavigation() {
    const int page = currentPage();
    const int last = m_report->pageCount() - 1;
    cmdFirst->setEnabled(page > 0);
    cmdPrevious->setEnabled(page > 0);
    cmdNext->setEnabled(page < last);
    cmdLast->setEnabled(page < last);
    const QSignalBlocker block(txtPage);
    txtPage->setValue(page + 1);
}

void frmReportPreview::setZoomChoice(Zoom choice) {
    cboZoom->setCurrentIndex(choice);
}

void frmReportPreview::applyZoom() {
    const int choice = cboZoom->currentIndex();
    if (choice >= Percent50 && choice <= Percent200) {
        pageView->setZoom(kPercent[choice]);
        return;
    }
    // Fitting leaves room for the frame and a vertical scroll bar.
    const QSize actual = pageView->pageSizeAt(1.0);
    const QSize room = scrPage->viewport()->size() - QSize(4, 4);
    const int bar = scrPage->verticalScrollBar()->sizeHint().width();
    qreal zoom = qreal(room.width() - (choice == FitWidth ? bar : 0)) / actual.width();
    if (choice == FitPage) {
        zoom = qMin(zoom, qreal(room.height()) / actual.height());
    }
    pageView->setZoom(zoom);
}

bool frmReportPreview::eventFilter(QObject* watched, QEvent* event) {
    // The fitting zooms follow the page area's size.
    if (watched == scrPage->viewport() && event->type() == QEvent::Resize &&
        cboZoom->currentIndex() <= FitWidth) {
        applyZoom();
    }
    // Page Down at the foot of a page turns to the next one, Page Up at its
    // head to the previous one; elsewhere they scroll as usual.
    if (watched == scrPage && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        QScrollBar* bar = scrPage->verticalScrollBar();
        if (key->key() == Qt::Key_PageDown && bar->value() >= bar->maximum() &&
            currentPage() < m_report->pageCount() - 1) {
            showPage(currentPage() + 1);
            return true;
        }
        if (key->key() == Qt::Key_PageUp && bar->value() <= bar->minimum() && currentPage() > 0) {
            showPage(currentPage() - 1);
            bar->setValue(bar->maximum());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

bool frmReportPreview::saveAsPdf() {
    const DialogFolder folder(QStringLiteral("pdf"));
    const QString suggested =
        folder.suggest(m_report->definition().caption + QStringLiteral(".pdf"));
    QString path = folder.askSave(this, tr("Save as PDF"), suggested, tr("PDF files (*.pdf)"));
    if (path.isEmpty()) {
        return false;
    }
    if (QFileInfo(path).suffix().isEmpty()) {
        path += QStringLiteral(".pdf");
    }
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const bool written = m_report->writePdf(path);
    QGuiApplication::restoreOverrideCursor();
    if (!written) {
        Riri::MsgBox(QStringLiteral("The report could not be saved as ") +
                         QDir::toNativeSeparators(path),
                     Riri::vbOKOnly | Riri::vbExclamation, AppInfo::Title);
    }
    return written;
}

bool frmReportPreview::printReport() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(m_report->definition().landscape ? QPageLayout::Landscape
                                                                : QPageLayout::Portrait);
    printer.setPageSize(QPageSize(QPageSize::Letter));
    printer.setDocName(m_report->definition().caption);
    if (!FileDialogSeam::choosePrinter(printer, this)) {
        return false;
    }
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const bool printed = m_report->print(printer);
    QGuiApplication::restoreOverrideCursor();
    if (!printed) {
        Riri::MsgBox(QStringLiteral("The report could not be printed."),
                     Riri::vbOKOnly | Riri::vbExclamation, AppInfo::Title);
    }
    return printed;
}
