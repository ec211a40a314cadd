#pragma once

#include <Riri/ItemHistory.h>

#include <QWidget>
#include <vector>

class QLabel;
class QPushButton;
class QTreeWidget;

// The changes of one item, newest first: when, what, where from and the
// fields that changed. "Restore This Version" puts the item back as it was
// after the chosen change. The history is read off the GUI thread, again
// whenever the inventory notice says the items changed.
class frmItemHistory : public QWidget {
    Q_OBJECT
public:
    explicit frmItemHistory(QWidget* parent = nullptr);

    QLabel* lblItem = nullptr;
    QTreeWidget* lvChanges = nullptr;
    QPushButton* cmdRestore = nullptr;
    QPushButton* cmdClose = nullptr;

    enum Column { When, Action, Source, Changes };

    // Shows the history of the item with this Item ID (a stored item, or one
    // deleted); false, and nothing shown, when it has none.
    bool showItem(const QString& itemId);
    // Reads the history again.
    void refresh();

    static QString restoreQuestion(const QString& when);

signals:
    // The history read last is shown.
    void loaded();

private:
    void fill(const std::vector<Riri::ItemHistory::Change>& changes);
    void cmdRestore_Click();
    void enableRestore();

    qint64 m_itemRef = -1;
    QString m_itemId;
    std::vector<Riri::ItemHistory::Change> m_changes;
    int m_reading = 0; // the number of the newest read
};
