#include "frmMain.h"

#include "AppInfo.h"
#include "claims/frmClaims.h"
#include "evidence/frmItemEvidence.h"
#include "frmAbout.h"
#include "history/frmCleanUpHistory.h"
#include "history/frmDeletedItems.h"
#include "history/frmItemHistory.h"
#include "items/ItemListView.h"
#include "items/Money.h"
#include "items/dlgChooseItem.h"
#include "items/frmAddItem.h"
#include "items/frmChooseItems.h"
#include "items/frmDeleteItem.h"
#include "items/frmEditItem.h"
#include "items/frmFindItems.h"
#include "owner/frmAddOwner.h"
#include "owner/frmEditOwner.h"
#include "platform/Detached.h"
#include "platform/HelpViewer.h"
#include "platform/Pointer.h"
#include "platform/Registration.h"
#include "platform/Twips.h"
#include "reports/ReportCommands.h"
#include "reports/frmReportPreview.h"
#include "shared/modGlobal.h"
#include "startup/DataFolder.h"
#include "ui/Placement.h"
#include "utils/InventoryCommands.h"
#include "utils/OffsiteCommands.h"
#include "utils/OffsiteNoticeBar.h"

#include <Riri/ComponentFolder.h>
#include <Riri/ErrorLog.h>
#include <Riri/ErrorNumbers.h>
#include <Riri/EvidenceStore.h>
#include <Riri/InstallPaths.h>
#include <Riri/MsgBox.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QShortcut>

namespace {

frmMain* g_mainForm = nullptr;

// The command that opens a web page: the open command of the HTML file type,
// read from the classes root, without a folder separator added.
QString webBrowserCommand() {
    const bool classesRoot = true;
    const bool otherRoot = false;
    const bool addSeparator = false;
    return GetRegString(QStringLiteral("htmlfile\\shell\\open\\command"), QString(), classesRoot,
                        otherRoot, otherRoot, otherRoot, otherRoot, otherRoot, otherRoot,
                        addSeparator);
}

} // namespace

frmMain* mainForm() {
    return g_mainForm;
}

frmMain::frmMain(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("frmMain"));
    m_mdi = new QMdiArea(this);
    m_mdi->setObjectName(QStringLiteral("mdiArea"));
    // Child windows keep their fixed layouts; one taller or wider than the
    // area is scrolled into view instead of being cut off.
    m_mdi->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdi->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(m_mdi);
    buildMenus();
    // The inner area below the menu bar.
    resize(Twips::size(InnerSize) + QSize(0, menuBar()->sizeHint().height()));
    // F1 anywhere in the program opens the help file set at start-up.
    auto* contextHelp = new QShortcut(QKeySequence::HelpContents, this);
    contextHelp->setContext(Qt::ApplicationShortcut);
    connect(contextHelp, &QShortcut::activated, this, [this] {
        HelpViewer::open(HelpViewer::helpFile().isEmpty() ? helpFile() : HelpViewer::helpFile(),
                         this);
    });
    Form_Load();
    // The off-site copies: a notice when they fall behind, and the copy due
    // written when the program ends through its Exit command.
    showOffsiteNotice();
    static const bool endStepRegistered = [] {
        onEndProgram([] { OffsiteCommands::writeDueCopyAtEnd(); });
        return true;
    }();
    Q_UNUSED(endStepRegistered);
    // Known as the main window only once its load went through: a load that
    // throws leaves no window behind, and start-up then loads a new one.
    g_mainForm = this;
}

frmMain::~frmMain() {
    if (g_mainForm == this) {
        g_mainForm = nullptr;
    }
}

