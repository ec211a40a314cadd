#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>
#include <array>

class QLabel;
class QLineEdit;
class QPushButton;

// Where the controls of an owner window sit, in twips. The entry and the edit
// window place the same controls at slightly different lefts.
struct OwnerLayout {
    int width;     // inner width of the window
    int labelLeft; // heading and caption labels
    int boxLeft;   // text boxes
    int saveLeft;
    int clearLeft;
    int exitLeft;
};

// The owner field set shared by the owner entry and owner edit windows: the
// heading, seven caption labels and text boxes with their length limits, the
// Save, Clear and Exit buttons, the focus colouring of the captions and the
// Enter key moving on to the next box and from the last box to Save.
//
// Save trims the boxes, hands the record to the component through
// saveOwner() and reports the outcome: saved closes the window; not saved
// keeps what the user typed so nothing has to be entered again.
class OwnerFields : public QWidget {
    Q_OBJECT
public:
    static constexpr int FieldCount = 7;

    // Captions of lblData(0) to lblData(6).
    static const std::array<QString, FieldCount> Captions;
    // Maximum number of characters each text box accepts while typing.
    static const std::array<int, FieldCount> MaxLengths;
    // Columns of tblOwner the boxes hold, in index order.
    static const std::array<QString, FieldCount> Columns;

    // First name, one space, middle name, one space, last name; empty parts
    // are kept, so a missing middle name leaves two spaces.
    static QString fullName(const QString& first, const QString& middle, const QString& last);

    // The owner value array, elements 0 to 7: the seven boxes, then the full
    // name built from them.
    QStringList ownerText() const;

    QLabel* Label15 = nullptr;
    std::array<QLabel*, FieldCount> lblData{};
    std::array<QLineEdit*, FieldCount> txtBox{};
    QPushButton* cmdSave = nullptr;
    QPushButton* cmdClear = nullptr;
    QPushButton* cmdExit = nullptr;

    void cmdSave_Click();
    void cmdClear_Click();
    void cmdExit_Click();

protected:
    OwnerFields(const OwnerLayout& layout, QWidget* parent);

    // Stores the trimmed entries through objHome; true when the record was
    // stored. A call that throws counts as not stored.
    virtual bool saveOwner() = 0;
};
