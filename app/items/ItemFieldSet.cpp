#include "ItemFieldSet.h"

#include "AppInfo.h"
#include "Formats.h"
#include "ItemRules.h"
#include "Money.h"
#include "MsgBox.h"
#include "RichTextLimit.h"
#include "platform/Look.h"
#include "platform/Twips.h"
#include "platform/WindowParts.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextEdit>

namespace {

const QDate kFirstDate(1900, 1, 1);
const QDate kLastDate(9999, 12, 31);

constexpr int kLabelLeft = 120;
constexpr int kFieldLeft = 2100;
constexpr int kLabelWidth = 1935;
constexpr int kRowHeight = 315;
constexpr int kRowStep = 360;
constexpr int kFullWidth = 6015;

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

const QStringList& ItemFieldSet::Rooms() {
    return Riri::ItemRules::rooms();
}

ItemFieldSet::ItemFieldSet(QWidget* window, Kind kind, int top)
    : QObject(window), m_kind(kind), m_captions(new FocusCaptions(this)),
      m_moves(new EnterMoves(this)) {
    m_limits = kind == Kind::Add ? std::array<int, 6>{35, 35, 30, 10, 10, 34}
                                 : std::array<int, 6>{34, 35, 35, 10, 10, 35};
    static const char* const captions[10] = {
        "Item Name",     "Serial Number",  "Model",          "Location",    "Original Cost",
        "Current Value", "Accquired From", "Date Accquired", "Description", "Notes"};
    for (size_t i = 0; i < lblData.size(); ++i) {
        lblData[i] = new QLabel(QString::fromLatin1(captions[i]), window);
        lblData[i]->setObjectName(QStringLiteral("lblData_%1").arg(i));
        lblData[i]->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    }
    for (size_t i = 0; i < txtBox.size(); ++i) {
        txtBox[i] = new QLineEdit(window);
        txtBox[i]->setObjectName(QStringLiteral("txtBox_%1").arg(i));
        txtBox[i]->setMaxLength(m_limits[i]);
    }
    txtBox[3]->setAlignment(Qt::AlignRight);
    txtBox[4]->setAlignment(Qt::AlignRight);

    cboBox = new QComboBox(window);
    cboBox->setObjectName(QStringLiteral("cboBox"));
    cboBox->setEditable(false);
    cboBox->addItems(Rooms());
    cboBox->setCurrentIndex(-1);

    datBox = new LeavingDateEdit(window);
    datBox->setObjectName(QStringLiteral("datBox"));
    datBox->setCalendarPopup(true);
    datBox->setDateRange(kFirstDate, kLastDate);
    datBox->setDisplayFormat(Riri::ShortDateFormat(QLocale()));
    datBox->setDate(QDate::currentDate());

    for (size_t i = 0; i < rtBox.size(); ++i) {
        rtBox[i] = new QTextEdit(window);
        rtBox[i]->setObjectName(QStringLiteral("rtBox_%1").arg(i));
        rtBox[i]->setAcceptRichText(false);
        rtBox[i]->setTabChangesFocus(true);
        rtBox[i]->setToolTip(QStringLiteral(" Max 200 characters "));
        m_richLimits[i] = new ::RichTextLimit(rtBox[i], RichTextLimit);
    }

    const int buttonTop = top + 5700;
    cmdSave = WindowParts::Button(QStringLiteral("&Save"), QStringLiteral("cmdSave"), window, 120,
                                  buttonTop, 1215, 375);
    cmdClear = WindowParts::Button(QStringLiteral("&Clear"), QStringLiteral("cmdClear"), window,
                                   2460, buttonTop, 1215, 375);
    cmdExit = WindowParts::Button(QStringLiteral("e&Xit"), QStringLiteral("cmdExit"), window, 4920,
                                  buttonTop, 1215, 375);

    // Positions, in twips: eight rows of caption and field, then the two
    // multi-line boxes under their centred captions.
    const QList<QWidget*> rowFields{txtBox[0], txtBox[1], txtBox[2], cboBox,
                                    txtBox[3], txtBox[4], txtBox[5], datBox};
    const int modelWidth = kind == Kind::Add ? 4035 : 4095;
    const int widths[8] = {4035, 4035, modelWidth, 2595, 1215, 1215, 4035, 2595};
    for (int row = 0; row < 8; ++row) {
        const int y = top + row * kRowStep;
        Twips::Place(lblData[static_cast<size_t>(row)], kLabelLeft, y, kLabelWidth, kRowHeight);
        Twips::Place(rowFields[row], kFieldLeft, y, widths[row],
                     rowFields[row] == cboBox ? 360 : kRowHeight);
    }
    lblData[8]->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    lblData[9]->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    Twips::Place(lblData[8], kLabelLeft, top + 2880, kFullWidth, kRowHeight);
    Twips::Place(rtBox[0], kLabelLeft, top + 3240, kFullWidth, 975);
    Twips::Place(lblData[9], kLabelLeft, top + 4260, kFullWidth, kRowHeight);
    Twips::Place(rtBox[1], kLabelLeft, top + 4620, kFullWidth, 975);

    // Caption highlighting, Enter moves and the Tab order.
    const QList<QWidget*> fields{txtBox[0], txtBox[1], txtBox[2], cboBox,   txtBox[3],
                                 txtBox[4], txtBox[5], datBox,    rtBox[0], rtBox[1]};
    for (int i = 0; i < fields.size(); ++i) {
        m_captions->link(fields[i], lblData[static_cast<size_t>(i)]);
    }
    m_moves->link(txtBox[0], txtBox[1]);
    m_moves->link(txtBox[1], txtBox[2]);
    m_moves->link(txtBox[2], cboBox);
    m_moves->link(txtBox[3], txtBox[4]);
    m_moves->link(txtBox[4], txtBox[5]);
    m_moves->link(txtBox[5], datBox);
    QList<QWidget*> order = fields;
    order << cmdSave << cmdClear << cmdExit;
    for (int i = 1; i < order.size(); ++i) {
        QWidget::setTabOrder(order[i - 1], order[i]);
    }
}

bool ItemFieldSet::ValidateFields() {
    if (txtBox[0]->text().isEmpty()) {
        fail(QStringLiteral("Item Name is missing! "));
        txtBox[0]->setFocus();
        return false;
    }
    if (cboBox->currentText().isEmpty()) {
        fail(m_kind == Kind::Add ? QStringLiteral("Room Location is missing! ")
                                 : QStringLiteral("Location is missing! "));
        cboBox->setFocus();
        return false;
    }
    // An amount must be a number that single precision holds: "1e39", "inf"
    // and "nan" pass the numeric test but cannot be stored as amounts.
    float amount = 0;
    if (!txtBox[3]->text().isEmpty() && !Money::ToSingle(txtBox[3]->text(), &amount)) {
        fail(QStringLiteral("Incorrect data in the Cost box! "));
        txtBox[3]->clear();
        txtBox[3]->setFocus();
        return false;
    }
    if (!txtBox[4]->text().isEmpty() && !Money::ToSingle(txtBox[4]->text(), &amount)) {
        fail(QStringLiteral("Incorrect data in the Value box! "));
        txtBox[4]->clear();
        txtBox[4]->setFocus();
        return false;
    }
    if (datBox->date() > QDate::currentDate()) {
        fail(QStringLiteral("Date Accquired is greater than the current date! "));
        datBox->setFocus();
        return false;
    }
    return true;
}

void ItemFieldSet::Clear() {
    for (size_t i = 0; i < txtBox.size(); ++i) {
        txtBox[i]->clear();
        txtBox[i]->setMaxLength(m_limits[i]);
    }
    for (::RichTextLimit* limit : m_richLimits) {
        limit->setText(QString());
    }
    cboBox->setCurrentIndex(-1);
    datBox->setDate(QDate::currentDate());
    txtBox[0]->setFocus();
}

QStringList ItemFieldSet::WriterTexts(const QString& itemId) const {
    return QStringList{itemId,
                       txtBox[0]->text(),
                       txtBox[1]->text(),
                       txtBox[2]->text(),
                       cboBox->currentText(),
                       txtBox[5]->text(),
                       rtBox[0]->toPlainText(),
                       rtBox[1]->toPlainText()};
}

std::vector<float> ItemFieldSet::WriterAmounts(bool roundToCents) const {
    std::vector<float> amounts{0.0f, 0.0f};
    for (size_t i = 0; i < amounts.size(); ++i) {
        const QString text = txtBox[3 + i]->text();
        float value = 0;
        if (!text.isEmpty() && Money::ToSingle(text, &value)) {
            amounts[i] = roundToCents ? Money::RoundToCents(value) : value;
        }
    }
    return amounts;
}

QDateTime ItemFieldSet::WriterDate() const {
    return QDateTime(datBox->date(), QTime(0, 0));
}

void ItemFieldSet::ShowText(int box, const QString& text) {
    QLineEdit* edit = txtBox[static_cast<size_t>(box)];
    edit->setMaxLength(
        std::max<int>(m_limits[static_cast<size_t>(box)], static_cast<int>(text.size())));
    edit->setText(text);
}

void ItemFieldSet::ShowRichText(int box, const QString& text) {
    m_richLimits[static_cast<size_t>(box)]->setText(text);
}

void ItemFieldSet::ShowRoom(const QString& room) {
    cboBox->setCurrentIndex(cboBox->findText(room, Qt::MatchExactly | Qt::MatchCaseSensitive));
}

void ItemFieldSet::ShowDate(const QDate& date) {
    const bool usable = date.isValid() && date >= kFirstDate && date <= kLastDate;
    datBox->setDate(usable ? date : QDate::currentDate());
}