QRect frmMain::grownGeometry(const QRect& current, const QSize& wanted, const QRect& available,
                             const QSize& frameMargins) {
    const QSize room = (available.size() - frameMargins).expandedTo(QSize(0, 0));
    const QSize size = wanted.boundedTo(room).expandedTo(current.size());
    QRect grown(current.topLeft(), size);
    grown.moveCenter(current.center());
    // Within the available area where it fits; its top-left corner stays on
    // the screen where it does not.
    const QPoint margin(frameMargins.width() / 2, frameMargins.height() / 2);
    const QRect inside = available.adjusted(margin.x(), margin.y(), -margin.x(), -margin.y());
    if (grown.right() > inside.right()) {
        grown.moveRight(inside.right());
    }
    if (grown.bottom() > inside.bottom()) {
        grown.moveBottom(inside.bottom());
    }
    if (grown.left() < inside.left()) {
        grown.moveLeft(inside.left());
    }
    if (grown.top() < inside.top()) {
        grown.moveTop(inside.top());
    }
    return grown;
}

QSize frmMain::largestChildArea() const {
    // What a child window's frame adds around the window: measured on a
    // frame made as addChild makes one, never shown.
    auto* content = new QWidget;
    content->setFixedSize(100, 100);
    QMdiSubWindow* probe = m_mdi->addSubWindow(content);
    probe->adjustSize();
    const QSize decoration = probe->size() - content->size();
    m_mdi->removeSubWindow(probe);
    delete probe;
    QSize largest;
    for (const TwipsSize& inner :
         {frmAddItem::InnerSize, frmEditItem::InnerSize, frmDeleteItem::InnerSize}) {
        largest = largest.expandedTo(Twips::size(inner) + decoration);
    }
    const int frame = 2 * m_mdi->frameWidth();
    return largest + QSize(frame, frame);
}

void frmMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (m_grown) {
        return;
    }
    m_grown = true;
    // At its specified size the area is shorter than the edit item window and
    // no wider than the delete item window: the frame grows just enough for
    // the largest child window to open whole, as far as the screen allows.
    const QSize area = m_mdi->size();
    const QSize wanted = size() + (largestChildArea().expandedTo(area) - area);
    const QScreen* screen = this->screen();
    if (wanted == size() || screen == nullptr) {
        return;
    }
    // Only the size: the window manager places the window (this runs before
    // the window is mapped). Moving it here would put it where the program
    // says, its title bar above the screen's top edge.
    const QSize margins = frameGeometry().size() - geometry().size();
    resize(grownGeometry(geometry(), wanted, screen->availableGeometry(), margins).size());
}

void frmMain::cascadeChildren() {
    m_mdi->cascadeSubWindows();
    Placement::keepInside(m_mdi);
}

QString frmMain::helpFile() {
    return helpCollectionFile(Riri::configuredLayout(), Riri::componentFolder(), programFolder());
}

void frmMain::Form_Load() {
    // The clipboard belongs to the user: what was copied in another program
    // stays there.
    Pointer::setScreen(Pointer::Arrow);
    setWindowTitle(AppInfo::Title + QStringLiteral("  -  ") + QString::number(AppInfo::Major) +
                   QLatin1Char('.') + QString::number(AppInfo::Minor));
    try {
        newHome();
    } catch (const Riri::Error& error) {
        // An object that cannot be used asks for the component's
        // registration again; then a second object is made, and its failure
        // passes to the code that loads the frame.
        if (error.number() == Riri::ErrorNumber::ObjectNotSet ||
            error.number() == Riri::ErrorNumber::NoInterface) {
            Registration::request();
        }
        newHome();
    }
    Pointer::setScreen(Pointer::Arrow);
}

QMenu* frmMain::addMenu(const char* name, const QString& caption) {
    QMenu* menu = menuBar()->addMenu(caption);
    menu->setObjectName(QLatin1String(name));
    menu->menuAction()->setObjectName(QLatin1String(name));
    return menu;
}

QAction* frmMain::addItem(QMenu* menu, const char* name, const QString& caption,
                          void (frmMain::*handler)()) {
    QAction* action = nullptr;
    if (caption == QLatin1String("-")) {
        action = menu->addSeparator();
    } else {
        action = menu->addAction(caption);
        if (handler != nullptr) {
            connect(action, &QAction::triggered, this, handler);
        }
    }
    action->setObjectName(QLatin1String(name));
    return action;
}

