#include "owner/OwnerFields.h"

#include "platform/Fonts.h"
#include "platform/Twips.h"
#include "shared/InventoryNotice.h"
#include "shared/modGlobal.h"
#include "ui/Look.h"
#include "ui/WindowParts.h"

#include <Riri/MsgBox.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

const std::array<QString, OwnerFields::FieldCount> OwnerFields::Captions = {
    QStringLiteral("Last Name"),  QStringLiteral("First Name"), QStringLiteral("Middle Name"),
    QStringLiteral("Address"),    QStringLiteral("City"),       QStringLiteral("State / Prov"),
    QStringLiteral("Postal Code")};

const std::array<int, OwnerFields::FieldCount> OwnerFields::MaxLengths = {35, 25, 25, 35,
                                                                          35, 3,  10};

const std::array<QString, OwnerFields::FieldCount> OwnerFields::Columns = {
    QStringLiteral("LName"),   QStringLiteral("FName"), QStringLiteral("MName"),
    QStringLiteral("Address"), QStringLiteral("City"),  QStringLiteral("State"),
    QStringLiteral("Zip")};

namespace {

constexpr int kHeadingTop = 120;
constexpr int kHeadingWidth = 4635;
constexpr int kHeadingHeight = 435;
constexpr int kFirstRowTop = 600;
constexpr int kRowStep = 360;
constexpr int kRowHeight = 315;
constexpr int kCaptionWidth = 1575;
constexpr int kBoxWidths[OwnerFields::FieldCount] = {3015, 3015, 3015, 3015, 3015, 675, 1695};
constexpr int kStateBox = 5;
constexpr int kButtonTop = 3180;
constexpr int kButtonWidth = 1215;
constexpr int kButtonHeight = 375;
constexpr int kInnerHeight = 3675;

} // namespace

OwnerFields::OwnerFields(const OwnerLayout& layout, QWidget* parent) : QWidget(parent) {
    setFont(Fonts::make(Fonts::Verdana, 9.75));
    Twips::fixInnerSize(this, layout.width, kInnerHeight);

    Label15 = WindowParts::heading(QStringLiteral("Owner Information"), QStringLiteral("Label15"),
                                   15.75, QColor(), this,
                                   {.left = layout.labelLeft,
                                    .top = kHeadingTop,
                                    .width = kHeadingWidth,
                                    .height = kHeadingHeight});

    auto* captions = new FocusCaptions(this);
    auto* enterMoves = new EnterMoves(this);
    for (int i = 0; i < FieldCount; ++i) {
        const int top = kFirstRowTop + i * kRowStep;
        lblData[i] = new QLabel(Captions[i], this);
        lblData[i]->setObjectName(QStringLiteral("lblData%1").arg(i));
        lblData[i]->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        Twips::place(lblData[i], layout.labelLeft, top, kCaptionWidth, kRowHeight);

        txtBox[i] = new QLineEdit(this);
        txtBox[i]->setObjectName(QStringLiteral("txtBox%1").arg(i));
        txtBox[i]->setMaxLength(MaxLengths[i]);
        txtBox[i]->setAlignment(i == kStateBox ? Qt::AlignHCenter : Qt::AlignLeft);
        Twips::place(txtBox[i], layout.boxLeft, top, kBoxWidths[i], kRowHeight);
        captions->link(txtBox[i], lblData[i]);
    }

    cmdSave = WindowParts::button(QStringLiteral("&Save"), QStringLiteral("cmdSave"), this,
                                  {.left = layout.saveLeft,
                                   .top = kButtonTop,
                                   .width = kButtonWidth,
                                   .height = kButtonHeight});
    cmdClear = WindowParts::button(QStringLiteral("&Clear"), QStringLiteral("cmdClear"), this,
                                   {.left = layout.clearLeft,
                                    .top = kButtonTop,
                                    .width = kButtonWidth,
                                    .height = kButtonHeight});
    cmdExit = WindowParts::button(QStringLiteral("e&Xit"), QStringLiteral("cmdExit"), this,
                                  {.left = layout.exitLeft,
                                   .top = kButtonTop,
                                   .width = kButtonWidth,
                                   .height = kButtonHeight});

    for (int i = 0; i + 1 < FieldCount; ++i) {
        enterMoves->link(txtBox[i], txtBox[i + 1]);
        setTabOrder(txtBox[i], txtBox[i + 1]);
    }
    enterMoves->link(txtBox[FieldCount - 1], cmdSave);
    setTabOrder(txtBox[FieldCount - 1], cmdSave);
    setTabOrder(cmdSave, cmdClear);
    setTabOrder(cmdClear, cmdExit);

    connect(cmdSave, &QPushButton::clicked, this, &OwnerFields::cmdSave_Click);
    connect(cmdClear, &QPushButton::clicked, this, &OwnerFields::cmdClear_Click);
    connect(cmdExit, &QPushButton::clicked, this, &OwnerFields::cmdExit_Click);
}

QString OwnerFields::fullName(const QString& first, const QString& middle, const QString& last) {
    return first + QLatin1Char(' ') + middle + QLatin1Char(' ') + last;
}

QStringList OwnerFields::ownerText() const {
    QStringList strText;
    strText.reserve(FieldCount + 2);
    for (const QLineEdit* box : txtBox) {
        strText.append(box->text());
    }
    strText.append(fullName(strText[1], strText[2], strText[0]));
    return strText;
}

void OwnerFields::cmdSave_Click() {
    TrimFields(*this);
    bool saved = false;
    try {
        saved = saveOwner();
    } catch (const Riri::Error&) {
        // A failure raised out of the component leaves the result false.
        saved = false;
    } catch (const std::exception& error) {
        qWarning("Owner save: %s", error.what());
        saved = false;
    }
    if (saved) {
        InventoryNotice::send(InventoryChange::Owner);
        Riri::MsgBox(QStringLiteral("Owner Information Saved!"),
                     Riri::vbExclamation | Riri::vbOKOnly,
                     QStringLiteral("Record Saved Successfully"));
        WindowParts::closeWindow(this);
        return;
    }
    Riri::MsgBox(QStringLiteral("Record NOT Saved"), Riri::vbCritical | Riri::vbOKOnly,
                 QStringLiteral(" ERROR"));
    // The entries stay in the boxes so the user can correct and save again.
    txtBox[0]->setFocus(Qt::OtherFocusReason);
}

void OwnerFields::cmdClear_Click() {
    for (int i = 0; i < FieldCount; ++i) {
        txtBox[i]->clear();
        // A longer stored value shown before may have widened the limit.
        txtBox[i]->setMaxLength(MaxLengths[i]);
    }
    txtBox[0]->setFocus(Qt::OtherFocusReason);
}

void OwnerFields::cmdExit_Click() {
    WindowParts::closeWindow(this);
}
