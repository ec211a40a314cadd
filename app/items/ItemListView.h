#pragma once

#include "items/ItemListModel.h"

#include <QStringList>
#include <QTreeView>
#include <array>

// The item list of the edit and delete windows: a report list with one row
// per item and eleven columns, clickable headers that sort it, whole rows
// selected one at a time, no editing in place.
class ItemListView : public QTreeView {
    Q_OBJECT
public:
    using Widths = std::array<int, ItemListModel::ColumnCount>;

    // headers and widths (in twips) of the eleven columns; the busy pointer
    // shows over `form` while the list fills or sorts.
    ItemListView(QWidget* form, const QStringList& headers, const Widths& widths);

    ItemListModel* items() const { return m_items; }

    // Empties the list and fills it again with every item record, in the
    // order the component delivers them, through rsData.
    void FillItemList();
    // Reads every item again as FillItemList does, then sorts the rows as
    // they were sorted before (same column, same direction), so that a list
    // brought up to date after a change elsewhere looks as the user left it.
    void refill();
    // A click on the header of the given column: flips the list's one sort
    // direction and sorts once by that column (amounts by amount, the date
    // by date, other columns by text); the header shows the sort indicator.
    // With a direction per column, a click on another column sorts it
    // ascending and a further click on the same column reverses it.
    void columnClick(int column);
    void setDirectionPerColumn(bool perColumn) { m_perColumn = perColumn; }

    // The row of the first selected item, or -1.
    int selectedRow() const;
    // The shown row of the item with this ItemID, or -1.
    int rowOf(const QString& key) const;
    // The ItemID of the selected row, or an empty text.
    QString chosenKey() const;
    // Selects the shown row of the item with this ItemID without loading it
    // anywhere (no click). False, and nothing selected, when no shown row
    // holds it.
    bool chooseKey(const QString& key);

private:
    QWidget* m_form;
    ItemListModel* m_items;
    bool m_perColumn = false;
};
