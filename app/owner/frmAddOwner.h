#pragma once

#include "owner/OwnerFields.h"

class QShowEvent;

// The owner entry window: a separate top-level window, centred on the screen,
// that stores a new owner record with the identifier "O-1".
class frmAddOwner : public OwnerFields {
    Q_OBJECT
public:
    explicit frmAddOwner(QWidget* parent = nullptr);

    // The identifier every owner record carries.
    static const QString OwnerID;

    // Shows the one entry window: creates it when none is open, otherwise
    // brings the open one to the front with its entries as typed.
    static frmAddOwner* open();

protected:
    bool saveOwner() override;
    void showEvent(QShowEvent* event) override;

private:
    bool m_placed = false;
};
