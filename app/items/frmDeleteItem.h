#pragma once

#include "platform/Twips.h"

#include <QWidget>
#include <array>

enum class InventoryChange;
class ItemListView;
class QLabel;
class QPushButton;

// The window in which the user picks a stored item from the list and
// deletes it.
class frmDeleteItem : public QWidget {
    Q_OBJECT
public:
    explicit frmDeleteItem(QWidget* parent = nullptr);

    // The window's fixed inner area.
    static constexpr TwipsSize InnerSize{.width = 12075, .height = 7230};

    QLabel* Label30 = nullptr;
    ItemListView* lvItems = nullptr;
    // The six captions of the detail area, left to right.
    std::array<QLabel*, 6> lblCaption{};
    // The value labels: 0 Item ID, 1 Item Name, 2 Room, 3 Cost, 4 Value,
    // 5 Serial No.; lblData[0] holds the identifier that Delete acts on.
    std::array<QLabel*, 6> lblData{};
    QPushButton* cmdDelete = nullptr;
    QPushButton* cmdClear = nullptr;
    QPushButton* cmdExit = nullptr;

private:
    void Form_Load();
    void FillItemList();
    void lvItems_Click();
    void cmdDelete_Click();
    void cmdClear_Click();
    void cmdExit_Click();
    // Another window or command changed the items: the list is read again
    // keeping its sort and chosen row; once it is read, an item shown below
    // it that is no longer stored is cleared, so Delete never acts on it.
    void inventoryChanged(InventoryChange change);
    // The list is read to its end: an item shown below it that the list no
    // longer holds is cleared.
    void listRead();

    bool m_sendingNotice = false;
};
