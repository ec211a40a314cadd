#pragma once

#include <QDialog>
#include <functional>

class frmFindItems;
class QDialogButtonBox;

// Asks for one item with the Find Items window's search: the user types,
// picks a row and presses OK, Enter or double-clicks it.
class dlgChooseItem : public QDialog {
    Q_OBJECT
public:
    // `purpose` is the title: the command the item is chosen for.
    explicit dlgChooseItem(const QString& purpose, QWidget* parent = nullptr);

    frmFindItems* find() const { return m_find; }
    // The Item ID chosen, or an empty text.
    const QString& chosenItemId() const { return m_chosen; }

    // Shows the dialog and gives the chosen Item ID, empty when cancelled.
    // A host without a user (the tests) answers instead through the handler.
    using Handler = std::function<QString(QWidget* parent, const QString& purpose)>;
    static QString ask(QWidget* parent, const QString& purpose);
    // Installs a handler and returns the previous one; an empty handler
    // restores the dialog.
    static Handler setHandler(Handler handler);

private:
    void choose(const QString& itemId);

    frmFindItems* m_find = nullptr;
    QDialogButtonBox* m_buttons = nullptr;
    QString m_chosen;
};
