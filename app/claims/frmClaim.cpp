#include "claims/frmClaim.h"

#include "AppInfo.h"
#include "claims/ClaimFormat.h"
#include "claims/ClaimPackage.h"
#include "platform/DialogFolder.h"
#include "platform/Fonts.h"
#include "shared/InventoryNotice.h"
#include "ui/LongTask.h"
#include "ui/Look.h"

#include <Riri/Error.h>
#include <Riri/ErrorNumbers.h>
#include <Riri/MsgBox.h>

#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <map>

namespace {

std::map<qint64, QPointer<frmClaim>>& openWindows() {
    static std::map<qint64, QPointer<frmClaim>> windows;
    return windows;
}

enum Column { ItemId, Item, Room, Status, Cost, Value, Replacement, Note, ColumnCount };

void tell(const QString& text, int icon) {
    Riri::MsgBox(text, icon | Riri::vbOKOnly, AppInfo::Title);
}

QTableWidgetItem* cell(const QString& text, bool editable, bool amount) {
    auto* item = new QTableWidgetItem(text);
    if (!editable) {
        item->setFlags(item->flags() & ~Qt::ItemIsEditable);
    }
    if (amount) {
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    return item;
}

QPushButton* makeButton(const QString& text, const char* name, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(name));
    Look::styleButton(button);
    return button;
}

} // namespace

