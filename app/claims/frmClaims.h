#pragma once

#include "shared/ItemChoice.h"

#include <QDialog>
#include <vector>

class QPushButton;
class QTreeWidget;

// Utils, "Claims...": the claims made to insurers, the newest event first,
// with the event, the number of items and the three totals. New and Open
// show a claim's window; Delete removes the chosen claim after a Yes/No
// question (default No), leaving its items in the inventory. Not modal; the
// list follows the inventory notice.
class frmClaims : public QDialog {
    Q_OBJECT
public:
    frmClaims(ChooseItems chooseItems, QWidget* parent = nullptr);

    QTreeWidget* lvClaims = nullptr;
    QPushButton* cmdNew = nullptr;
    QPushButton* cmdOpen = nullptr;
    QPushButton* cmdDelete = nullptr;
    QPushButton* cmdClose = nullptr;

    // The claims' ids in the order listed.
    const std::vector<qint64>& ids() const { return m_ids; }
    void refresh();

    // Shows the window (raising one already open) and returns it; it
    // deletes itself when closed.
    static frmClaims* openDialog(ChooseItems chooseItems, QWidget* parent);

private:
    void cmdNew_Click();
    void cmdOpen_Click();
    void cmdDelete_Click();
    qint64 chosenId() const;

    ChooseItems m_chooseItems;
    std::vector<qint64> m_ids;
};
