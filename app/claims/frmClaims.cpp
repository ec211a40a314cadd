#include "claims/frmClaims.h"

#include "AppInfo.h"
#include "claims/ClaimFormat.h"
#include "claims/frmClaim.h"
#include "platform/Fonts.h"
#include "shared/InventoryNotice.h"
#include "ui/Look.h"

#include <Riri/ClaimsStore.h>
#include <Riri/Error.h>
#include <Riri/MsgBox.h>

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

QPointer<frmClaims> g_open;

enum Column { Event, Kind, Number, Insurer, Items, Cost, Value, Replacement, ColumnCount };

QPushButton* makeButton(const QString& text, const char* name, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(name));
    Look::styleButton(button);
    return button;
}

} // namespace

frmClaims::frmClaims(ChooseItems chooseItems, QWidget* parent)
    : QDialog(parent), m_chooseItems(std::move(chooseItems)) {
    setObjectName(QStringLiteral("frmClaims"));
    setWindowTitle(AppInfo::Title + QStringLiteral(" - Claims"));
    setFont(Fonts::make(QStringLiteral("Verdana"), 9.75));

    auto* label = new QLabel(QStringLiteral("Claims made after a loss, the newest first:"), this);
    lvClaims = new QTreeWidget(this);
    lvClaims->setObjectName(QStringLiteral("lvClaims"));
    lvClaims->setRootIsDecorated(false);
    lvClaims->setSelectionMode(QAbstractItemView::SingleSelection);
    lvClaims->setHeaderLabels(
        {QStringLiteral("Event"), QStringLiteral("Kind"), QStringLiteral("Claim Number"),
         QStringLiteral("Insurer"), QStringLiteral("Items"), QStringLiteral("Original Cost"),
         QStringLiteral("Current Value"), QStringLiteral("Replacement Cost")});

    cmdNew = makeButton(QStringLiteral("&New"), "cmdNew", this);
    cmdOpen = makeButton(QStringLiteral("&Open"), "cmdOpen", this);
    cmdDelete = makeButton(QStringLiteral("&Delete"), "cmdDelete", this);
    cmdClose = makeButton(QStringLiteral("C&lose"), "cmdClose", this);
    connect(cmdNew, &QPushButton::clicked, this, &frmClaims::cmdNew_Click);
    connect(cmdOpen, &QPushButton::clicked, this, &frmClaims::cmdOpen_Click);
    connect(cmdDelete, &QPushButton::clicked, this, &frmClaims::cmdDelete_Click);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::close);
    connect(lvClaims, &QTreeWidget::itemDoubleClicked, this, &frmClaims::cmdOpen_Click);
    connect(&InventoryNotice::instance(), &InventoryNotice::inventoryChanged, this,
            [this](InventoryChange change) {
                if (InventoryNotice::touchesClaims(change)) {
                    refresh();
                }
            });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdNew);
    buttons->addWidget(cmdOpen);
    buttons->addWidget(cmdDelete);
    buttons->addStretch();
    buttons->addWidget(cmdClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(lvClaims, 1);
    layout->addLayout(buttons);
    resize(860, 360);
    refresh();
}

void frmClaims::refresh() {
    const qint64 chosen = chosenId();
    lvClaims->clear();
    m_ids.clear();
    std::vector<Riri::ClaimSummary> claims;
    try {
        claims = Riri::ClaimsStore::claims();
    } catch (const Riri::Error& error) {
        Riri::MsgBox(QStringLiteral("The claims could not be read. %1").arg(error.description()),
                     Riri::vbCritical | Riri::vbOKOnly, AppInfo::Title);
    }
    for (const Riri::ClaimSummary& summary : claims) {
        auto* row = new QTreeWidgetItem(lvClaims);
        const Riri::Claim& c = summary.claim;
        row->setText(Event, c.eventDate.isValid()
                                ? ClaimFormat::date(c.eventDate.toString(Qt::ISODate))
                                : QString());
        row->setText(Kind, c.eventKind);
        row->setText(Number, c.claimNumber);
        row->setText(Insurer, c.insurer);
        row->setText(Items, QString::number(summary.totals.items));
        row->setText(Cost, ClaimFormat::money(summary.totals.costCents));
        row->setText(Value, ClaimFormat::money(summary.totals.valueCents));
        row->setText(Replacement, ClaimFormat::money(summary.totals.replacementCents));
        for (int column = Items; column < ColumnCount; ++column) {
            row->setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
        }
        m_ids.push_back(c.id);
        if (c.id == chosen) {
            lvClaims->setCurrentItem(row);
        }
    }
    if (lvClaims->currentItem() == nullptr && lvClaims->topLevelItemCount() > 0) {
        lvClaims->setCurrentItem(lvClaims->topLevelItem(0));
    }
    cmdOpen->setEnabled(!m_ids.empty());
    cmdDelete->setEnabled(!m_ids.empty());
    lvClaims->header()->resizeSections(QHeaderView::ResizeToContents);
}

qint64 frmClaims::chosenId() const {
    const int row = lvClaims->indexOfTopLevelItem(lvClaims->currentItem());
    return row >= 0 && static_cast<size_t>(row) < m_ids.size() ? m_ids[static_cast<size_t>(row)]
                                                               : 0;
}

void frmClaims::cmdNew_Click() {
    frmClaim::openWindow(0, m_chooseItems, this);
}

void frmClaims::cmdOpen_Click() {
    if (const qint64 id = chosenId(); id != 0) {
        frmClaim::openWindow(id, m_chooseItems, this);
    }
}

void frmClaims::cmdDelete_Click() {
    const qint64 id = chosenId();
    if (id == 0) {
        return;
    }
    const QString prompt = QStringLiteral("Delete this claim? Its items stay in the inventory. ");
    if (Riri::MsgBox(prompt, Riri::vbYesNo | Riri::vbQuestion | Riri::vbDefaultButton2,
                     QStringLiteral("Delete Claim")) != Riri::vbYes) {
        return;
    }
    try {
        Riri::ClaimsStore::remove(id);
        frmClaim::closeWindow(id);
        InventoryNotice::send(InventoryChange::Claims);
    } catch (const Riri::Error& error) {
        Riri::MsgBox(QStringLiteral("The claim could not be deleted. %1").arg(error.description()),
                     Riri::vbCritical | Riri::vbOKOnly, AppInfo::Title);
    }
}

frmClaims* frmClaims::openDialog(ChooseItems chooseItems, QWidget* parent) {
    if (g_open) {
        g_open->raise();
        g_open->activateWindow();
        return g_open;
    }
    auto* window = new frmClaims(std::move(chooseItems), parent);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setModal(false);
    window->show();
    g_open = window;
    return window;
}