frmClaim::frmClaim(qint64 claimId, ChooseItems chooseItems, QWidget* parent)
    : QDialog(parent), m_chooseItems(std::move(chooseItems)) {
    setObjectName(QStringLiteral("frmClaim"));
    setFont(Fonts::make(QStringLiteral("Verdana"), 9.75));
    if (claimId != 0) {
        m_claim = Riri::ClaimsStore::claim(claimId);
    } else {
        m_claim.eventDate = QDate::currentDate();
        m_claim.eventKind = Riri::ClaimsStore::eventKinds().constFirst();
    }
    setWindowTitle(AppInfo::Title + QStringLiteral(" - Claim"));

    dtpEventDate =
        new QDateEdit(m_claim.eventDate.isValid() ? m_claim.eventDate : QDate::currentDate(), this);
    dtpEventDate->setObjectName(QStringLiteral("dtpEventDate"));
    dtpEventDate->setCalendarPopup(true);
    cboEventKind = new QComboBox(this);
    cboEventKind->setObjectName(QStringLiteral("cboEventKind"));
    cboEventKind->addItems(Riri::ClaimsStore::eventKinds());
    cboEventKind->setCurrentText(m_claim.eventKind);
    txtInsurer = new QLineEdit(m_claim.insurer, this);
    txtInsurer->setObjectName(QStringLiteral("txtInsurer"));
    txtPolicyNumber = new QLineEdit(m_claim.policyNumber, this);
    txtPolicyNumber->setObjectName(QStringLiteral("txtPolicyNumber"));
    txtClaimNumber = new QLineEdit(m_claim.claimNumber, this);
    txtClaimNumber->setObjectName(QStringLiteral("txtClaimNumber"));
    txtDescription = new QPlainTextEdit(m_claim.description, this);
    txtDescription->setObjectName(QStringLiteral("txtDescription"));
    txtDescription->setTabChangesFocus(true);
    txtDescription->setFixedHeight(txtDescription->fontMetrics().lineSpacing() * 3 + 12);

    auto* left = new QFormLayout;
    left->addRow(QStringLiteral("Event &date:"), dtpEventDate);
    left->addRow(QStringLiteral("&Kind of loss:"), cboEventKind);
    left->addRow(QStringLiteral("&Insurer:"), txtInsurer);
    auto* right = new QFormLayout;
    right->addRow(QStringLiteral("&Policy number:"), txtPolicyNumber);
    right->addRow(QStringLiteral("Claim &number:"), txtClaimNumber);
    auto* fields = new QHBoxLayout;
    fields->addLayout(left, 1);
    fields->addSpacing(24);
    fields->addLayout(right, 1);

    lvItems = new QTableWidget(0, ColumnCount, this);
    lvItems->setObjectName(QStringLiteral("lvItems"));
    lvItems->setHorizontalHeaderLabels(
        {QStringLiteral("Item ID"), QStringLiteral("Item"), QStringLiteral("Room"),
         QStringLiteral("Status"), QStringLiteral("Original Cost"), QStringLiteral("Current Value"),
         QStringLiteral("Replacement Cost"), QStringLiteral("Note")});
    lvItems->verticalHeader()->hide();
    lvItems->setSelectionBehavior(QAbstractItemView::SelectRows);
    lvItems->setSelectionMode(QAbstractItemView::SingleSelection);
    lvItems->horizontalHeader()->setStretchLastSection(true);
    lblTotals = new QLabel(this);
    lblTotals->setObjectName(QStringLiteral("lblTotals"));

    cmdAddItems = makeButton(QStringLiteral("&Add Items..."), "cmdAddItems", this);
    cmdRemoveItem = makeButton(QStringLiteral("&Remove Item"), "cmdRemoveItem", this);
    cmdPackage = makeButton(QStringLiteral("&Write Claim Package..."), "cmdPackage", this);
    cmdSave = makeButton(QStringLiteral("&Save"), "cmdSave", this);
    cmdClose = makeButton(QStringLiteral("C&lose"), "cmdClose", this);
    connect(cmdAddItems, &QPushButton::clicked, this, &frmClaim::cmdAddItems_Click);
    connect(cmdRemoveItem, &QPushButton::clicked, this, &frmClaim::cmdRemoveItem_Click);
    connect(cmdPackage, &QPushButton::clicked, this, &frmClaim::cmdPackage_Click);
    connect(cmdSave, &QPushButton::clicked, this, &frmClaim::save);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::close);
    connect(lvItems, &QTableWidget::itemChanged, this, &frmClaim::itemEdited);
    connect(&InventoryNotice::instance(), &InventoryNotice::inventoryChanged, this,
            [this](InventoryChange change) {
                // Later, not inside the edit or the combo box that sent it:
                // the list's cells are made anew.
                if (InventoryNotice::touchesClaims(change) && m_claim.id != 0) {
                    QMetaObject::invokeMethod(this, &frmClaim::refreshItems, Qt::QueuedConnection);
                }
            });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdAddItems);
    buttons->addWidget(cmdRemoveItem);
    buttons->addWidget(cmdPackage);
    buttons->addStretch();
    buttons->addWidget(cmdSave);
    buttons->addWidget(cmdClose);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    auto* description = new QLabel(QStringLiteral("D&escription:"), this);
    description->setBuddy(txtDescription);
    layout->addWidget(description);
    layout->addWidget(txtDescription);
    layout->addWidget(lvItems, 1);
    layout->addWidget(lblTotals);
    layout->addLayout(buttons);
    resize(980, 560);
    refreshItems();
}

QString frmClaim::totalsText(const Riri::ClaimTotals& totals) {
    return QStringLiteral("%1     Original cost %2     Current value %3     Replacement cost %4")
        .arg(totals.items == 1 ? QStringLiteral("1 item")
                               : QStringLiteral("%1 items").arg(totals.items),
             ClaimFormat::money(totals.costCents), ClaimFormat::money(totals.valueCents),
             ClaimFormat::money(totals.replacementCents));
}

QComboBox* frmClaim::statusBox(int row) const {
    return qobject_cast<QComboBox*>(lvItems->cellWidget(row, Status));
}

