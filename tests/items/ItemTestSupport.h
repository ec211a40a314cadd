#pragma once

#include "TestSupport.h"

#include <QApplication>
#include <QDir>
#include <QHeaderView>
#include <QPixmap>
#include <QTest>
#include <QTreeView>
#include <QWidget>

// One stored item as the tests write it straight into the database. Amounts
// are SQL literals ("1234.5", "NULL"); a null text is stored as NULL.
struct StoredItem {
    QString itemId;
    QString name;
    QString sn;
    QString model;
    QString room;
    QString cost = QStringLiteral("NULL");
    QString value = QStringLiteral("NULL");
    QString bought;
    QString from;
    QString description;
    QString notes;
};

inline QString sqlText(const QString& text) {
    if (text.isNull()) {
        return QStringLiteral("NULL");
    }
    QString copy = text;
    return QLatin1Char('\'') + copy.replace(QLatin1Char('\''), QLatin1String("''")) +
           QLatin1Char('\'');
}

inline bool storeItem(const TestInstall& install, const StoredItem& item) {
    return install.exec(
        QStringLiteral("INSERT INTO tblItems (ItemID,ItemName,SN,Model,RoomName,Cost,CurValue,"
                       "BuyDate,AccquiredFrom,Description,Notes,AddDate) VALUES "
                       "(%1,%2,%3,%4,%5,%6,%7,%8,%9,%10,%11,'2020-01-02 03:04:05');")
            .arg(sqlText(item.itemId), sqlText(item.name), sqlText(item.sn), sqlText(item.model),
                 sqlText(item.room), item.cost, item.value, sqlText(item.bought),
                 sqlText(item.from))
            .arg(sqlText(item.description), sqlText(item.notes)));
}

// Shows the window and makes it the active one, so that focus moves work.
inline bool showActive(QWidget& window) {
    window.show();
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window);
}

// Clicks the list row, as the user does.
inline void clickRow(QTreeView* view, int row) {
    const QModelIndex index = view->model()->index(row, 0);
    view->scrollTo(index);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(index).center());
}

// Clicks the header of a list column, scrolling it into view first.
inline void clickHeader(QTreeView* view, int column) {
    if (view->model()->rowCount() > 0) {
        view->scrollTo(view->model()->index(0, column));
    }
    QHeaderView* header = view->header();
    const int x = header->sectionViewportPosition(column) + header->sectionSize(column) / 2;
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
}

// The picture of a window; saved as <name>.png into the folder named by
// QUORVANE_SHOTS when that is set, for looking at the layout.
inline QPixmap shoot(QWidget& window, const QString& name) {
    const QPixmap picture = window.grab();
    const QString folder = qEnvironmentVariable("QUORVANE_SHOTS");
    if (!folder.isEmpty()) {
        QDir().mkpath(folder);
        picture.save(folder + QLatin1Char('/') + name + QStringLiteral(".png"));
    }
    return picture;
}
