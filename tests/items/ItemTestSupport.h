#pragma once

#include "TestSupport.h"
#include "WindowTesting.h"
#include "items/ItemListView.h"

#include <Riri/MsgBox.h>

#include <QApplication>
#include <QDir>
#include <QHeaderView>
#include <QTest>
#include <QTreeView>

// A fresh installation with an empty database and a message-box responder.
struct Fixture {
    TestInstall install;
    MsgResponder boxes;
    int count() const { return install.scalar("SELECT COUNT(*) FROM tblItems").toInt(); }
};

// One item written straight into the database. Amounts are SQL literals; a
// null text is stored as NULL.
struct StoredItem {
    QString itemId, name, sn, model, room;
    QString cost = QStringLiteral("NULL"), value = QStringLiteral("NULL");
    QString bought, from, description, notes;
};

// An item with the given fields, the others empty.
inline StoredItem makeItem(const QString& id, const QString& name, const QString& room = {},
                           const QString& cost = QStringLiteral("NULL"),
                           const QString& bought = {}) {
    StoredItem item;
    item.itemId = id;
    item.name = name;
    item.room = room;
    item.cost = cost;
    item.bought = bought;
    return item;
}

inline QString sqlText(QString text) {
    return text.isNull() ? QStringLiteral("NULL")
                         : "'" + text.replace(QLatin1Char('\''), QLatin1String("''")) + "'";
}

inline bool storeItem(const TestInstall& install, const StoredItem& i) {
    return install.exec(QStringLiteral("INSERT INTO tblItems (ItemID,ItemName,SN,Model,RoomName,"
                                       "Cost,CurValue,BuyDate,AccquiredFrom,Description,Notes,"
                                       "AddDate) VALUES (%1,%2,%3,%4,%5,%6,%7,%8,%9,%10,%11,"
                                       "'2020-01-02 03:04:05');")
                            .arg(sqlText(i.itemId), sqlText(i.name), sqlText(i.sn),
                                 sqlText(i.model), sqlText(i.room), i.cost, i.value,
                                 sqlText(i.bought), sqlText(i.from))
                            .arg(sqlText(i.description), sqlText(i.notes)));
}

// Lets the list's reading thread deliver every batch; false when it has not
// finished within a minute.
inline bool readToEnd(const ItemListView& view) {
    return QTest::qWaitFor([&view] { return !view.isReading(); }, 60000);
}

inline void clickRow(QTreeView* view, int row) {
    const QModelIndex index = view->model()->index(row, 0);
    view->scrollTo(index);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(index).center());
}

inline void clickHeader(QTreeView* view, int column) {
    if (view->model()->rowCount() > 0) {
        view->scrollTo(view->model()->index(0, column));
    }
    QHeaderView* header = view->header();
    const int x = header->sectionViewportPosition(column) + header->sectionSize(column) / 2;
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
}
