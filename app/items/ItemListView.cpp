#include "items/ItemListView.h"

#include "platform/Twips.h"
#include "shared/modGlobal.h"

#include <QHeaderView>

ItemListView::ItemListView(QWidget* form, const QStringList& headers, const Widths& widths)
    : QTreeView(form), m_form(form), m_items(new ItemListModel(headers, this)) {
    setModel(m_items);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setTextElideMode(Qt::ElideRight);

    QHeaderView* head = header();
    head->setStretchLastSection(false);
    head->setSectionsMovable(false);
    head->setSectionsClickable(true);
    head->setSortIndicatorShown(true);
    head->setSortIndicator(-1, Qt::AscendingOrder); // no column sorted yet
    head->setSectionResizeMode(QHeaderView::Interactive);
    for (int c = 0; c < ItemListModel::ColumnCount; ++c) {
        head->resizeSection(c, Twips::toPixels(widths[static_cast<size_t>(c)]));
    }
    connect(head, &QHeaderView::sectionClicked, this, &ItemListView::columnClick);
}

void ItemListView::FillItemList() {
    m_form->setCursor(Qt::WaitCursor);
    m_items->clear();
    header()->setSortIndicator(-1, Qt::AscendingOrder); // rows come in delivery order
    itmData = QPersistentModelIndex();
    rsData = objHome ? objHome->LoadItems() : nullptr;
    if (rsData) {
        // No set at all (the database could not be read) leaves the list empty.
        rsData->MoveFirst();
        m_items->fill(*rsData);
    }
    CloseRecordset();
    m_form->unsetCursor();
}

void ItemListView::refill() {
    const int column = m_items->sortColumn();
    const Qt::SortOrder order = m_items->order();
    FillItemList();
    if (column >= 0) {
        m_items->sortRows(column, order);
        header()->setSortIndicator(column, order);
    }
}

void ItemListView::columnClick(int column) {
    m_form->setCursor(Qt::WaitCursor);
    if (m_perColumn) {
        const bool again =
            column == m_items->sortColumn() && m_items->order() == Qt::AscendingOrder;
        m_items->sortRows(column, again ? Qt::DescendingOrder : Qt::AscendingOrder);
    } else {
        m_items->sortBy(column);
    }
    // The header flips its own indicator on a click; it shows the list's order.
    header()->setSortIndicator(column, m_items->order());
    m_form->unsetCursor();
}

int ItemListView::selectedRow() const {
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

QString ItemListView::chosenKey() const {
    const int row = selectedRow();
    return row < 0 ? QString() : m_items->key(row);
}

int ItemListView::rowOf(const QString& key) const {
    if (!key.isEmpty()) {
        for (int row = 0; row < m_items->rowCount(); ++row) {
            if (m_items->textView(row, ItemListModel::ItemIdColumn) == key) {
                return row;
            }
        }
    }
    return -1;
}

bool ItemListView::chooseKey(const QString& key) {
    const int row = rowOf(key);
    if (row < 0) {
        selectionModel()->clearSelection();
        return false;
    }
    const QModelIndex index = m_items->index(row, ItemListModel::ItemIdColumn);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                 QItemSelectionModel::Rows);
    scrollTo(index);
    return true;
}
