#pragma once

#include "platform/Twips.h"

#include <QDateTime>
#include <QObject>
#include <QStringList>
#include <array>
#include <vector>

class EnterMoves;
class FocusCaptions;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QTextEdit;
class QWidget;
class RichTextLimit;

// Where each control of the item field set lies in its window, in twips.
struct ItemFieldLayout {
    std::array<TwipsRect, 10> captions; // lblData(0) to lblData(9)
    std::array<TwipsRect, 6> textBoxes; // txtBox(0) to txtBox(5)
    TwipsRect roomList;
    TwipsRect datePicker;
    std::array<TwipsRect, 2> richBoxes; // rtBox(0), rtBox(1)
    TwipsRect save;
    TwipsRect clear;
    TwipsRect exit;
};

// The item fields that the add and edit item windows share: the controls
// with their captions, limits and room list, the caption highlighting, the
// Enter moves, the checks before a save, Clear, and the mapping of the fields
// to the arguments of the component's item writers.
class ItemFieldSet : public QObject {
    Q_OBJECT
public:
    enum class Kind { Add, Edit };
    // The members of txtBox.
    enum TextBox : size_t { NameBox, SerialBox, ModelBox, CostBox, ValueBox, FromBox };
    // The members of rtBox.
    enum RichBox : size_t { DescriptionBox, NotesBox };

    // Builds the fields on the window where the layout puts them. The two
    // windows differ in their layouts, their character limits and the text
    // of the missing-room message.
    ItemFieldSet(QWidget* window, Kind kind, const ItemFieldLayout& layout);

    std::array<QLineEdit*, 6> txtBox{};
    std::array<QTextEdit*, 2> rtBox{};
    QComboBox* cboBox = nullptr;
    QDateEdit* datBox = nullptr;
    // The captions, in the order of the fields.
    std::array<QLabel*, 10> lblData{};
    QPushButton* cmdSave = nullptr;
    QPushButton* cmdClear = nullptr;
    QPushButton* cmdExit = nullptr;

    // The 35 rooms in their display order, "Attic" to "Other".
    static const QStringList& rooms();

    // The five checks before a save, in order; the first that fails shows its
    // message, does its follow-up and gives false.
    bool ValidateFields();
    // Empties the fields, selects no room, sets today's date and puts the
    // focus in Item Name.
    void clear();

    // The writer arguments: strText with the given identifier as element 0;
    // the two amounts rounded to whole cents (an empty box gives 0); the
    // chosen date without a time of day.
    QStringList writerTexts(const QString& itemId) const;
    std::vector<double> writerAmounts() const;
    QDateTime writerDate() const;

    // Fill a field from a stored item. A text is kept whole even when it is
    // longer than the box lets the user type. A room that is not in the list
    // selects none; a date that is invalid or out of the picker's range gives
    // today's date.
    void showText(TextBox box, const QString& text);
    void showRichText(RichBox box, const QString& text);
    void showRoom(const QString& room);
    void showDate(const QDate& date);

private:
    void makeCaptions(QWidget* window);
    void makeTextBoxes(QWidget* window);
    void makeRoomList(QWidget* window);
    void makeDatePicker(QWidget* window);
    void makeRichBoxes(QWidget* window);
    void makeButtons(QWidget* window, const ItemFieldLayout& layout);
    void place(const ItemFieldLayout& layout);
    void linkFocusAndKeys();
    // The length a text box allows as typed.
    int boxLength(size_t box) const;
    // The fields in their Tab order, Item Name to Notes.
    QList<QWidget*> fieldsInOrder() const;

    Kind m_kind;
    std::array<int, 6> m_limits{};
    std::array<::RichTextLimit*, 2> m_richLimits{};
    FocusCaptions* m_captions;
    EnterMoves* m_moves;
};
