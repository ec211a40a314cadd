#include "platform/HelpViewer.h"

#include "platform/Twips.h"

#include <QFileInfo>
#include <QHelpContentModel>
#include <QHelpContentWidget>
#include <QHelpEngine>
#include <QHelpIndexWidget>
#include <QHelpLink>
#include <QHelpSearchEngine>
#include <QHelpSearchQueryWidget>
#include <QHelpSearchResultWidget>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QSplitter>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

QPointer<HelpViewer> g_viewer;
QString g_helpFile;

} // namespace

HelpBrowser::HelpBrowser(QHelpEngine* engine, QWidget* parent)
    : QTextBrowser(parent), m_engine(engine) {
    setOpenExternalLinks(true);
}

QVariant HelpBrowser::loadResource(int type, const QUrl& name) {
    if (name.scheme() == QLatin1String("qthelp")) {
        return m_engine->fileData(name);
    }
    return QTextBrowser::loadResource(type, name);
}

QUrl HelpViewer::homePage() {
    return QUrl(QStringLiteral("qthelp://quorvane.help/doc/index.html"));
}

void HelpViewer::setHelpFile(const QString& collectionFile) {
    g_helpFile = collectionFile;
}

QString HelpViewer::helpFile() {
    return g_helpFile;
}

HelpViewer* HelpViewer::current() {
    return g_viewer.data();
}

HelpViewer* HelpViewer::open(const QString& collectionFile, QWidget* owner) {
    if (g_viewer) {
        g_viewer->showNormal();
        g_viewer->raise();
        g_viewer->activateWindow();
        return g_viewer.data();
    }
    if (!QFileInfo(collectionFile).isFile()) {
        return nullptr;
    }
    auto* engine = new QHelpEngine(collectionFile);
    engine->setReadOnly(false);
    if (!engine->setupData() || engine->registeredDocumentations().isEmpty()) {
        delete engine;
        return nullptr;
    }
    auto* viewer = new HelpViewer(engine, owner);
    g_viewer = viewer;
    viewer->show();
    return viewer;
}

HelpViewer::HelpViewer(QHelpEngine* engine, QWidget* owner)
    : QWidget(owner, Qt::Window), m_engine(engine) {
    setObjectName(QStringLiteral("HelpViewer"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Quorvane help"));
    engine->setParent(this);

    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("helpTabs"));

    QHelpContentWidget* contents = engine->contentWidget();
    m_tabs->addTab(contents, QStringLiteral("Contents"));

    auto* indexPage = new QWidget(m_tabs);
    auto* indexLayout = new QVBoxLayout(indexPage);
    indexLayout->addWidget(new QLabel(QStringLiteral("&Look for:"), indexPage));
    m_indexFilter = new QLineEdit(indexPage);
    m_indexFilter->setObjectName(QStringLiteral("indexFilter"));
    indexLayout->addWidget(m_indexFilter);
    QHelpIndexWidget* index = engine->indexWidget();
    indexLayout->addWidget(index);
    qobject_cast<QLabel*>(indexLayout->itemAt(0)->widget())->setBuddy(m_indexFilter);
    m_tabs->addTab(indexPage, QStringLiteral("Index"));

    auto* searchPage = new QWidget(m_tabs);
    auto* searchLayout = new QVBoxLayout(searchPage);
    QHelpSearchEngine* searchEngine = engine->searchEngine();
    searchLayout->addWidget(searchEngine->queryWidget());
    searchLayout->addWidget(searchEngine->resultWidget());
    m_tabs->addTab(searchPage, QStringLiteral("Search"));

    m_browser = new HelpBrowser(engine, this);
    m_browser->setObjectName(QStringLiteral("helpBrowser"));

    auto* splitter = new QSplitter(this);
    splitter->addWidget(m_tabs);
    splitter->addWidget(m_browser);
    splitter->setStretchFactor(1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(splitter);
    resize(Twips::size(12000, 8000));
    splitter->setSizes({Twips::toPixels(3600), Twips::toPixels(8400)});

    connect(contents, &QHelpContentWidget::linkActivated, this, &HelpViewer::showPage);
    // The topics are listed open, below the title of the help.
    connect(engine->contentModel(), &QHelpContentModel::contentsCreated, contents,
            &QTreeView::expandAll);
    connect(index, &QHelpIndexWidget::documentActivated, this,
            [this](const QHelpLink& link, const QString&) { showPage(link.url); });
    connect(index, &QHelpIndexWidget::documentsActivated, this,
            [this](const QList<QHelpLink>& links, const QString&) {
                if (!links.isEmpty()) {
                    showPage(links.first().url);
                }
            });
    connect(m_indexFilter, &QLineEdit::textChanged, index,
            [index](const QString& text) { index->filterIndices(text); });
    connect(m_indexFilter, &QLineEdit::returnPressed, index,
            &QHelpIndexWidget::activateCurrentItem);
    connect(searchEngine->queryWidget(), &QHelpSearchQueryWidget::search, this,
            &HelpViewer::search);
    connect(searchEngine->resultWidget(), &QHelpSearchResultWidget::requestShowLink, this,
            &HelpViewer::showPage);

    // The full-text index is made on first use, in the background.
    searchEngine->scheduleIndexDocumentation();
    showPage(homePage());
}

HelpViewer::~HelpViewer() = default;

void HelpViewer::showPage(const QUrl& url) {
    m_browser->setSource(url);
}

void HelpViewer::search() {
    m_engine->searchEngine()->search(m_engine->searchEngine()->queryWidget()->searchInput());
}
