#pragma once

#include "items/ItemListView.h"
#include "platform/Twips.h"

#include <QWidget>

enum class InventoryChange;

class ItemFieldSet;
class ItemListView;
class QLabel;

// The window in which the user picks a stored item from the list and
// changes it.
class frmEditItem : public QWidget {
    Q_OBJECT
public:
    explicit frmEditItem(QWidget* parent = nullptr);

    // The window's fixed inner area.
    static constexpr TwipsSize InnerSize{.width = 6255, .height = 8235};
    // The list's column headings and widths (in twips), which the Find Items
    // window's list shares.
    static const QStringList& listHeaders();
    static constexpr ItemListView::Widths ListWidths{1500, 2500, 1500, 2200, 1200, 1200,
                                                     1500, 2500, 1500, 2500, 2500};

    ItemFieldSet& fields() const { return *m_fields; }

    // Chooses the row of the item with the given ItemID and loads it into the
    // fields exactly as a click on that row does. When the item is not listed
    // (stored since the list was read) the list is read again first; a row
    // not read yet is chosen and loaded when it arrives. False when the list
    // is read and holds no such item.
    bool selectItem(const QString& itemId);
    QLabel* Label30 = nullptr;
    ItemListView* lvItems = nullptr;
    // Never shown: the ItemID of the item the fields hold, empty when none.
    QLabel* lblID = nullptr;

private:
    void Form_Load();
    void FillItemList();
    void lvItems_Click();
    void cmdSave_Click();
    void cmdClear_Click();
    void cmdExit_Click();
    // Another window or command changed the items: the list is read again
    // keeping its sort and chosen row; the fields keep what the user typed.
    void inventoryChanged(InventoryChange change);
    // The list is read to its end: an item the fields hold that it no
    // longer lists was deleted or replaced meanwhile.
    void listRead();
    // Whether the item the fields hold is still stored, read afresh.
    bool itemStillStored(const QString& itemId) const;
    // The window's own Save sends the notice; its list is refilled by Save.
    void sendNotice();

    ItemFieldSet* m_fields = nullptr;
    // The item the fields hold was deleted or replaced since it was chosen.
    bool m_itemGone = false;
    bool m_sendingNotice = false;
    // selectItem waits for its row: it is loaded into the fields when chosen.
    bool m_loadWhenChosen = false;
};
