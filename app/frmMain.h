#pragma once

#include "platform/Twips.h"

#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QString>
#include <optional>

class OffsiteNoticeBar;
class QAction;
class frmItemEvidence;
class QMenu;

// The program's multiple-document frame: the menu bar and the area that
// holds the item and owner edit windows. Its load creates objHome.
class frmMain : public QMainWindow {
    Q_OBJECT
public:
    explicit frmMain(QWidget* parent = nullptr);
    ~frmMain() override;

    QMdiArea* mdiArea() const { return m_mdi; }
    // The notice that the off-site copies fall behind; nullptr when none.
    OffsiteNoticeBar* offsiteNotice() const { return m_offsiteNotice; }

    // The inner area below the menu bar at its specified size.
    static constexpr TwipsSize InnerSize{.width = 12075, .height = 8160};

    // The frame's geometry once it has grown from `current` to `wanted`: never
    // smaller than it was, no larger than the available area allows (its own
    // border `frameMargins` included), with its centre kept where it was as
    // far as the available area lets it.
    static QRect grownGeometry(const QRect& current, const QSize& wanted, const QRect& available,
                               const QSize& frameMargins);
    // The size of the area that holds the largest child window with its frame.
    QSize largestChildArea() const;

    // Shows the one child window of class W: an open one is brought forward,
    // otherwise a new one is made and added at its own size. The children are
    // cascaded afterwards.
    template <class W> W* showChild();

    // The record check of the commands that need records: asks objHome for
    // the owner record (owner) or the items, releases the record set and,
    // when there is none (or the question fails), shows the message. True
    // when records exist.
    // A failure of the component (the database removed, locked or damaged)
    // is no empty table: it is logged under `command` and shown with its
    // cause, and nothing opens.
    bool recordCheck(bool owner, const QString& message, const QString& command);
    // Whether the owner record (owner) or any item exists; nothing when the
    // component failed, which has then been logged and shown.
    std::optional<bool> hasRecords(bool owner, const QString& command);
    // "The inventory could not be read." with the error's number and text.
    static QString readFailureMessage(int number, const QString& description);

    // The record checks' messages.
    static QString noItemsToEditMessage() {
        return QStringLiteral("No Item records were found to edit! ");
    }
    static QString noOwnerToEditMessage() {
        return QStringLiteral("No Owner record was found to edit! ");
    }
    static QString noItemsToDeleteMessage() {
        return QStringLiteral("No Item records were found to delete! ");
    }
    static QString noItemsMessage() { return QStringLiteral("No Item records were found! "); }

    // The product's web page that Check For Updates opens.
    static QString productPage() { return QStringLiteral("https://www.example.com/quorvane"); }
    // The help collection below the program folder.
    static QString helpFile();

    // The menu commands.
    void mnuAddNewItem_Click();
    void mnuAddExit_Click();
    void mnuAddOwner_Click();
    void mnuEditItem_Click();
    void mnuEditHome_Click();
    void mnuTotalInventory_Click();
    void mnuInventoryByRoom_Click();
    void mnuUtilsDeleteItems_Click();
    void mnuEditFindItems_Click();
    void mnuValuationSummary_Click();
    void mnuInventoryPhotos_Click();
    void mnuUtilsOwner_Click();
    // The edit item window, opened or brought forward, with the item chosen.
    void showItemInEditWindow(const QString& itemId);
    void mnuEditItemEvidence_Click();
    // The item a command about one item acts on: the one selected in the
    // active Find Items, Edit Item, Delete Items or Item Evidence window,
    // else the one the user chooses with the find window's search (titled
    // `purpose`). Its tblItems.ID, or 0 when none was chosen or the
    // inventory could not be read (which has then been shown).
    qint64 chosenItemRef(const QString& purpose);
    // The same item's Item ID, or an empty text. Throws Riri::Error when the
    // inventory cannot be read.
    QString chosenItemId(const QString& purpose);
    // The Item ID selected in the active child window, or an empty text.
    QString selectedItemId() const;
    // The evidence window of an item, opened or brought forward.
    frmItemEvidence* showItemEvidence(qint64 itemRef);
    void mnuUtilsBackup_Click();
    void mnuUtilsRestore_Click();
    void mnuUtilsRestoreAuto_Click();
    void mnuUtilsExportCsv_Click();
    void mnuUtilsImportCsv_Click();
    void mnuUtilsOffsite_Click();
    void mnuUtilsClaims_Click();
    void mnuWindowCascade_Click();
    void MnuWindowH_Click();
    void mnuWindowV_Click();
    void mnuWindowArrangeIcons_Click();
    void mnuShowHelp_Click();
    void mnuHelpCheckUpdates_Click();
    void mnuHelpAbout_Click();
    void mnuEditItemHistory_Click();
    void mnuUtilsCleanUpHistory_Click();
    void mnuUtilsDeletedItems_Click();

protected:
    void reportReadFailure(const QString& command, int number, const QString& description);
    void showEvent(QShowEvent* event) override;

private:
    void Form_Load();
    void buildMenus();
    QMenu* addMenu(const char* name, const QString& caption);
    QAction* addItem(QMenu* menu, const char* name, const QString& caption,
                     void (frmMain::*handler)() = nullptr);
    QMdiSubWindow* openChild(const QMetaObject& kind) const;
    QMdiSubWindow* addChild(QWidget* window);
    // Cascades the child windows, each then moved whole into the area.
    void cascadeChildren();
    void tileChildren(Qt::Orientation direction);
    void bringForward(QMdiSubWindow* sub);
    void showOffsiteNotice();

    QMdiArea* m_mdi = nullptr;
    bool m_grown = false;
    OffsiteNoticeBar* m_offsiteNotice = nullptr;
};

// The program's main window while it exists, else nullptr.
frmMain* mainForm();

template <class W> W* frmMain::showChild() {
    if (QMdiSubWindow* open = openChild(W::staticMetaObject)) {
        bringForward(open);
        cascadeChildren();
        return qobject_cast<W*>(open->widget());
    }
    auto* window = new W(nullptr);
    addChild(window);
    cascadeChildren();
    return window;
}
