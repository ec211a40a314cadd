#pragma once

#include "shared/ItemChoice.h"

#include <Riri/ClaimsStore.h>

#include <QDialog>
#include <vector>

class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;
class QTableWidgetItem;

// One claim: its fields on top (event date and kind, insurer, policy and
// claim numbers, description), below them the items it lists with their
// room, status, original cost, current value, replacement cost and note
// (status, replacement cost and note editable in place, stored at once),
// and the totals of the three amounts under the list. "Add Items..." asks
// for items through the function the shell passes in; "Write Claim
// Package..." writes the package to a new folder as a long task. A new
// claim is stored the first time it is saved or given items.
class frmClaim : public QDialog {
    Q_OBJECT
public:
    frmClaim(qint64 claimId, ChooseItems chooseItems, QWidget* parent = nullptr);

    QDateEdit* dtpEventDate = nullptr;
    QComboBox* cboEventKind = nullptr;
    QLineEdit* txtInsurer = nullptr;
    QLineEdit* txtPolicyNumber = nullptr;
    QLineEdit* txtClaimNumber = nullptr;
    QPlainTextEdit* txtDescription = nullptr;
    QTableWidget* lvItems = nullptr;
    QLabel* lblTotals = nullptr;
    QPushButton* cmdAddItems = nullptr;
    QPushButton* cmdRemoveItem = nullptr;
    QPushButton* cmdPackage = nullptr;
    QPushButton* cmdSave = nullptr;
    QPushButton* cmdClose = nullptr;

    qint64 claimId() const { return m_claim.id; }
    const std::vector<Riri::ClaimItem>& items() const { return m_items; }

    // Stores the fields; false (after saying why) when they cannot be.
    bool save();
    // Reads the claim's items and totals again, keeping the fields typed.
    void refreshItems();
    // The status combo box of a row.
    QComboBox* statusBox(int row) const;

    // The totals line: "3 items   Original cost $1.00   ...".
    static QString totalsText(const Riri::ClaimTotals& totals);

    // Shows the claim's window (raising the one already open for it) and
    // returns it; it deletes itself when closed.
    static frmClaim* openWindow(qint64 claimId, ChooseItems chooseItems, QWidget* parent);
    // Closes the claim's window, if open (the claim was deleted).
    static void closeWindow(qint64 claimId);

private:
    void cmdAddItems_Click();
    void cmdRemoveItem_Click();
    void cmdPackage_Click();
    void itemEdited(QTableWidgetItem* cell);
    void storeRow(int row);

    Riri::Claim m_claim;
    ChooseItems m_chooseItems;
    std::vector<Riri::ClaimItem> m_items;
    bool m_filling = false;
};