void frmMain::buildMenus() {
    QMenu* add = addMenu("mnuAdd", QStringLiteral("&Add"));
    addItem(add, "mnuAddNewItem", QStringLiteral("Add New Item"), &frmMain::mnuAddNewItem_Click);
    addItem(add, "A0", QStringLiteral("-"));
    addItem(add, "mnuAddExit", QStringLiteral("e&Xit"), &frmMain::mnuAddExit_Click);
    QAction* addOwner =
        addItem(add, "mnuAddOwner", QStringLiteral("Add Owner"), &frmMain::mnuAddOwner_Click);
    addOwner->setVisible(false);
    addOwner->setEnabled(false);

    QMenu* edit = addMenu("mnuEdit", QStringLiteral("&Edit"));
    addItem(edit, "mnuEditItem", QStringLiteral("Edit Item"), &frmMain::mnuEditItem_Click);
    // The separator would lead to nothing visible: it stays enabled but hidden.
    addItem(edit, "E0", QStringLiteral("-"))->setVisible(false);
    QAction* editHome = addItem(edit, "mnuEditHome", QStringLiteral("Edit Riri Information"),
                                &frmMain::mnuEditHome_Click);
    editHome->setVisible(false);
    editHome->setEnabled(false);
    addItem(edit, "E1", QStringLiteral("-"));
    addItem(edit, "mnuEditFindItems", QStringLiteral("Find Items"),
            &frmMain::mnuEditFindItems_Click)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    addItem(edit, "E2", QStringLiteral("-"));
    addItem(edit, "mnuEditItemEvidence", QStringLiteral("Item Evidence..."),
            &frmMain::mnuEditItemEvidence_Click)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    addItem(edit, "mnuEditItemHistory", QStringLiteral("Item History..."),
            &frmMain::mnuEditItemHistory_Click);

    QMenu* reports = addMenu("mnuReports", QStringLiteral("&Reports"));
    addItem(reports, "mnuTotalInventory", QStringLiteral("Total Dedi Rividizar"),
            &frmMain::mnuTotalInventory_Click);
    addItem(reports, "R0", QStringLiteral("-"));
    addItem(reports, "mnuInventoryByRoom", QStringLiteral("Inventory By Room"),
            &frmMain::mnuInventoryByRoom_Click);
    addItem(reports, "R1", QStringLiteral("-"));
    addItem(reports, "mnuValuationSummary", QStringLiteral("Valuation Summary"),
            &frmMain::mnuValuationSummary_Click);
    addItem(reports, "R2", QStringLiteral("-"));
    addItem(reports, "mnuInventoryPhotos", QStringLiteral("Inventory with Photos"),
            &frmMain::mnuInventoryPhotos_Click);

    QMenu* utils = addMenu("mnuUtils", QStringLiteral("&Utils"));
    addItem(utils, "mnuUtilsDeleteItems", QStringLiteral("Delete Items"),
            &frmMain::mnuUtilsDeleteItems_Click);
    addItem(utils, "U0", QStringLiteral("-"));
    addItem(utils, "mnuUtilsOwner", QStringLiteral("Owner Information"),
            &frmMain::mnuUtilsOwner_Click);
    addItem(utils, "U1", QStringLiteral("-"));
    addItem(utils, "mnuUtilsBackup", QStringLiteral("Back Up Inventory..."),
            &frmMain::mnuUtilsBackup_Click);
    addItem(utils, "mnuUtilsRestore", QStringLiteral("Restore Inventory..."),
            &frmMain::mnuUtilsRestore_Click);
    addItem(utils, "mnuUtilsRestoreAuto", QStringLiteral("Restore Automatic Copy..."),
            &frmMain::mnuUtilsRestoreAuto_Click);
    addItem(utils, "mnuUtilsExportCsv", QStringLiteral("Export Items to CSV..."),
            &frmMain::mnuUtilsExportCsv_Click);
    addItem(utils, "mnuUtilsImportCsv", QStringLiteral("Import Items from CSV..."),
            &frmMain::mnuUtilsImportCsv_Click);
    addItem(utils, "U2", QStringLiteral("-"));
    addItem(utils, "mnuUtilsOffsite", QStringLiteral("Off-site Copies..."),
            &frmMain::mnuUtilsOffsite_Click);
    addItem(utils, "mnuUtilsDeletedItems", QStringLiteral("Deleted Items..."),
            &frmMain::mnuUtilsDeletedItems_Click);
    addItem(utils, "mnuUtilsCleanUpHistory", QStringLiteral("Clean Up History..."),
            &frmMain::mnuUtilsCleanUpHistory_Click);
    addItem(utils, "mnuUtilsClaims", QStringLiteral("Claims..."), &frmMain::mnuUtilsClaims_Click);

    QMenu* window = addMenu("mnuWindow", QStringLiteral("&Window"));
    addItem(window, "mnuWindowCascade", QStringLiteral("Cascade"),
            &frmMain::mnuWindowCascade_Click);
    addItem(window, "W0", QStringLiteral("-"));
    addItem(window, "MnuWindowH", QStringLiteral("TileHorizontally"), &frmMain::MnuWindowH_Click);
    addItem(window, "W1", QStringLiteral("-"));
    addItem(window, "mnuWindowV", QStringLiteral("TileVertically"), &frmMain::mnuWindowV_Click);
    addItem(window, "W2", QStringLiteral("-"));
    addItem(window, "mnuWindowArrangeIcons", QStringLiteral("Arrange Icons"),
            &frmMain::mnuWindowArrangeIcons_Click);

    QMenu* help = addMenu("mnuHelp", QStringLiteral("&Help"));
    addItem(help, "mnuShowHelp", QStringLiteral("Quorvane help"), &frmMain::mnuShowHelp_Click);
    addItem(help, "H0", QStringLiteral("-"));
    addItem(help, "mnuHelpCheckUpdates", QStringLiteral("Check For Updates"),
            &frmMain::mnuHelpCheckUpdates_Click);
    addItem(help, "H2", QStringLiteral("-"));
    addItem(help, "mnuHelpAbout", QStringLiteral("About Quorvane"), &frmMain::mnuHelpAbout_Click);
}

