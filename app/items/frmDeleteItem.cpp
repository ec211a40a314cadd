#include "items/frmDeleteItem.h"

#include "AppInfo.h"
#include "items/ItemListView.h"
#include "items/Money.h"
#include "platform/Fonts.h"
#include "platform/Twips.h"
#include "shared/InventoryNotice.h"
#include "shared/modGlobal.h"
#include "ui/WindowParts.h"

#include <Riri/MsgBox.h>

#include <QLabel>
#include <QPushButton>
#include <QScopedValueRollback>

namespace {

const QStringList kHeaders{QStringLiteral("Item ID"),       QStringLiteral("Item Name"),
                           QStringLiteral("Serial Number"), QStringLiteral("Room"),
                           QStringLiteral("Cost"),          QStringLiteral("Value"),
                           QStringLiteral("Model"),         QStringLiteral("Accquired From"),
                           QStringLiteral("Accquired"),     QStringLiteral("Description"),
                           QStringLiteral("Notes")};
constexpr ItemListView::Widths kWidths{1200, 2500, 3000, 2000, 1200, 1200,
                                       1500, 2500, 1200, 2500, 2500};

// The detail area, left to right: caption, left edge, width, value label.
struct Detail {
    const char* caption;
    int left;
    int width;
    size_t value;
};
constexpr Detail kDetails[6] = {{"Item ID", 120, 915, 0},      {"Item Name", 1080, 3675, 1},
                                {"Serial No.", 4800, 2655, 5}, {"Room", 7500, 2055, 2},
                                {"Cost", 9600, 1155, 3},       {"Value", 10800, 1155, 4}};

QLabel* filledLabel(const QString& text, QPalette::ColorRole background, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setAutoFillBackground(true);
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, palette.color(background));
    palette.setColor(QPalette::WindowText,
                     palette.color(background == QPalette::ToolTipBase ? QPalette::ToolTipText
                                                                       : QPalette::WindowText));
    label->setPalette(palette);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    return label;
}

} // namespace

frmDeleteItem::frmDeleteItem(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("frmDeleteItem"));
    setFont(Fonts::make(Fonts::Verdana, 9.75));
    Twips::fixInnerSize(this, InnerSize);

    Label30 = WindowParts::heading(QStringLiteral("Delete Items"), QStringLiteral("Label30"), 18,
                                   QColor(255, 0, 0), this,
                                   {.left = 120, .top = 120, .width = 11835, .height = 495});

    lvItems = new ItemListView(this, kHeaders, kWidths);
    lvItems->setObjectName(QStringLiteral("lvItems"));
    Twips::place(lvItems, {.left = 120, .top = 660, .width = 11835, .height = 5175});

    for (size_t i = 0; i < 6; ++i) {
        const Detail& detail = kDetails[i];
        lblCaption[i] =
            filledLabel(QString::fromLatin1(detail.caption), QPalette::ToolTipBase, this);
        Twips::place(lblCaption[i],
                     {.left = detail.left, .top = 5880, .width = detail.width, .height = 315});
        QLabel* value = filledLabel(QString(), QPalette::Light, this);
        value->setObjectName(QStringLiteral("lblData_%1").arg(detail.value));
        if (detail.value == 3 || detail.value == 4) {
            value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        }
        Twips::place(value,
                     {.left = detail.left, .top = 6240, .width = detail.width, .height = 315});
        lblData[detail.value] = value;
    }

    cmdDelete = WindowParts::button(QStringLiteral("&Delete"), QStringLiteral("cmdDelete"), this,
                                    {.left = 120, .top = 6660, .width = 1215, .height = 435});
    cmdClear = WindowParts::button(QStringLiteral("&Clear"), QStringLiteral("cmdClear"), this,
                                   {.left = 5438, .top = 6660, .width = 1215, .height = 435});
    cmdExit = WindowParts::button(QStringLiteral("e&Xit"), QStringLiteral("cmdExit"), this,
                                  {.left = 10740, .top = 6660, .width = 1215, .height = 435});
    setTabOrder(lvItems, cmdDelete);
    setTabOrder(cmdDelete, cmdClear);
    setTabOrder(cmdClear, cmdExit);

    connect(lvItems, &QAbstractItemView::clicked, this, &frmDeleteItem::lvItems_Click);
    // Enter on a row chosen with the keyboard does what a click does.
    connect(lvItems, &QAbstractItemView::activated, this, &frmDeleteItem::lvItems_Click);
    connect(cmdDelete, &QPushButton::clicked, this, &frmDeleteItem::cmdDelete_Click);
    connect(cmdClear, &QPushButton::clicked, this, &frmDeleteItem::cmdClear_Click);
    connect(cmdExit, &QPushButton::clicked, this, &frmDeleteItem::cmdExit_Click);
    connect(&InventoryNotice::instance(), &InventoryNotice::inventoryChanged, this,
            &frmDeleteItem::inventoryChanged);
    connect(lvItems, &ItemListView::readingFinished, this, &frmDeleteItem::listRead);

    WindowParts::keepFrameFixed(this);
    Form_Load();
}

