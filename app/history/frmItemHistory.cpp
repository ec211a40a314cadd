#include "history/frmItemHistory.h"

#include "AppInfo.h"
#include "history/BackgroundRead.h"
#include "platform/Fonts.h"
#include "shared/HistoryText.h"
#include "shared/InventoryNotice.h"
#include "ui/Look.h"

#include <Riri/Error.h>
#include <Riri/HistoryRestore.h>
#include <Riri/MsgBox.h>

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <memory>

frmItemHistory::frmItemHistory(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("frmItemHistory"));
    setWindowTitle(QStringLiteral("Item History"));
    setFont(Fonts::make(QStringLiteral("Verdana"), 9.75));

    lblItem = new QLabel(this);
    lblItem->setObjectName(QStringLiteral("lblItem"));
    lvChanges = new QTreeWidget(this);
    lvChanges->setObjectName(QStringLiteral("lvChanges"));
    lvChanges->setRootIsDecorated(false);
    lvChanges->setSelectionMode(QAbstractItemView::SingleSelection);
    lvChanges->setHeaderLabels({QStringLiteral("Date"), QStringLiteral("Change"),
                                QStringLiteral("Source"), QStringLiteral("Fields")});
    lvChanges->setWordWrap(false);

    cmdRestore = new QPushButton(QStringLiteral("&Restore This Version"), this);
    cmdRestore->setObjectName(QStringLiteral("cmdRestore"));
    Look::styleButton(cmdRestore);
    cmdClose = new QPushButton(QStringLiteral("C&lose"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    Look::styleButton(cmdClose);
    connect(cmdRestore, &QPushButton::clicked, this, &frmItemHistory::cmdRestore_Click);
    connect(cmdClose, &QPushButton::clicked, this, &QWidget::close);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdRestore);
    buttons->addWidget(cmdClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblItem);
    layout->addWidget(lvChanges, 1);
    layout->addLayout(buttons);
    resize(720, 320);
    cmdRestore->setEnabled(false);
    connect(lvChanges, &QTreeWidget::currentItemChanged, this, &frmItemHistory::enableRestore);

    connect(&InventoryNotice::instance(), &InventoryNotice::inventoryChanged, this,
            [this](InventoryChange change) {
                if (InventoryNotice::touchesItems(change)) {
                    refresh();
                }
            });
}

bool frmItemHistory::showItem(const QString& itemId) {
    qint64 itemRef = -1;
    try {
        itemRef = Riri::ItemHistory::itemNumber(itemId);
    } catch (const Riri::Error&) {
    }
    if (itemRef < 0) {
        return false;
    }
    m_itemRef = itemRef;
    m_itemId = itemId;
    setWindowTitle(QStringLiteral("Item History - %1").arg(itemId));
    lblItem->setText(QStringLiteral("Changes of item %1, newest first:").arg(itemId));
    refresh();
    return true;
}

void frmItemHistory::refresh() {
    if (m_itemRef < 0) {
        return;
    }
    const int reading = ++m_reading;
    const qint64 itemRef = m_itemRef;
    auto changes = std::make_shared<std::vector<Riri::ItemHistory::Change>>();
    BackgroundRead::start(
        this,
        [itemRef, changes] {
            try {
                *changes = Riri::ItemHistory::changes(itemRef);
            } catch (const Riri::Error&) {
                changes->clear(); // an unreadable history shows as none
            }
        },
        [this, reading, changes] {
            if (reading == m_reading) {
                fill(*changes);
            }
        });
}

void frmItemHistory::fill(const std::vector<Riri::ItemHistory::Change>& changes) {
    const qint64 chosen =
        lvChanges->currentItem() != nullptr
            ? m_changes
                  .at(static_cast<size_t>(lvChanges->indexOfTopLevelItem(lvChanges->currentItem())))
                  .id
            : -1;
    m_changes = changes;
    lvChanges->setUpdatesEnabled(false);
    lvChanges->clear();
    QList<QTreeWidgetItem*> rows;
    rows.reserve(static_cast<qsizetype>(changes.size()));
    QTreeWidgetItem* current = nullptr;
    for (const Riri::ItemHistory::Change& change : changes) {
        auto* row = new QTreeWidgetItem;
        row->setText(When, HistoryText::when(change.date));
        row->setText(Action, change.action);
        row->setText(Source, change.source);
        const QString fields = HistoryText::fields(change.fields);
        row->setText(Changes, fields);
        row->setToolTip(Changes, fields);
        if (change.id == chosen) {
            current = row;
        }
        rows.append(row);
    }
    lvChanges->addTopLevelItems(rows);
    lvChanges->setCurrentItem(current != nullptr ? current : lvChanges->topLevelItem(0));
    for (int column : {When, Action, Source}) {
        lvChanges->resizeColumnToContents(column);
    }
    lvChanges->setUpdatesEnabled(true);
    enableRestore();
    emit loaded();
}

void frmItemHistory::enableRestore() {
    // After a deletion there is no version to put back.
    const int row = lvChanges->indexOfTopLevelItem(lvChanges->currentItem());
    cmdRestore->setEnabled(row >= 0 && static_cast<size_t>(row) < m_changes.size() &&
                           m_changes.at(static_cast<size_t>(row)).action !=
                               QLatin1String("deleted"));
}

QString frmItemHistory::restoreQuestion(const QString& when) {
    return QStringLiteral("Put the item back as it was after the change of %1?").arg(when);
}

void frmItemHistory::cmdRestore_Click() {
    const int row = lvChanges->indexOfTopLevelItem(lvChanges->currentItem());
    if (row < 0 || static_cast<size_t>(row) >= m_changes.size()) {
        return;
    }
    const Riri::ItemHistory::Change& change = m_changes.at(static_cast<size_t>(row));
    if (Riri::MsgBox(restoreQuestion(HistoryText::when(change.date)),
                     Riri::vbYesNo | Riri::vbQuestion | Riri::vbDefaultButton2,
                     QStringLiteral("Restore This Version")) != Riri::vbYes) {
        return;
    }
    try {
        if (Riri::HistoryRestore::restoreVersion(m_itemRef, change.id)) {
            InventoryNotice::send(InventoryChange::Items);
        }
    } catch (const Riri::Error& error) {
        Riri::MsgBox(error.description(), Riri::vbOKOnly | Riri::vbExclamation,
                     QStringLiteral("Restore This Version"));
    }
}