bool frmMain::recordCheck(bool owner, const QString& message, const QString& command) {
    const std::optional<bool> found = hasRecords(owner, command);
    if (found == false) {
        Riri::MsgBox(message, Riri::vbExclamation | Riri::vbOKOnly, AppInfo::Title);
    }
    return found == true;
}

std::optional<bool> frmMain::hasRecords(bool owner, const QString& command) {
    setCursor(Qt::WaitCursor);
    rsData.reset();
    int failure = 0;
    QString cause;
    try {
        if (!objHome) {
            throw Riri::Error(Riri::ErrorNumber::ObjectNotSet,
                              QStringLiteral("Object variable or With block variable not set"));
        }
        Riri::Connection* connection = objHome->conDataBase.get();
        if (connection != nullptr) {
            connection->clearErrors();
        }
        // One item row is enough to know that there are items; reading every
        // ItemID would cost a second on a large inventory.
        rsData = owner ? objHome->RefreshOwner() : objHome->LoadItemsAfter(0, 1);
        if (!rsData) {
            // The readers give nothing at all only when the database could not
            // be read; the connection keeps the cause.
            failure = connection != nullptr && connection->lastErrorNumber() != 0
                          ? connection->lastErrorNumber()
                          : Riri::ErrorNumber::ObjectNotSet;
            cause = connection != nullptr
                        ? connection->lastErrorDescription()
                        : QStringLiteral("Object variable or With block variable not set");
        }
    } catch (const Riri::Error& error) {
        failure = error.number();
        cause = error.description();
    } catch (const std::exception& error) {
        failure = Riri::ErrorNumber::Unexpected;
        cause = QString::fromLocal8Bit(error.what());
    }
    const bool empty = rsData && rsData->IsEOF() && rsData->IsBOF();
    CloseRecordset();
    unsetCursor();
    if (failure != 0) {
        // A failure is never shown as "no records": the user would conclude
        // that the inventory is gone.
        reportReadFailure(command, failure, cause);
        return std::nullopt;
    }
    return !empty;
}

