#include "items/frmAddItem.h"

#include "items/ItemFieldSet.h"
#include "platform/Fonts.h"
#include "platform/Twips.h"
#include "shared/InventoryNotice.h"
#include "shared/modGlobal.h"
#include "ui/WindowParts.h"

#include <Riri/MsgBox.h>

#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

// The layout of the item fields, in twips.
const ItemFieldLayout kFieldLayout{
    .captions = {{
        {.left = 120, .top = 660, .width = 1935, .height = 315},  // Item Name
        {.left = 120, .top = 1020, .width = 1935, .height = 315}, // Serial Number
        {.left = 120, .top = 1380, .width = 1935, .height = 315}, // Model
        {.left = 120, .top = 1740, .width = 1935, .height = 315}, // Location
        {.left = 120, .top = 2100, .width = 1935, .height = 315}, // Original Cost
        {.left = 120, .top = 2460, .width = 1935, .height = 315}, // Current Value
        {.left = 120, .top = 2820, .width = 1935, .height = 315}, // Accquired From
        {.left = 120, .top = 3180, .width = 1935, .height = 315}, // Date Accquired
        {.left = 120, .top = 3540, .width = 6015, .height = 315}, // Description
        {.left = 120, .top = 4920, .width = 6015, .height = 315}, // Notes
    }},
    .textBoxes = {{
        {.left = 2100, .top = 660, .width = 4035, .height = 315},  // Item Name
        {.left = 2100, .top = 1020, .width = 4035, .height = 315}, // Serial Number
        {.left = 2100, .top = 1380, .width = 4035, .height = 315}, // Model
        {.left = 2100, .top = 2100, .width = 1215, .height = 315}, // Original Cost
        {.left = 2100, .top = 2460, .width = 1215, .height = 315}, // Current Value
        {.left = 2100, .top = 2820, .width = 4035, .height = 315}, // Accquired From
    }},
    .roomList = {.left = 2100, .top = 1740, .width = 2595, .height = 360},
    .datePicker = {.left = 2100, .top = 3180, .width = 2595, .height = 315},
    .richBoxes = {{
        {.left = 120, .top = 3900, .width = 6015, .height = 975}, // Description
        {.left = 120, .top = 5280, .width = 6015, .height = 975}, // Notes
    }},
    .save = {.left = 120, .top = 6360, .width = 1215, .height = 375},
    .clear = {.left = 2460, .top = 6360, .width = 1215, .height = 375},
    .exit = {.left = 4920, .top = 6360, .width = 1215, .height = 375},
};

} // namespace

frmAddItem::frmAddItem(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("frmAddItem"));
    setFont(Fonts::make(Fonts::Verdana, 9.75));
    Twips::fixInnerSize(this, InnerSize);

    Label30 = WindowParts::heading(QStringLiteral("Add New Item"), QStringLiteral("Label30"), 14.25,
                                   QColor(), this,
                                   {.left = 120, .top = 120, .width = 6015, .height = 435});

    m_fields = new ItemFieldSet(this, ItemFieldSet::Kind::Add, kFieldLayout);
    connect(m_fields->cmdSave, &QPushButton::clicked, this, &frmAddItem::cmdSave_Click);
    connect(m_fields->cmdClear, &QPushButton::clicked, this, &frmAddItem::cmdClear_Click);
    connect(m_fields->cmdExit, &QPushButton::clicked, this, &frmAddItem::cmdExit_Click);

    WindowParts::keepFrameFixed(this);
    Form_Load();
}

void frmAddItem::Form_Load() {
    newHome();
    setWindowTitle(WindowParts::caption());
    m_fields->datBox->setDate(QDate::currentDate());
}

QString frmAddItem::MakeItemID() {
    QString id;
    try {
        rsData = objHome->GetNewItemID();
        if (rsData && !rsData->isEmpty()) {
            const QString largest = rsData->Field(QStringLiteral("NewItemID"));
            bool ok = true;
            const qint64 number = largest.isEmpty() ? 0 : largest.toLongLong(&ok);
            if (ok) {
                id = QStringLiteral("A-") + QString::number(number > 0 ? number + 1 : 1);
            }
        }
    } catch (const Riri::Error&) {
        // The largest ID cannot be read: no identifier, and no save.
    }
    CloseRecordset();
    return id;
}

void frmAddItem::cmdSave_Click() {
    TrimFields(*this);
    if (!m_fields->ValidateFields()) {
        return;
    }
    QStringList strText = m_fields->writerTexts(MakeItemID());
    std::vector<double> sngMoney = m_fields->writerAmounts();
    QDateTime datDate = m_fields->writerDate();

    bool saved = false;
    if (!strText.at(0).isEmpty()) {
        try {
            saved = objHome->AddItems(strText, sngMoney, datDate);
        } catch (const Riri::Error&) {
            saved = false;
        }
    }
    if (saved) {
        InventoryNotice::send(InventoryChange::Items);
        if (WindowParts::askAnother(
                QStringLiteral("New Item Record Saved!\r\n\r\nDo you want to add another Item? "),
                QStringLiteral("Record Saved Successfully"))) {
            m_fields->clear();
        } else {
            WindowParts::closeWindow(this);
        }
    } else {
        // The entries stay, so the user can try again.
        Riri::MsgBox(QStringLiteral("Item Record NOT Saved"), Riri::vbCritical | Riri::vbOKOnly,
                     QStringLiteral(" ERROR"));
    }
}

void frmAddItem::cmdClear_Click() {
    m_fields->clear();
}

void frmAddItem::cmdExit_Click() {
    WindowParts::closeWindow(this);
}
