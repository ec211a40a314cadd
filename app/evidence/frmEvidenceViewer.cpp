#include "evidence/frmEvidenceViewer.h"

#include "evidence/BackgroundImage.h"
#include "evidence/PictureView.h"
#include "platform/EvidenceImage.h"
#include "platform/Fonts.h"
#include "platform/PdfPages.h"
#include "platform/Twips.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QScrollArea>
#include <QShortcut>
#include <QVBoxLayout>

namespace {

// The largest side a picture is decoded at for viewing; zooming further
// enlarges that.
constexpr int kViewSide = 4096;
// The side a PDF page is drawn at when fitted.
constexpr int kPageSide = 1600;

QPushButton* toolButton(const QString& text, const QString& name, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

void addShortcut(QWidget* window, const QKeySequence& keys, const std::function<void()>& action) {
    auto* shortcut = new QShortcut(keys, window);
    shortcut->setContext(Qt::WidgetWithChildrenShortcut);
    QObject::connect(shortcut, &QShortcut::activated, window, action);
}

} // namespace

frmEvidenceViewer::frmEvidenceViewer(const Riri::Attachment& attachment, const QString& filePath,
                                     QWidget* parent)
    : QWidget(parent), m_path(filePath) {
    setObjectName(QStringLiteral("frmEvidenceViewer"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFont(Fonts::make(Fonts::Verdana, 9.75));
    QString title = attachment.fileName;
    if (!attachment.caption.isEmpty()) {
        title = attachment.caption + QStringLiteral(" (") + attachment.fileName + QLatin1Char(')');
    }
    setWindowTitle(title);
    m_pdf = attachment.mediaType == QLatin1String("application/pdf");
    m_picture = !m_pdf && attachment.width > 0 && attachment.height > 0;

    lblTitle =
        new QLabel(Riri::evidenceKindName(attachment.kind) + QStringLiteral(": ") + title, this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    cmdFit = toolButton(QStringLiteral("&Fit"), QStringLiteral("cmdFit"), this);
    cmdZoomIn = toolButton(QStringLiteral("Zoom &In"), QStringLiteral("cmdZoomIn"), this);
    cmdZoomOut = toolButton(QStringLiteral("Zoom &Out"), QStringLiteral("cmdZoomOut"), this);
    cmdPrevious = toolButton(QStringLiteral("&Previous Page"), QStringLiteral("cmdPrevious"), this);
    cmdNext = toolButton(QStringLiteral("&Next Page"), QStringLiteral("cmdNext"), this);
    lblPage = new QLabel(this);
    lblPage->setObjectName(QStringLiteral("lblPage"));
    lblPage->setMinimumWidth(
        lblPage->fontMetrics().horizontalAdvance(QStringLiteral("Page 8888 of 8888")));

    picView = new PictureView;
    scrView = new QScrollArea(this);
    scrView->setObjectName(QStringLiteral("scrView"));
    scrView->setAlignment(Qt::AlignCenter);
    scrView->setBackgroundRole(QPalette::Dark);
    scrView->setWidget(picView);
    scrView->setWidgetResizable(true);

    auto* tools = new QHBoxLayout;
    tools->addWidget(cmdFit);
    tools->addWidget(cmdZoomIn);
    tools->addWidget(cmdZoomOut);
    tools->addSpacing(Twips::toPixels(240));
    tools->addWidget(cmdPrevious);
    tools->addWidget(cmdNext);
    tools->addWidget(lblPage);
    tools->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    const int gap = Twips::toPixels(120);
    layout->setContentsMargins(gap, gap, gap, gap);
    layout->setSpacing(gap / 2);
    layout->addWidget(lblTitle);
    layout->addLayout(tools);
    layout->addWidget(scrView, 1);

    for (QPushButton* pageButton : {cmdPrevious, cmdNext}) {
        pageButton->setVisible(m_pdf);
    }
    lblPage->setVisible(m_pdf);
    for (QPushButton* zoomButton : {cmdFit, cmdZoomIn, cmdZoomOut}) {
        zoomButton->setEnabled(m_pdf || m_picture);
    }

    connect(cmdFit, &QPushButton::clicked, this, &frmEvidenceViewer::fit);
    connect(cmdZoomIn, &QPushButton::clicked, this, [this] { zoomBy(1.25); });
    connect(cmdZoomOut, &QPushButton::clicked, this, [this] { zoomBy(0.8); });
    connect(cmdPrevious, &QPushButton::clicked, this, [this] { showPage(m_page - 1); });
    connect(cmdNext, &QPushButton::clicked, this, [this] { showPage(m_page + 1); });
    addShortcut(this, QKeySequence(Qt::Key_PageUp), [this] { showPage(m_page - 1); });
    addShortcut(this, QKeySequence(Qt::Key_PageDown), [this] { showPage(m_page + 1); });
    addShortcut(this, QKeySequence::ZoomIn, [this] { zoomBy(1.25); });
    addShortcut(this, QKeySequence::ZoomOut, [this] { zoomBy(0.8); });
    addShortcut(this, QKeySequence(Qt::CTRL | Qt::Key_0), [this] { fit(); });
    addShortcut(this, QKeySequence(Qt::Key_Escape), [this] { close(); });

    load();
}

frmEvidenceViewer* frmEvidenceViewer::open(const Riri::Attachment& attachment,
                                           const QString& filePath, QWidget* from) {
    QMdiSubWindow* frame = nullptr;
    for (QWidget* up = from; up != nullptr && frame == nullptr; up = up->parentWidget()) {
        frame = qobject_cast<QMdiSubWindow*>(up);
    }
    if (frame != nullptr && frame->mdiArea() != nullptr) {
        auto* viewer = new frmEvidenceViewer(attachment, filePath);
        QMdiSubWindow* sub = frame->mdiArea()->addSubWindow(viewer);
        sub->setAttribute(Qt::WA_DeleteOnClose);
        connect(viewer, &QObject::destroyed, sub, &QMdiSubWindow::close, Qt::QueuedConnection);
        sub->resize(viewer->sizeHint());
        sub->show();
        frame->mdiArea()->setActiveSubWindow(sub);
        return viewer;
    }
    auto* viewer = new frmEvidenceViewer(attachment, filePath, from);
    viewer->setWindowFlag(Qt::Window);
    viewer->resize(viewer->sizeHint());
    viewer->show();
    return viewer;
}

QSize frmEvidenceViewer::sizeHint() const {
    return Twips::size(10800, 8100);
}

void frmEvidenceViewer::load() {
    m_loaded = false;
    const int request = ++m_request;
    const QString path = m_path;
    auto done = [this, request](const QImage& image) {
        if (request == m_request) {
            shown(image);
        }
    };
    if (m_pdf) {
        const int page = m_page;
        const double zoom = picView->zoom() > 0 ? picView->zoom() : 1.0;
        const int side = std::min(8192, int(kPageSide * std::max(1.0, zoom)));
        BackgroundImage::run(
            this,
            [path, page, side] {
                const PdfPages pages(path);
                QImage image = pages.render(page, QSize(side, side));
                // The number of pages rides along with the page.
                image.setText(QStringLiteral("pages"), QString::number(pages.count()));
                return image;
            },
            done);
    } else if (m_picture) {
        BackgroundImage::run(
            this, [path] { return EvidenceImage::load(path, QSize(kViewSide, kViewSide)); }, done);
    } else {
        picView->setImage(QImage());
        lblPage->clear();
        lblTitle->setText(lblTitle->text() +
                          QStringLiteral("\nThis file cannot be shown here: use Open With... in "
                                         "the Item Evidence window."));
        m_loaded = true;
    }
}

void frmEvidenceViewer::shown(const QImage& image) {
    if (m_pdf) {
        m_pages = image.text(QStringLiteral("pages")).toInt();
        lblPage->setText(m_pages > 0 ? QStringLiteral("Page %1 of %2").arg(m_page + 1).arg(m_pages)
                                     : QStringLiteral("The file cannot be read."));
        cmdPrevious->setEnabled(m_page > 0);
        cmdNext->setEnabled(m_page + 1 < m_pages);
    } else if (image.isNull()) {
        lblTitle->setText(lblTitle->text() + QStringLiteral("\nThe picture cannot be read."));
    }
    picView->setImage(image);
    if (picView->zoom() > 0) {
        picView->resize(picView->zoomedSize());
    }
    m_loaded = true;
}

void frmEvidenceViewer::showPage(int page) {
    if (!m_pdf || page < 0 || (m_pages > 0 && page >= m_pages) || page == m_page) {
        return;
    }
    m_page = page;
    load();
}

void frmEvidenceViewer::zoomBy(double factor) {
    if (picView->image().isNull()) {
        return;
    }
    const double from = picView->zoom() > 0 ? picView->zoom() : picView->shownScale();
    const double zoom = std::clamp(from * factor, 0.05, 8.0);
    scrView->setWidgetResizable(false);
    picView->setZoom(zoom);
    picView->resize(picView->zoomedSize());
}

void frmEvidenceViewer::fit() {
    picView->setZoom(0);
    scrView->setWidgetResizable(true);
}
