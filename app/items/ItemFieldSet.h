#pragma once

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

// The item fields that the add and edit item windows share: the controls
// with their captions, limits and room list, the caption highlighting, the
// Enter moves, the checks before a save, Clear, and the mapping of the fields
// to the arguments of the component's item writers.
class ItemFieldSet : public QObject {
    Q_OBJECT
public:
    enum class Kind { Add, Edit };

    // Builds the fields on the window, their first row at `top` twips. The
    // two windows differ in their character limits, the width of the Model
    // box and the text of the missing-room message.
    ItemFieldSet(QWidget* window, Kind kind, int top);

    // Item Name, Serial Number, Model, Original Cost, Current Value,
    // Accquired From.
    std::array<QLineEdit*, 6> txtBox{};
    // Description, Notes.
    std::array<QTextEdit*, 2> rtBox{};
    QComboBox* cboBox = nullptr;
    QDateEdit* datBox = nullptr;
    // The captions, in the order of the fields.
    std::array<QLabel*, 10> lblData{};
    QPushButton* cmdSave = nullptr;
    QPushButton* cmdClear = nullptr;
    QPushButton* cmdExit = nullptr;

    // The 35 rooms in their display order, "Attic" to "Other".
    static const QStringList& Rooms();
    static constexpr int RichTextLimit = 250;

    // The five checks before a save, in order; the first that fails shows its
    // message, does its follow-up and gives false.
    bool ValidateFields();
    // Empties the fields, selects no room, sets today's date and puts the
    // focus in Item Name.
    void Clear();

    // The writer arguments: strText with the given identifier as element 0;
    // the two amounts, rounded to cents through the money pattern or read as
    // they are; the chosen date without a time of day.
    QStringList WriterTexts(const QString& itemId) const;
    std::vector<float> WriterAmounts(bool roundToCents) const;
    QDateTime WriterDate() const;

    // Fill a field from a stored item. A text is kept whole even when it is
    // longer than the box lets the user type. A room that is not in the list
    // selects none; a date that is invalid or out of the picker's range gives
    // today's date.
    void ShowText(int box, const QString& text);
    void ShowRichText(int box, const QString& text);
    void ShowRoom(const QString& room);
    void ShowDate(const QDate& date);

private:
    Kind m_kind;
    std::array<int, 6> m_limits{};
    std::array<::RichTextLimit*, 2> m_richLimits{};
    FocusCaptions* m_captions;
    EnterMoves* m_moves;
};
