#include "items/frmEditItem.h"

#include "AppInfo.h"
#include "items/ItemFieldSet.h"
#include "items/ItemListView.h"
#include "items/ListDates.h"
#include "items/Money.h"
#include "platform/Fonts.h"
#include "platform/Twips.h"
#include "shared/InventoryNotice.h"
#include "shared/modGlobal.h"
#include "ui/WindowParts.h"

#include <Riri/MsgBox.h>

#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopedValueRollback>
#include <utility>

namespace {

// The layout of the item fields, in twips.
const ItemFieldLayout kFieldLayout{
    .captions = {{
        {.left = 120, .top = 2040, .width = 1935, .height = 315}, // Item Name
        {.left = 120, .top = 2400, .width = 1935, .height = 315}, // Serial Number
        {.left = 120, .top = 2760, .width = 1935, .height = 315}, // Model
        {.left = 120, .top = 3120, .width = 1935, .height = 315}, // Location
        {.left = 120, .top = 3480, .width = 1935, .height = 315}, // Original Cost
        {.left = 120, .top = 3840, .width = 1935, .height = 315}, // Current Value
        {.left = 120, .top = 4200, .width = 1935, .height = 315}, // Accquired From
        {.left = 120, .top = 4560, .width = 1935, .height = 315}, // Date Accquired
        {.left = 120, .top = 4920, .width = 6015, .height = 315}, // Description
        {.left = 120, .top = 6300, .width = 6015, .height = 315}, // Notes
    }},
    .textBoxes = {{
        {.left = 2100, .top = 2040, .width = 4035, .height = 315}, // Item Name
        {.left = 2100, .top = 2400, .width = 4035, .height = 315}, // Serial Number
        {.left = 2100, .top = 2760, .width = 4095, .height = 315}, // Model
        {.left = 2100, .top = 3480, .width = 1215, .height = 315}, // Original Cost
        {.left = 2100, .top = 3840, .width = 1215, .height = 315}, // Current Value
        {.left = 2100, .top = 4200, .width = 4035, .height = 315}, // Accquired From
    }},
    .roomList = {.left = 2100, .top = 3120, .width = 2595, .height = 360},
    .datePicker = {.left = 2100, .top = 4560, .width = 2595, .height = 315},
    .richBoxes = {{
        {.left = 120, .top = 5280, .width = 6015, .height = 975}, // Description
        {.left = 120, .top = 6660, .width = 6015, .height = 975}, // Notes
    }},
    .save = {.left = 120, .top = 7740, .width = 1215, .height = 375},
    .clear = {.left = 2460, .top = 7740, .width = 1215, .height = 375},
    .exit = {.left = 4920, .top = 7740, .width = 1215, .height = 375},
};

} // namespace

const QStringList& frmEditItem::listHeaders() {
    static const QStringList headers{
        QStringLiteral("Item ID"),       QStringLiteral("Item Name"),
        QStringLiteral("Serial Number"), QStringLiteral("Room Location"),
        QStringLiteral("Cost"),          QStringLiteral("Value"),
        QStringLiteral("Model"),         QStringLiteral("Accquired From"),
        QStringLiteral("Accquired"),     QStringLiteral("Description"),
        QStringLiteral("Notes")};
    return headers;
}

frmEditItem::frmEditItem(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("frmEditItem"));
    setFont(Fonts::make(Fonts::Verdana, 9.75));
    Twips::fixInnerSize(this, InnerSize);

    Label30 = WindowParts::heading(QStringLiteral("Edit Item"), QStringLiteral("Label30"), 14.25,
                                   QColor(0, 0, 255), this,
                                   {.left = 120, .top = 120, .width = 6015, .height = 435});

    lvItems = new ItemListView(this, listHeaders(), ListWidths);
    lvItems->setObjectName(QStringLiteral("lvItems"));
    Twips::place(lvItems, {.left = 120, .top = 600, .width = 6015, .height = 1335});

    m_fields = new ItemFieldSet(this, ItemFieldSet::Kind::Edit, kFieldLayout);
    setTabOrder(lvItems, m_fields->txtBox[ItemFieldSet::NameBox]);

    lblID = new QLabel(this);
    lblID->setObjectName(QStringLiteral("lblID"));
    lblID->setFont(Fonts::make(Fonts::Verdana, 8.25));
    Twips::place(lblID, {.left = 3360, .top = 3480, .width = 2775, .height = 315});

    connect(lvItems, &QAbstractItemView::clicked, this, &frmEditItem::lvItems_Click);
    // Enter on a row chosen with the keyboard does what a click does.
    connect(lvItems, &QAbstractItemView::activated, this, &frmEditItem::lvItems_Click);
    connect(m_fields->cmdSave, &QPushButton::clicked, this, &frmEditItem::cmdSave_Click);
    connect(m_fields->cmdClear, &QPushButton::clicked, this, &frmEditItem::cmdClear_Click);
    connect(m_fields->cmdExit, &QPushButton::clicked, this, &frmEditItem::cmdExit_Click);
    connect(&InventoryNotice::instance(), &InventoryNotice::inventoryChanged, this,
            &frmEditItem::inventoryChanged);
    connect(lvItems, &ItemListView::readingFinished, this, &frmEditItem::listRead);
    connect(lvItems, &ItemListView::keyChosenLate, this, [this] {
        if (std::exchange(m_loadWhenChosen, false)) {
            lvItems_Click();
        }
    });

    WindowParts::keepFrameFixed(this);
    Form_Load();
}

