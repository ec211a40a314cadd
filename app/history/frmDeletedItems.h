#pragma once

#include <Riri/ItemHistory.h>

#include <QDialog>
#include <vector>

class QLabel;
class QPushButton;
class QTreeWidget;

// The deleted items, most recently deleted first, with the date of their
// deletion and their values. "Bring Back" restores the selected ones with
// their attachments and says which came back under a new Item ID. Read off
// the GUI thread, again whenever the inventory notice says the items changed.
class frmDeletedItems : public QDialog {
    Q_OBJECT
public:
    explicit frmDeletedItems(QWidget* parent = nullptr);

    QTreeWidget* lvItems = nullptr;
    QLabel* lblCount = nullptr;
    QPushButton* cmdBringBack = nullptr;
    QPushButton* cmdClose = nullptr;

    enum Column { Deleted, ItemId, ItemName, Room, Cost, Value, Attachments };

    void refresh();
    // What the window says after Bring Back.
    static QString broughtBackText(qsizetype count, const QStringList& renamed);

signals:
    void loaded();

private:
    void fill(const std::vector<Riri::ItemHistory::DeletedItem>& items);
    void cmdBringBack_Click();

    std::vector<Riri::ItemHistory::DeletedItem> m_items;
    int m_reading = 0;
};
