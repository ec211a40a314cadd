#include "owner/frmEditOwner.h"

#include "shared/InventoryNotice.h"
#include "shared/modGlobal.h"
#include "ui/WindowParts.h"

#include <QLineEdit>
#include <QPushButton>
#include <algorithm>

namespace {

const OwnerLayout kLayout{4815, 60, 1680, 60, 1800, 3540};

} // namespace

frmEditOwner::frmEditOwner(QWidget* parent) : OwnerFields(kLayout, parent) {
    try {
        newHome();
    } catch (const Riri::Error&) {
        // The component could not be created; the boxes stay empty.
    } catch (const std::exception& error) {
        qWarning("Owner edit window: %s", error.what());
    }
    setWindowTitle(WindowParts::caption());
    WindowParts::keepFrameFixed(this);
    FillOwnerFields();

    for (QLineEdit* box : txtBox) {
        connect(box, &QLineEdit::textEdited, this, [this] { m_typed = true; });
    }
    connect(cmdClear, &QPushButton::clicked, this, [this] { m_typed = true; });
    connect(&InventoryNotice::instance(), &InventoryNotice::inventoryChanged, this,
            &frmEditOwner::inventoryChanged);
}

void frmEditOwner::inventoryChanged(InventoryChange change) {
    if (m_typed || !InventoryNotice::touchesOwner(change)) {
        return;
    }
    // The boxes show the stored record as it is now, none when it is gone.
    for (int i = 0; i < FieldCount; ++i) {
        txtBox[i]->clear();
        txtBox[i]->setMaxLength(MaxLengths[i]);
    }
    FillOwnerFields();
}

void frmEditOwner::FillOwnerFields() {
    setCursor(Qt::WaitCursor);
    rsData.reset();
    try {
        if (objHome) {
            rsData = objHome->LoadOwner();
        }
        if (rsData) {
            rsData->MoveFirst();
            while (!rsData->IsEOF()) {
                for (int i = 0; i < FieldCount; ++i) {
                    if (rsData->isNull(Columns[i])) {
                        continue;
                    }
                    const QString value = rsData->Field(Columns[i]);
                    // A stored value longer than the box accepts (written by
                    // other means) is shown whole rather than cut short.
                    txtBox[i]->setMaxLength(
                        std::max(MaxLengths[i], static_cast<int>(value.size())));
                    txtBox[i]->setText(value);
                }
                rsData->MoveNext();
            }
        }
    } catch (const Riri::Error&) {
        // An owner table that cannot be read leaves the boxes as they are.
    } catch (const std::exception& error) {
        qWarning("Owner edit window: %s", error.what());
    }
    CloseRecordset();
    unsetCursor();
}

bool frmEditOwner::saveOwner() {
    QStringList strText = ownerText();
    return objHome && objHome->UpdateOwner(strText);
}
