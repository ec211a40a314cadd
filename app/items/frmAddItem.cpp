#include "frmAddItem.h"

#include "ItemEvents.h"
#include "ItemFieldSet.h"
#include "MsgBox.h"
#include "modGlobal.h"
#include "platform/Fonts.h"
#include "platform/Twips.h"
#include "platform/WindowParts.h"

#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

frmAddItem::frmAddItem(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("frmAddItem"));
    setFont(Fonts::Make(Fonts::Verdana, 9.75));
    Twips::FixInnerSize(this, 6270, 6870);

    Label30 = WindowParts::Heading(QStringLiteral("Add New Item"), QStringLiteral("Label30"), 14.25,
                                   QColor(), this, 120, 120, 6015, 435);

    m_fields = new ItemFieldSet(this, ItemFieldSet::Kind::Add, 660);
    connect(m_fields->cmdSave, &QPushButton::clicked, this, &frmAddItem::cmdSave_Click);
    connect(m_fields->cmdClear, &QPushButton::clicked, this, &frmAddItem::cmdClear_Click);
    connect(m_fields->cmdExit, &QPushButton::clicked, this, &frmAddItem::cmdExit_Click);

    WindowParts::KeepFrameFixed(this);
    Form_Load();
}

void frmAddItem::Form_Load() {
    NewHome();
    setWindowTitle(WindowParts::Caption());
    m_fields->datBox->setDate(QDate::currentDate());
}

QString frmAddItem::MakeItemID() {
    QString id;
    try {
        rsData = objHome->GetNewItemID();
        if (rsData && !rsData->IsEmpty()) {
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
    QStringList strText = m_fields->WriterTexts(MakeItemID());
    std::vector<float> sngMoney = m_fields->WriterAmounts(true);
    QDateTime datDate = m_fields->WriterDate();

    bool saved = false;
    if (!strText.at(0).isEmpty()) {
        try {
            saved = objHome->AddItems(strText, sngMoney, datDate);
        } catch (const Riri::Error&) {
            saved = false;
        }
    }
    if (saved) {
        ItemEvents::notifyChanged();
        if (WindowParts::AskAnother(
                QStringLiteral("New Item Record Saved!\r\n\r\nDo you want to add another Item? "),
                QStringLiteral("Record Saved Successfully"))) {
            m_fields->Clear();
        } else {
            WindowParts::Close(this);
        }
    } else {
        // The entries stay, so the user can try again.
        Riri::MsgBox(QStringLiteral("Item Record NOT Saved"), Riri::vbCritical | Riri::vbOKOnly,
                     QStringLiteral(" ERROR"));
    }
}

void frmAddItem::cmdClear_Click() {
    m_fields->Clear();
}

void frmAddItem::cmdExit_Click() {
    WindowParts::Close(this);
}
