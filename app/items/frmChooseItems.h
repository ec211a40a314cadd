#pragma once

#include "shared/ItemChoice.h"

#include <QDialog>

class frmFindItems;
class QPushButton;

// Chooses items with the Find window's search and room filter: several rows
// at once (Ctrl and Shift clicks), or every item of the room the filter
// shows. A double-click chooses that one item.
class frmChooseItems : public QDialog {
    Q_OBJECT
public:
    explicit frmChooseItems(const QString& title, QWidget* parent = nullptr);

    frmFindItems* find = nullptr;
    QPushButton* cmdAddChosen = nullptr;
    QPushButton* cmdAddRoom = nullptr;
    QPushButton* cmdCancel = nullptr;

    const ItemChoice& choice() const { return m_choice; }

    // Shows the window and waits for the user's choice.
    static std::optional<ItemChoice> ask(QWidget* parent);

private:
    void updateButtons();
    void chooseRows();
    void chooseRoom();

    ItemChoice m_choice;
};