bool frmClaim::save() {
    Riri::Claim claim = m_claim;
    claim.eventDate = dtpEventDate->date();
    claim.eventKind = cboEventKind->currentText();
    claim.insurer = txtInsurer->text().trimmed();
    claim.policyNumber = txtPolicyNumber->text().trimmed();
    claim.claimNumber = txtClaimNumber->text().trimmed();
    claim.description = txtDescription->toPlainText().trimmed();
    const bool wasNew = claim.id == 0;
    try {
        Riri::ClaimsStore::save(claim);
    } catch (const Riri::Error& error) {
        tell(QStringLiteral("The claim could not be saved. %1").arg(error.description()),
             Riri::vbCritical);
        return false;
    }
    m_claim = claim;
    if (wasNew) {
        openWindows()[m_claim.id] = this;
    }
    InventoryNotice::send(InventoryChange::Claims);
    return true;
}

void frmClaim::refreshItems() {
    Riri::ClaimTotals totals;
    if (m_claim.id != 0) {
        try {
            m_items = Riri::ClaimsStore::items(m_claim.id);
            totals = Riri::ClaimsStore::totals(m_claim.id);
        } catch (const Riri::Error& error) {
            tell(QStringLiteral("The claim's items could not be read. %1").arg(error.description()),
                 Riri::vbCritical);
        }
    }
    const int current = lvItems->currentRow();
    m_filling = true;
    lvItems->setRowCount(static_cast<int>(m_items.size()));
    for (int row = 0; row < static_cast<int>(m_items.size()); ++row) {
        const Riri::ClaimItem& item = m_items[static_cast<size_t>(row)];
        lvItems->setItem(row, ItemId, cell(item.itemId, false, false));
        lvItems->setItem(row, Item, cell(item.itemName, false, false));
        lvItems->setItem(row, Room, cell(item.room, false, false));
        lvItems->setItem(row, Cost, cell(ClaimFormat::money(item.costCents), false, true));
        lvItems->setItem(row, Value, cell(ClaimFormat::money(item.valueCents), false, true));
        lvItems->setItem(row, Replacement,
                         cell(ClaimFormat::money(item.replacementCents), true, true));
        lvItems->setItem(row, Note, cell(item.note, true, false));
        auto* status = new QComboBox(lvItems);
        status->addItems(Riri::ClaimsStore::statuses());
        status->setCurrentText(item.status);
        connect(status, &QComboBox::currentTextChanged, this, [this, status] {
            for (int r = 0; r < lvItems->rowCount(); ++r) {
                if (statusBox(r) == status) {
                    storeRow(r);
                }
            }
        });
        lvItems->setCellWidget(row, Status, status);
    }
    m_filling = false;
    if (current >= 0 && current < lvItems->rowCount()) {
        lvItems->setCurrentCell(current, 0);
    }
    lvItems->resizeColumnsToContents();
    lblTotals->setText(totalsText(totals));
    cmdRemoveItem->setEnabled(!m_items.empty());
    cmdPackage->setEnabled(!m_items.empty());
    setWindowTitle(
        AppInfo::Title + QStringLiteral(" - Claim") +
        (m_claim.claimNumber.isEmpty() ? QString() : QStringLiteral(" ") + m_claim.claimNumber));
}

void frmClaim::itemEdited(QTableWidgetItem* edited) {
    if (!m_filling && (edited->column() == Replacement || edited->column() == Note)) {
        storeRow(edited->row());
    }
}

void frmClaim::storeRow(int row) {
    if (m_filling || row < 0 || static_cast<size_t>(row) >= m_items.size()) {
        return;
    }
    const Riri::ClaimItem& item = m_items[static_cast<size_t>(row)];
    qint64 cents = 0;
    if (!ClaimFormat::parseMoney(lvItems->item(row, Replacement)->text(), &cents)) {
        tell(QStringLiteral("The replacement cost must be an amount, for example 1,250.00. "),
             Riri::vbExclamation);
        refreshItems();
        return;
    }
    try {
        Riri::ClaimsStore::updateItem(m_claim.id, item.itemRef, statusBox(row)->currentText(),
                                      cents, lvItems->item(row, Note)->text());
    } catch (const Riri::Error& error) {
        tell(QStringLiteral("The change could not be saved. %1").arg(error.description()),
             Riri::vbCritical);
    }
    InventoryNotice::send(InventoryChange::Claims);
}

