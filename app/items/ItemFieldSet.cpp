#include "items/ItemFieldSet.h"

#include "AppInfo.h"
#include "items/AmountLength.h"
#include "items/Money.h"
#include "items/RichTextLimit.h"
#include "platform/Twips.h"
#include "ui/Look.h"
#include "ui/PlainText.h"
#include "ui/WindowParts.h"

#include <Riri/Formats.h>
#include <Riri/ItemRules.h>
#include <Riri/MsgBox.h>

#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextEdit>

namespace {

// A date picker that Tab leaves, as it leaves every other field; the date's
// parts are reached with the arrow keys.
class LeavingDateEdit : public QDateEdit {
public:
    using QDateEdit::QDateEdit;

protected:
    bool focusNextPrevChild(bool next) override { return QWidget::focusNextPrevChild(next); }
};

void fail(const QString& message) {
    Riri::MsgBox(message, Riri::vbCritical | Riri::vbOKOnly, AppInfo::Title);
}

} // namespace

const QStringList& ItemFieldSet::rooms() {
    return Riri::ItemRules::rooms();
}

ItemFieldSet::ItemFieldSet(QWidget* window, Kind kind, const ItemFieldLayout& layout)
    : QObject(window), m_kind(kind), m_captions(new FocusCaptions(this)),
      m_moves(new EnterMoves(this)) {
    m_limits =
        kind == Kind::Add ? Riri::ItemRules::kAddWindowLimits : Riri::ItemRules::kEditWindowLimits;
    // Made in the order TrimFields visits them: text boxes before the
    // multi-line boxes.
    makeCaptions(window);
    makeTextBoxes(window);
    makeRoomList(window);
    makeDatePicker(window);
    makeRichBoxes(window);
    makeButtons(window, layout);
    place(layout);
    linkFocusAndKeys();
}

void ItemFieldSet::makeCaptions(QWidget* window) {
    static const char* const captions[10] = {
        "Item Name",     "Serial Number",  "Model",          "Location",    "Original Cost",
        "Current Value", "Accquired From", "Date Accquired", "Description", "Notes"};
    for (size_t i = 0; i < lblData.size(); ++i) {
        lblData[i] = new QLabel(QString::fromLatin1(captions[i]), window);
        lblData[i]->setObjectName(QStringLiteral("lblData_%1").arg(i));
        lblData[i]->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    }
    // The captions above the multi-line boxes span the width, centred.
    lblData[8]->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    lblData[9]->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
}

void ItemFieldSet::makeTextBoxes(QWidget* window) {
    for (size_t i = 0; i < txtBox.size(); ++i) {
        txtBox[i] = new QLineEdit(window);
        txtBox[i]->setObjectName(QStringLiteral("txtBox_%1").arg(i));
        txtBox[i]->setMaxLength(boxLength(i));
    }
    for (const size_t box : {size_t{CostBox}, size_t{ValueBox}}) {
        txtBox[box]->setValidator(new AmountLength(m_limits[box], txtBox[box]));
    }
    txtBox[CostBox]->setAlignment(Qt::AlignRight);
    txtBox[ValueBox]->setAlignment(Qt::AlignRight);
}

int ItemFieldSet::boxLength(size_t box) const {
    // The money boxes count their limit by AmountLength, not by the box.
    return box == CostBox || box == ValueBox ? AmountLength::kBoxLength : m_limits[box];
}

void ItemFieldSet::makeRoomList(QWidget* window) {
    cboBox = new QComboBox(window);
    cboBox->setObjectName(QStringLiteral("cboBox"));
    cboBox->setEditable(false);
    cboBox->addItems(rooms());
    cboBox->setCurrentIndex(-1);
}

void ItemFieldSet::makeDatePicker(QWidget* window) {
    datBox = new LeavingDateEdit(window);
    datBox->setObjectName(QStringLiteral("datBox"));
    datBox->setCalendarPopup(true);
    datBox->setDateRange(Riri::ItemRules::kFirstDate, Riri::ItemRules::kLastDate);
    datBox->setDisplayFormat(Riri::shortDateFormat(QLocale()));
    datBox->setDate(QDate::currentDate());
}

void ItemFieldSet::makeRichBoxes(QWidget* window) {
    for (size_t i = 0; i < rtBox.size(); ++i) {
        rtBox[i] = new QTextEdit(window);
        rtBox[i]->setObjectName(QStringLiteral("rtBox_%1").arg(i));
        rtBox[i]->setAcceptRichText(false);
        rtBox[i]->setTabChangesFocus(true);
        rtBox[i]->setToolTip(QStringLiteral(" Max 200 characters "));
        m_richLimits[i] = new ::RichTextLimit(rtBox[i], Riri::ItemRules::kRichTextLimit);
    }
}

void ItemFieldSet::makeButtons(QWidget* window, const ItemFieldLayout& layout) {
    cmdSave = WindowParts::button(QStringLiteral("&Save"), QStringLiteral("cmdSave"), window,
                                  layout.save);
    cmdClear = WindowParts::button(QStringLiteral("&Clear"), QStringLiteral("cmdClear"), window,
                                   layout.clear);
    cmdExit = WindowParts::button(QStringLiteral("e&Xit"), QStringLiteral("cmdExit"), window,
                                  layout.exit);
}