void frmEditItem::Form_Load() {
    newHome();
    setWindowTitle(WindowParts::caption());
    m_fields->datBox->setDate(QDate::currentDate());
    lblID->hide();
    FillItemList();
}

void frmEditItem::FillItemList() {
    lvItems->FillItemList();
}

void frmEditItem::lvItems_Click() {
    setCursor(Qt::WaitCursor);
    const int row = lvItems->selectedRow();
    if (row >= 0) {
        const ItemListModel& list = *lvItems->items();
        itmData = QPersistentModelIndex(list.index(row, ItemListModel::ItemIdColumn));
        lblID->setText(list.key(row));
        m_itemGone = false;
        m_fields->showText(ItemFieldSet::NameBox, list.text(row, ItemListModel::NameColumn));
        m_fields->showText(ItemFieldSet::SerialBox, list.text(row, ItemListModel::SerialColumn));
        m_fields->showText(ItemFieldSet::ModelBox, list.text(row, ItemListModel::ModelColumn));
        m_fields->showRoom(list.text(row, ItemListModel::RoomColumn));
        m_fields->showText(ItemFieldSet::CostBox,
                           Money::reformat(list.text(row, ItemListModel::CostColumn)));
        m_fields->showText(ItemFieldSet::ValueBox,
                           Money::reformat(list.text(row, ItemListModel::ValueColumn)));
        m_fields->showText(ItemFieldSet::FromBox, list.text(row, ItemListModel::FromColumn));
        m_fields->showDate(ListDates().read(list.text(row, ItemListModel::BoughtColumn)));
        m_fields->showRichText(ItemFieldSet::DescriptionBox,
                               list.text(row, ItemListModel::DescriptionColumn));
        m_fields->showRichText(ItemFieldSet::NotesBox, list.text(row, ItemListModel::NotesColumn));
    }
    unsetCursor();
}

bool frmEditItem::selectItem(const QString& itemId) {
    if (!lvItems->chooseKey(itemId)) {
        if (!lvItems->isReading()) {
            FillItemList();
        }
        // A row not read yet is chosen and loaded when it arrives.
        m_loadWhenChosen = true;
        if (!lvItems->chooseKeySoon(itemId)) {
            m_loadWhenChosen = false;
            return false;
        }
        if (lvItems->chosenKey() != itemId) {
            return true;
        }
        m_loadWhenChosen = false;
    }
    lvItems_Click();
    return true;
}

void frmEditItem::inventoryChanged(InventoryChange change) {
    if (m_sendingNotice || !InventoryNotice::touchesItems(change)) {
        return;
    }
    const QString chosen = lvItems->chosenKey();
    lvItems->refill();
    m_loadWhenChosen = false;
    lvItems->chooseKeySoon(chosen);
}

void frmEditItem::listRead() {
    // Once gone the item stays gone for this window, even when a later item
    // is given the same ItemID: the user's entries were made for the old one.
    const QString held = lblID->text();
    if (!held.isEmpty() && lvItems->rowOf(held) < 0) {
        m_itemGone = true;
    }
    m_loadWhenChosen = false;
}

bool frmEditItem::itemStillStored(const QString& itemId) const {
    // An unreadable inventory is left to the writer to report.
    try {
        return !objHome || objHome->HasItem(itemId) != 0;
    } catch (const Riri::Error&) {
        return true;
    }
}

void frmEditItem::sendNotice() {
    const QScopedValueRollback<bool> own(m_sendingNotice, true);
    InventoryNotice::send(InventoryChange::Items);
}

void frmEditItem::cmdSave_Click() {
    TrimFields(*this);
    if (!m_fields->ValidateFields()) {
        return;
    }
    // The update is keyed by ItemID and matches no row for an item deleted
    // meanwhile; that is said plainly instead of reporting a save. The
    // entries stay, so the user can copy them or add the item anew.
    const QString held = lblID->text();
    if (!held.isEmpty() && (m_itemGone || !itemStillStored(held))) {
        m_itemGone = true;
        Riri::MsgBox(
            QStringLiteral("This item no longer exists in the inventory; it was not saved."),
            Riri::vbExclamation | Riri::vbOKOnly, AppInfo::Title);
        return;
    }
    QStringList strText = m_fields->writerTexts(held);
    std::vector<double> sngMoney = m_fields->writerAmounts();
    QDateTime datDate = m_fields->writerDate();

    // The component gives false when no row carries the identifier (no item
    // chosen, or one deleted meanwhile): nothing was stored.
    bool saved = false;
    try {
        saved = objHome->UpdateItems(strText, sngMoney, datDate);
    } catch (const Riri::Error&) {
        saved = false;
    }
    if (saved) {
        sendNotice();
        if (WindowParts::askAnother(
                QStringLiteral(
                    "New Item Record Updated!\r\n\r\nDo you want to edit another Item? "),
                QStringLiteral("Record Saved Successfully"))) {
            cmdClear_Click();
            FillItemList();
        } else {
            WindowParts::closeWindow(this);
        }
    } else {
        // The entries stay, so the user can try again.
        Riri::MsgBox(QStringLiteral("Item Record NOT Updated"), Riri::vbCritical | Riri::vbOKOnly,
                     QStringLiteral(" ERROR"));
    }
}

void frmEditItem::cmdClear_Click() {
    // The fields' Clear ends with the focus in Item Name.
    m_fields->clear();
    lblID->clear();
    m_itemGone = false;
}

void frmEditItem::cmdExit_Click() {
    WindowParts::closeWindow(this);
}
