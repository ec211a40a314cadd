#pragma once

#include "owner/OwnerFields.h"

enum class InventoryChange;

// The owner edit window: a child window of the main window that shows the
// stored owner record and writes the changes back to every owner row. When
// the owner record changes elsewhere (another owner window, a restore) it
// shows the new record, unless the user has typed or cleared the boxes: then
// the typing stays.
class frmEditOwner : public OwnerFields {
    Q_OBJECT
public:
    explicit frmEditOwner(QWidget* parent = nullptr);

protected:
    bool saveOwner() override;

private:
    // Puts the fields of the owner rows into the boxes; the last row read
    // stays. A null field leaves its box as it was.
    void FillOwnerFields();
    void inventoryChanged(InventoryChange change);

    bool m_typed = false;
};