QString frmMain::readFailureMessage(int number, const QString& description) {
    return QStringLiteral("The inventory could not be read.\r\n\r\nERROR # ") +
           QString::number(number) + QStringLiteral("\r\n") + description;
}

void frmMain::reportReadFailure(const QString& command, int number, const QString& description) {
    // The log lies in the data folder with every other log block: in the
    // packaged layout the program folder is below /usr and cannot be written.
    try {
        Riri::ErrorLog::appendStartupBlock(Riri::InstallPaths::logPath(Riri::componentFolder()),
                                           number, description,
                                           command + QStringLiteral(" Record Check"));
    } catch (const Riri::Error&) {
        // a log that cannot be written does not hide the message
    }
    Riri::MsgBox(readFailureMessage(number, description), Riri::vbCritical | Riri::vbOKOnly,
                 QStringLiteral(" ERROR"));
}

QMdiSubWindow* frmMain::openChild(const QMetaObject& kind) const {
    const QList<QMdiSubWindow*> children = m_mdi->subWindowList();
    for (QMdiSubWindow* sub : children) {
        QWidget* widget = sub->widget();
        if (widget != nullptr && widget->metaObject() == &kind) {
            return sub;
        }
    }
    return nullptr;
}

QMdiSubWindow* frmMain::addChild(QWidget* window) {
    // Closing the window itself (its own Close or Save commands) takes the
    // frame around it away as well, so the next command loads a fresh one.
    window->setAttribute(Qt::WA_DeleteOnClose);
    QMdiSubWindow* sub = m_mdi->addSubWindow(window);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    // Queued, so that it never reaches a frame that is itself being
    // destroyed (that frame's pending calls go with it).
    connect(window, &QObject::destroyed, sub, &QMdiSubWindow::close, Qt::QueuedConnection);
    sub->adjustSize();
    sub->show();
    window->show();
    return sub;
}

void frmMain::bringForward(QMdiSubWindow* sub) {
    if (sub->isMinimized()) {
        sub->showNormal();
    }
    sub->show();
    m_mdi->setActiveSubWindow(sub);
    sub->raise();
}

void frmMain::mnuAddNewItem_Click() {
    showChild<frmAddItem>();
}

void frmMain::mnuAddExit_Click() {
    EndProgram();
}

void frmMain::mnuAddOwner_Click() {
    // A separate window centred on the screen; the children are not arranged.
    frmAddOwner::open();
}

void frmMain::mnuEditItem_Click() {
    if (!recordCheck(false, noItemsToEditMessage(), QStringLiteral("Edit Item"))) {
        return;
    }
    showChild<frmEditItem>();
}

void frmMain::mnuEditHome_Click() {
    if (!recordCheck(true, noOwnerToEditMessage(), QStringLiteral("Edit Riri Information"))) {
        return;
    }
    showChild<frmEditOwner>();
}

void frmMain::mnuTotalInventory_Click() {
    if (!recordCheck(false, noItemsMessage(), QStringLiteral("Total Dedi Rividizar"))) {
        return;
    }
    runTotalInventoryReport(this);
    cascadeChildren();
}

void frmMain::mnuInventoryByRoom_Click() {
    if (!recordCheck(false, noItemsMessage(), QStringLiteral("Inventory By Room"))) {
        return;
    }
    runRoomReport(this);
    cascadeChildren();
}

void frmMain::mnuUtilsDeleteItems_Click() {
    if (!recordCheck(false, noItemsToDeleteMessage(), QStringLiteral("Delete Items"))) {
        return;
    }
    showChild<frmDeleteItem>();
}

void frmMain::mnuEditFindItems_Click() {
    if (!recordCheck(false, noItemsToEditMessage(), QStringLiteral("Find Items"))) {
        return;
    }
    auto* find = showChild<frmFindItems>();
    connect(find, &frmFindItems::editItemRequested, this, &frmMain::showItemInEditWindow,
            Qt::UniqueConnection);
}

