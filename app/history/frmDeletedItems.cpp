#include "history/frmDeletedItems.h"

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

frmDeletedItems::frmDeletedItems(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmDeletedItems"));
    setWindowTitle(QStringLiteral("Deleted Items"));
    setFont(Fonts::make(QStringLiteral("Verdana"), 9.75));

    auto* label = new QLabel(
        QStringLiteral(
            "Deleted items, most recently deleted first. Choose the ones to bring back:"),
        this);
    label->setWordWrap(true);
    lvItems = new QTreeWidget(this);
    lvItems->setObjectName(QStringLiteral("lvItems"));
    lvItems->setRootIsDecorated(false);
    lvItems->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lvItems->header()->setStretchLastSection(false);
    lvItems->setHeaderLabels(
        {QStringLiteral("Deleted"), HistoryText::fieldCaption(QStringLiteral("ItemID")),
         HistoryText::fieldCaption(QStringLiteral("ItemName")),
         HistoryText::fieldCaption(QStringLiteral("RoomName")),
         HistoryText::fieldCaption(QStringLiteral("Cost")),
         HistoryText::fieldCaption(QStringLiteral("CurValue")), QStringLiteral("Attachments")});
    lblCount = new QLabel(this);
    lblCount->setObjectName(QStringLiteral("lblCount"));
    lblCount->setWordWrap(true);

    cmdBringBack = new QPushButton(QStringLiteral("&Bring Back"), this);
    cmdBringBack->setObjectName(QStringLiteral("cmdBringBack"));
    Look::styleButton(cmdBringBack);
    cmdClose = new QPushButton(QStringLiteral("C&lose"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    Look::styleButton(cmdClose);
    connect(cmdBringBack, &QPushButton::clicked, this, &frmDeletedItems::cmdBringBack_Click);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::close);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(lblCount, 1);
    buttons->addWidget(cmdBringBack);
    buttons->addWidget(cmdClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(lvItems, 1);
    layout->addLayout(buttons);
    resize(720, 360);
    cmdBringBack->setEnabled(false);

    connect(&InventoryNotice::instance(), &InventoryNotice::inventoryChanged, this,
            [this](InventoryChange change) {
                if (InventoryNotice::touchesItems(change)) {
                    refresh();
                }
            });
    refresh();
}

void frmDeletedItems::refresh() {
    const int reading = ++m_reading;
    auto items = std::make_shared<std::vector<Riri::ItemHistory::DeletedItem>>();
    BackgroundRead::start(
        this,
        [items] {
            try {
                *items = Riri::ItemHistory::deletedItems();
            } catch (const Riri::Error&) {
                items->clear();
            }
        },
        [this, reading, items] {
            if (reading == m_reading) {
                fill(*items);
            }
        });
}

void frmDeletedItems::fill(const std::vector<Riri::ItemHistory::DeletedItem>& items) {
    m_items = items;
    lvItems->clear();
    QList<QTreeWidgetItem*> rows;
    for (const Riri::ItemHistory::DeletedItem& item : items) {
        auto* row = new QTreeWidgetItem;
        row->setText(Deleted, HistoryText::when(item.date));
        const auto field = [&item](const char* name) {
            const QString field = QString::fromLatin1(name);
            const QVariant value = Riri::HistoryFields::valueOf(item.values, field);
            return value.isNull() ? QString() : HistoryText::value(field, value);
        };
        row->setText(ItemId, field("ItemID"));
        row->setText(ItemName, field("ItemName"));
        row->setText(Room, field("RoomName"));
        row->setText(Cost, field("Cost"));
        row->setText(Value, field("CurValue"));
        row->setText(Attachments, QString::number(item.attachments));
        for (int column : {Cost, Value, Attachments}) {
            row->setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
        }
        rows.append(row);
    }
    lvItems->addTopLevelItems(rows);
    lvItems->header()->resizeSections(QHeaderView::ResizeToContents);
    cmdBringBack->setEnabled(!m_items.empty());
    emit loaded();
}

QString frmDeletedItems::broughtBackText(qsizetype count, const QStringList& renamed) {
    QString text = count == 1 ? QStringLiteral("1 item was brought back.")
                              : QStringLiteral("%1 items were brought back.").arg(count);
    if (!renamed.isEmpty()) {
        text += QStringLiteral(" New Item IDs, as the old ones are taken: %1.")
                    .arg(renamed.join(QStringLiteral(", ")));
    }
    return text;
}

void frmDeletedItems::cmdBringBack_Click() {
    std::vector<qint64> chosen;
    for (QTreeWidgetItem* row : lvItems->selectedItems()) {
        chosen.push_back(
            m_items.at(static_cast<size_t>(lvItems->indexOfTopLevelItem(row))).itemRef);
    }
    if (chosen.empty()) {
        return;
    }
    try {
        const std::vector<Riri::HistoryRestore::BroughtBack> done =
            Riri::HistoryRestore::bringBack(chosen);
        QStringList renamed;
        for (const Riri::HistoryRestore::BroughtBack& item : done) {
            if (!item.formerId.isEmpty()) {
                renamed << QStringLiteral("%1 is now %2").arg(item.formerId, item.itemId);
            }
        }
        lblCount->setText(broughtBackText(static_cast<qsizetype>(done.size()), renamed));
        InventoryNotice::send(InventoryChange::Items);
    } catch (const Riri::Error& error) {
        Riri::MsgBox(error.description(), Riri::vbOKOnly | Riri::vbExclamation,
                     QStringLiteral("Bring Back"));
    }
}