void ItemFieldSet::place(const ItemFieldLayout& layout) {
    for (size_t i = 0; i < lblData.size(); ++i) {
        Twips::place(lblData[i], layout.captions[i]);
    }
    for (size_t i = 0; i < txtBox.size(); ++i) {
        Twips::place(txtBox[i], layout.textBoxes[i]);
    }
    Twips::place(cboBox, layout.roomList);
    Twips::place(datBox, layout.datePicker);
    for (size_t i = 0; i < rtBox.size(); ++i) {
        Twips::place(rtBox[i], layout.richBoxes[i]);
    }
}

QList<QWidget*> ItemFieldSet::fieldsInOrder() const {
    return {txtBox[NameBox],       txtBox[SerialBox], txtBox[ModelBox], cboBox,
            txtBox[CostBox],       txtBox[ValueBox],  txtBox[FromBox],  datBox,
            rtBox[DescriptionBox], rtBox[NotesBox]};
}

void ItemFieldSet::linkFocusAndKeys() {
    // Each field's caption is the label of the same position in lblData.
    const QList<QWidget*> fields = fieldsInOrder();
    for (int i = 0; i < fields.size(); ++i) {
        m_captions->link(fields[i], lblData[static_cast<size_t>(i)]);
    }
    m_moves->link(txtBox[NameBox], txtBox[SerialBox]);
    m_moves->link(txtBox[SerialBox], txtBox[ModelBox]);
    m_moves->link(txtBox[ModelBox], cboBox);
    m_moves->link(txtBox[CostBox], txtBox[ValueBox]);
    m_moves->link(txtBox[ValueBox], txtBox[FromBox]);
    m_moves->link(txtBox[FromBox], datBox);
    QList<QWidget*> order = fields;
    order << cmdSave << cmdClear << cmdExit;
    for (int i = 1; i < order.size(); ++i) {
        QWidget::setTabOrder(order[i - 1], order[i]);
    }
}

bool ItemFieldSet::ValidateFields() {
    if (txtBox[NameBox]->text().isEmpty()) {
        fail(QStringLiteral("Item Name is missing! "));
        txtBox[NameBox]->setFocus();
        return false;
    }
    if (cboBox->currentText().isEmpty()) {
        fail(m_kind == Kind::Add ? QStringLiteral("Room Location is missing! ")
                                 : QStringLiteral("Location is missing! "));
        cboBox->setFocus();
        return false;
    }
    // An amount must be a number that is stored with its exact cents: "1e39",
    // "inf" and "nan" pass the numeric test but are no amounts.
    double amount = 0;
    if (!txtBox[CostBox]->text().isEmpty() && !Money::toAmount(txtBox[CostBox]->text(), &amount)) {
        fail(QStringLiteral("Incorrect data in the Cost box! "));
        txtBox[CostBox]->clear();
        txtBox[CostBox]->setFocus();
        return false;
    }
    if (!txtBox[ValueBox]->text().isEmpty() &&
        !Money::toAmount(txtBox[ValueBox]->text(), &amount)) {
        fail(QStringLiteral("Incorrect data in the Value box! "));
        txtBox[ValueBox]->clear();
        txtBox[ValueBox]->setFocus();
        return false;
    }
    if (datBox->date() > QDate::currentDate()) {
        fail(QStringLiteral("Date Accquired is greater than the current date! "));
        datBox->setFocus();
        return false;
    }
    return true;
}

void ItemFieldSet::clear() {
    for (size_t i = 0; i < txtBox.size(); ++i) {
        txtBox[i]->clear();
        txtBox[i]->setMaxLength(boxLength(i));
    }
    for (::RichTextLimit* limit : m_richLimits) {
        limit->setText(QString());
    }
    cboBox->setCurrentIndex(-1);
    datBox->setDate(QDate::currentDate());
    txtBox[NameBox]->setFocus();
}

QStringList ItemFieldSet::writerTexts(const QString& itemId) const {
    return QStringList{itemId,
                       txtBox[NameBox]->text(),
                       txtBox[SerialBox]->text(),
                       txtBox[ModelBox]->text(),
                       cboBox->currentText(),
                       txtBox[FromBox]->text(),
                       plainText(rtBox[DescriptionBox]->document()),
                       plainText(rtBox[NotesBox]->document())};
}

std::vector<double> ItemFieldSet::writerAmounts() const {
    std::vector<double> amounts{0.0, 0.0};
    const std::array<QLineEdit*, 2> boxes{txtBox[CostBox], txtBox[ValueBox]};
    for (size_t i = 0; i < amounts.size(); ++i) {
        const QString text = boxes[i]->text();
        double value = 0;
        if (!text.isEmpty() && Money::toAmount(text, &value)) {
            amounts[i] = value;
        }
    }
    return amounts;
}

QDateTime ItemFieldSet::writerDate() const {
    return QDateTime(datBox->date(), QTime(0, 0));
}

void ItemFieldSet::showText(TextBox box, const QString& text) {
    txtBox[box]->setMaxLength(std::max<int>(boxLength(box), static_cast<int>(text.size())));
    txtBox[box]->setText(text);
}

void ItemFieldSet::showRichText(RichBox box, const QString& text) {
    m_richLimits[box]->setText(text);
}

void ItemFieldSet::showRoom(const QString& room) {
    cboBox->setCurrentIndex(cboBox->findText(room, Qt::MatchExactly | Qt::MatchCaseSensitive));
}

void ItemFieldSet::showDate(const QDate& date) {
    const bool usable =
        date.isValid() && date >= Riri::ItemRules::kFirstDate && date <= Riri::ItemRules::kLastDate;
    datBox->setDate(usable ? date : QDate::currentDate());
}