void frmClaim::cmdAddItems_Click() {
    if (!m_chooseItems || (m_claim.id == 0 && !save())) {
        return;
    }
    const std::optional<ItemChoice> choice = m_chooseItems(this);
    if (!choice) {
        return;
    }
    try {
        if (choice->wholeRoom) {
            Riri::ClaimsStore::addRoom(m_claim.id, choice->room);
        } else {
            Riri::ClaimsStore::addItemIds(m_claim.id, choice->itemIds);
        }
    } catch (const Riri::Error& error) {
        tell(QStringLiteral("The items could not be added. %1").arg(error.description()),
             Riri::vbCritical);
    }
    InventoryNotice::send(InventoryChange::Claims);
}

void frmClaim::cmdRemoveItem_Click() {
    const int row = lvItems->currentRow();
    if (row < 0 || static_cast<size_t>(row) >= m_items.size()) {
        return;
    }
    try {
        Riri::ClaimsStore::removeItem(m_claim.id, m_items[static_cast<size_t>(row)].itemRef);
    } catch (const Riri::Error& error) {
        tell(QStringLiteral("The item could not be removed. %1").arg(error.description()),
             Riri::vbCritical);
    }
    InventoryNotice::send(InventoryChange::Claims);
}

void frmClaim::cmdPackage_Click() {
    if (!save()) {
        return;
    }
    const DialogFolder folder(QStringLiteral("claim"));
    const QString name =
        QStringLiteral("Claim %1")
            .arg(m_claim.claimNumber.isEmpty() ? QString::number(m_claim.id) : m_claim.claimNumber)
            .replace(QLatin1Char('/'), QLatin1Char('_'));
    const QString target = folder.askSave(this, QStringLiteral("Write Claim Package"),
                                          folder.suggest(name), QStringLiteral("Folders (*)"));
    if (target.isEmpty()) {
        return;
    }
    TaskOptions options;
    options.parent = this;
    options.title = QStringLiteral("Write Claim Package");
    options.label = QStringLiteral("Writing the claim package...");
    options.unit = TaskOptions::Unit::Items;
    options.cancellable = true;
    const qint64 id = m_claim.id;
    try {
        LongTask::run(options, [id, &target](const TaskProgress& progress) {
            ClaimPackage::write(id, target, progress);
        });
        tell(QStringLiteral("The claim package was written to\r\n\r\n%1 ")
                 .arg(QDir::toNativeSeparators(target)),
             Riri::vbInformation);
    } catch (const Riri::Error& error) {
        if (error.number() == Riri::ErrorNumber::Cancelled) {
            tell(QStringLiteral("The claim package was cancelled; nothing was written. "),
                 Riri::vbInformation);
        } else {
            tell(QStringLiteral("The claim package could not be written. %1")
                     .arg(error.description()),
                 Riri::vbCritical);
        }
    }
}

frmClaim* frmClaim::openWindow(qint64 claimId, ChooseItems chooseItems, QWidget* parent) {
    auto& windows = openWindows();
    if (claimId != 0) {
        if (const auto found = windows.find(claimId); found != windows.end() && found->second) {
            found->second->raise();
            found->second->activateWindow();
            return found->second;
        }
    }
    frmClaim* window = nullptr;
    try {
        window = new frmClaim(claimId, std::move(chooseItems), parent);
    } catch (const Riri::Error& error) {
        tell(QStringLiteral("The claim could not be read. %1").arg(error.description()),
             Riri::vbCritical);
        return nullptr;
    }
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setModal(false);
    if (claimId != 0) {
        windows[claimId] = window;
    }
    window->show();
    return window;
}

void frmClaim::closeWindow(qint64 claimId) {
    auto& windows = openWindows();
    if (const auto found = windows.find(claimId); found != windows.end()) {
        if (found->second) {
            found->second->close();
        }
        windows.erase(found);
    }
}