void frmMain::showItemInEditWindow(const QString& itemId) {
    showChild<frmEditItem>()->selectItem(itemId);
}

void frmMain::mnuEditItemEvidence_Click() {
    if (!recordCheck(false, noItemsMessage(), QStringLiteral("Item Evidence"))) {
        return;
    }
    const qint64 itemRef = chosenItemRef(QStringLiteral("Item Evidence"));
    if (itemRef != 0) {
        showItemEvidence(itemRef);
    }
}

QString frmMain::selectedItemId() const {
    const QMdiSubWindow* sub = m_mdi->currentSubWindow();
    QWidget* window = sub != nullptr ? sub->widget() : nullptr;
    if (auto* find = qobject_cast<frmFindItems*>(window)) {
        return find->lvItems->chosenKey();
    }
    if (auto* edit = qobject_cast<frmEditItem*>(window)) {
        // The item the fields hold, else the row chosen in the list.
        return edit->lblID->text().isEmpty() ? edit->lvItems->chosenKey() : edit->lblID->text();
    }
    if (auto* remove = qobject_cast<frmDeleteItem*>(window)) {
        return remove->lblData[0]->text().isEmpty() ? remove->lvItems->chosenKey()
                                                    : remove->lblData[0]->text();
    }
    if (auto* evidence = qobject_cast<frmItemEvidence*>(window)) {
        return evidence->lblData[0]->text();
    }
    return {};
}

QString frmMain::chosenItemId(const QString& purpose) {
    const QString selected = selectedItemId();
    // An item deleted since it was selected is asked for instead.
    if (!selected.isEmpty() && Riri::EvidenceStore().itemRefOf(selected) != 0) {
        return selected;
    }
    return dlgChooseItem::ask(this, purpose);
}

qint64 frmMain::chosenItemRef(const QString& purpose) {
    try {
        const QString chosen = chosenItemId(purpose);
        return chosen.isEmpty() ? 0 : Riri::EvidenceStore().itemRefOf(chosen);
    } catch (const Riri::Error& error) {
        reportReadFailure(purpose, error.number(), error.description());
        return 0;
    }
}

frmItemEvidence* frmMain::showItemEvidence(qint64 itemRef) {
    for (QMdiSubWindow* sub : m_mdi->subWindowList()) {
        auto* open = qobject_cast<frmItemEvidence*>(sub->widget());
        if (open != nullptr && open->itemRef() == itemRef) {
            bringForward(sub);
            return open;
        }
    }
    auto* window = new frmItemEvidence(
        itemRef, [](const QString& stored) { return Money::formatStored(stored); });
    addChild(window);
    cascadeChildren();
    return window;
}

void frmMain::mnuEditItemHistory_Click() {
    const QString purpose = QStringLiteral("Item History");
    if (!recordCheck(false, noItemsMessage(), purpose)) {
        return;
    }
    QString itemId;
    try {
        itemId = chosenItemId(purpose);
    } catch (const Riri::Error& error) {
        reportReadFailure(purpose, error.number(), error.description());
        return;
    }
    if (itemId.isEmpty()) {
        return;
    }
    auto* history = new frmItemHistory;
    history->setAttribute(Qt::WA_DeleteOnClose);
    if (!history->showItem(itemId)) {
        delete history;
        Riri::MsgBox(QStringLiteral("The item %1 has no history.").arg(itemId),
                     Riri::vbOKOnly | Riri::vbInformation, QStringLiteral("Item History"));
        return;
    }
    bringForward(addChild(history));
}

void frmMain::mnuUtilsDeletedItems_Click() {
    auto* window = new frmDeletedItems(this);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
}

void frmMain::mnuUtilsCleanUpHistory_Click() {
    auto* window = new frmCleanUpHistory(this);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
}

void frmMain::mnuValuationSummary_Click() {
    if (!recordCheck(false, noItemsMessage(), QStringLiteral("Valuation Summary"))) {
        return;
    }
    runValuationSummary(this);
    cascadeChildren();
}

