#include "items/frmChooseItems.h"

#include "items/ItemListView.h"
#include "items/frmFindItems.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

frmChooseItems::frmChooseItems(const QString& title, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmChooseItems"));
    setWindowTitle(title);
    find = new frmFindItems(this);
    find->lvItems->setSelectionMode(QAbstractItemView::ExtendedSelection);
    cmdAddChosen = new QPushButton(QStringLiteral("Add &Chosen Items"), this);
    cmdAddChosen->setObjectName(QStringLiteral("cmdAddChosen"));
    cmdAddRoom = new QPushButton(QStringLiteral("Add Whole &Room"), this);
    cmdAddRoom->setObjectName(QStringLiteral("cmdAddRoom"));
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdAddChosen->setDefault(true);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdAddChosen);
    buttons->addWidget(cmdAddRoom);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(find);
    layout->addLayout(buttons);
    resize(780, 520);

    connect(cmdAddChosen, &QPushButton::clicked, this, &frmChooseItems::chooseRows);
    connect(cmdAddRoom, &QPushButton::clicked, this, &frmChooseItems::chooseRoom);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(find->cboRoom, &QComboBox::currentIndexChanged, this, &frmChooseItems::updateButtons);
    connect(find->lvItems->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &frmChooseItems::updateButtons);
    connect(find, &frmFindItems::editItemRequested, this, [this](const QString& itemId) {
        m_choice = ItemChoice{{itemId}, QString(), false};
        accept();
    });
    updateButtons();
}

void frmChooseItems::updateButtons() {
    cmdAddChosen->setEnabled(find->lvItems->selectionModel()->hasSelection());
    cmdAddRoom->setEnabled(find->cboRoom->currentIndex() > 0);
}

void frmChooseItems::chooseRows() {
    QModelIndexList rows = find->lvItems->selectionModel()->selectedRows();
    std::sort(rows.begin(), rows.end());
    m_choice = ItemChoice();
    for (const QModelIndex& index : rows) {
        m_choice.itemIds.append(find->lvItems->items()->key(index.row()));
    }
    if (!m_choice.itemIds.isEmpty()) {
        accept();
    }
}

void frmChooseItems::chooseRoom() {
    if (find->cboRoom->currentIndex() <= 0) {
        return;
    }
    m_choice = ItemChoice{{}, find->cboRoom->currentText(), true};
    accept();
}

std::optional<ItemChoice> frmChooseItems::ask(QWidget* parent) {
    frmChooseItems window(QStringLiteral("Add Items to the Claim"), parent);
    if (window.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return window.choice();
}