void frmDeleteItem::Form_Load() {
    setWindowTitle(AppInfo::Title + QLatin1Char(' ') + AppInfo::Version());
    newHome();
    FillItemList();
}

void frmDeleteItem::FillItemList() {
    lvItems->FillItemList();
}

void frmDeleteItem::lvItems_Click() {
    setCursor(Qt::WaitCursor);
    const int row = lvItems->selectedRow();
    if (row >= 0) {
        const ItemListModel& list = *lvItems->items();
        itmData = QPersistentModelIndex(list.index(row, ItemListModel::ItemIdColumn));
        lblData[0]->setText(list.key(row));
        lblData[1]->setText(list.text(row, ItemListModel::NameColumn));
        lblData[5]->setText(list.text(row, ItemListModel::SerialColumn));
        lblData[2]->setText(list.text(row, ItemListModel::RoomColumn));
        lblData[3]->setText(Money::reformat(list.text(row, ItemListModel::CostColumn)));
        lblData[4]->setText(Money::reformat(list.text(row, ItemListModel::ValueColumn)));
    }
    unsetCursor();
}

void frmDeleteItem::cmdDelete_Click() {
    QString strID = lblData[0]->text();
    if (strID.isEmpty()) {
        return;
    }
    bool deleted = false;
    try {
        deleted = objHome->DeleteItem(strID);
    } catch (const Riri::Error&) {
        deleted = false;
    }
    if (deleted) {
        {
            // This window's own list is refilled below, after the question.
            const QScopedValueRollback<bool> own(m_sendingNotice, true);
            InventoryNotice::send(InventoryChange::Items);
        }
        if (WindowParts::askAnother(
                QStringLiteral("Item Record Deleted!\r\n\r\nDo you want to delete another Item? "),
                QStringLiteral("Item Record Deleted Successfully"))) {
            cmdClear_Click();
            FillItemList();
        } else {
            WindowParts::closeWindow(this);
        }
    } else {
        Riri::MsgBox(QStringLiteral("Item Record NOT Deleted"), Riri::vbCritical | Riri::vbOKOnly,
                     AppInfo::Title);
        cmdClear_Click();
    }
}

void frmDeleteItem::inventoryChanged(InventoryChange change) {
    if (m_sendingNotice || !InventoryNotice::touchesItems(change)) {
        return;
    }
    const QString chosen = lvItems->chosenKey();
    lvItems->refill();
    lvItems->chooseKeySoon(chosen);
}

void frmDeleteItem::listRead() {
    if (!lblData[0]->text().isEmpty() && lvItems->rowOf(lblData[0]->text()) < 0) {
        cmdClear_Click();
    }
}

void frmDeleteItem::cmdClear_Click() {
    for (QLabel* label : lblData) {
        label->clear();
    }
}

void frmDeleteItem::cmdExit_Click() {
    WindowParts::closeWindow(this);
}