void frmMain::mnuInventoryPhotos_Click() {
    if (!recordCheck(false, noItemsMessage(), QStringLiteral("Inventory with Photos"))) {
        return;
    }
    runInventoryPhotos(this);
    cascadeChildren();
}

void frmMain::mnuUtilsOwner_Click() {
    // The owner edit window when the owner record exists, else the entry
    // window; nothing opens when the question fails.
    const std::optional<bool> exists = hasRecords(true, QStringLiteral("Owner Information"));
    if (!exists) {
        return;
    }
    if (*exists) {
        showChild<frmEditOwner>();
    } else {
        frmAddOwner::open();
    }
}

void frmMain::mnuUtilsBackup_Click() {
    InventoryCommands::backUpInventory(this);
}

void frmMain::mnuUtilsRestore_Click() {
    InventoryCommands::restoreInventory(this);
}

void frmMain::mnuUtilsRestoreAuto_Click() {
    InventoryCommands::restoreAutomaticCopy(this);
}

void frmMain::mnuUtilsExportCsv_Click() {
    InventoryCommands::exportItems(this);
}

void frmMain::mnuUtilsClaims_Click() {
    frmClaims::openDialog(&frmChooseItems::ask, this);
}

void frmMain::mnuUtilsImportCsv_Click() {
    InventoryCommands::importItems(this);
}

void frmMain::mnuUtilsOffsite_Click() {
    OffsiteCommands::openSettings(this);
}

void frmMain::showOffsiteNotice() {
    const QString notice = OffsiteCommands::startNotice();
    if (notice.isEmpty()) {
        return;
    }
    m_offsiteNotice = new OffsiteNoticeBar(notice, this);
    addToolBar(Qt::TopToolBarArea, m_offsiteNotice);
}

void frmMain::mnuWindowCascade_Click() {
    cascadeChildren();
}

void frmMain::tileChildren(Qt::Orientation direction) {
    // Horizontal: one above the other, each as wide as the area; vertical:
    // side by side, each as high as the area.
    QList<QMdiSubWindow*> shown;
    for (QMdiSubWindow* sub : m_mdi->subWindowList()) {
        if (sub->isVisible() && !sub->isMinimized()) {
            shown.append(sub);
        }
    }
    if (shown.isEmpty()) {
        return;
    }
    const QRect area = m_mdi->viewport()->rect();
    const int count = static_cast<int>(shown.size());
    int offset = 0;
    for (QMdiSubWindow* sub : shown) {
        if (sub->isMaximized()) {
            sub->showNormal();
        }
        if (direction == Qt::Horizontal) {
            const int height = area.height() / count;
            sub->setGeometry(0, offset, area.width(), height);
            offset += height;
        } else {
            const int width = area.width() / count;
            sub->setGeometry(offset, 0, width, area.height());
            offset += width;
        }
    }
}

void frmMain::MnuWindowH_Click() {
    tileChildren(Qt::Horizontal);
}

void frmMain::mnuWindowV_Click() {
    tileChildren(Qt::Vertical);
}

void frmMain::mnuWindowArrangeIcons_Click() {
    // Minimised children line up along the bottom edge of the area.
    const QList<QMdiSubWindow*> children = m_mdi->subWindowList();
    const QRect area = m_mdi->viewport()->rect();
    int left = 0;
    int bottom = area.height();
    for (QMdiSubWindow* sub : children) {
        if (!sub->isMinimized()) {
            continue;
        }
        const QSize size = sub->size();
        if (left + size.width() > area.width() && left > 0) {
            left = 0;
            bottom -= size.height();
        }
        sub->move(left, bottom - size.height());
        left += size.width();
    }
}

void frmMain::mnuShowHelp_Click() {
    HelpViewer::open(helpFile(), this);
}

void frmMain::mnuHelpCheckUpdates_Click() {
    Detached::start(webBrowserCommand() + QLatin1Char(' ') + productPage());
}

void frmMain::mnuHelpAbout_Click() {
    frmAbout about(this);
    about.exec();
}
