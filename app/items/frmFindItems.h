#pragma once

#include "items/ItemSearch.h"

#include <QWidget>

class ItemListView;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

// The window that finds items as the user types: a search box (which also
// looks in the captions of the items' evidence), a room filter and a filter
// for items without a photo above the list of all items (with the number of
// each item's attachments in its last column), and the count and totals of the items
// shown below it (while the list is read, of the items read so far, and how
// far the reading is). Enter or a double-click on a row asks for that item in the
// edit item window. The list is read again on F5 and whenever the inventory
// notice says that the items changed.
class frmFindItems : public QWidget {
    Q_OBJECT
public:
    explicit frmFindItems(QWidget* parent = nullptr);

    QLabel* Label30 = nullptr;
    QLineEdit* txtFind = nullptr;
    QComboBox* cboRoom = nullptr;
    QCheckBox* chkNoPhoto = nullptr;
    ItemListView* lvItems = nullptr;
    QLabel* lblTotals = nullptr;

    // Reads every item again, keeping the query, the room, the sort and the
    // chosen row while its item is still shown.
    void refresh();
    // The item of a shown row in the edit item window.
    void openRow(int row);

    // Opens at a size that shows a good part of the list; the user resizes it.
    QSize sizeHint() const override;

    // The text of the line under the list.
    static QString totalsText(qsizetype count, std::int64_t costCents, std::int64_t valueCents);
    // What the line adds while the list is still read: the items read so far
    // and, once counted, the items in the inventory. The count and totals
    // then cover only the items read.
    static QString readingText(qint64 read, qint64 total);

signals:
    // The user chose the item with this ItemID for editing.
    void editItemRequested(const QString& itemId);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Form_Load();
    void applyQuery();
    void openChosen();
    void showTotals();

    ItemSearch m_search;
    std::vector<std::uint8_t> m_batchKeep; // the rows of the batch being added that show
    int m_sortColumn = -1;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
};
