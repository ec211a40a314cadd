#include "InventorySeed.h"

#include "TestSupport.h"

#include <QStringList>

namespace InventorySeed {

namespace {

QString quoted(const QString& text) {
    QString doubled = text;
    doubled.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + doubled + QLatin1Char('\'');
}

QString number(double value) {
    return QString::number(value, 'g', 15);
}

QString insertSql(const Item& i) {
    return QStringLiteral("INSERT INTO tblItems (ItemID, ItemName, SN, Model, RoomName, Cost, "
                          "CurValue, BuyDate, AccquiredFrom, Description, Notes, AddDate) "
                          "VALUES (%1, %2, %3, %4, %5, %6, %7, %8, %9, %10, %11, "
                          "'2026-01-02 03:04:05');")
        .arg(quoted(i.itemId), quoted(i.name), quoted(i.sn), quoted(i.model), quoted(i.room),
             number(i.cost), number(i.curValue), quoted(i.buyDate), quoted(i.from))
        .arg(quoted(i.description), quoted(i.notes));
}

const QStringList kRooms = {
    QStringLiteral("Attic"),       QStringLiteral("Basement"),    QStringLiteral("Bathroom 1"),
    QStringLiteral("Bathroom 2"),  QStringLiteral("Bedroom 1"),   QStringLiteral("Bedroom 2"),
    QStringLiteral("Bedroom 3"),   QStringLiteral("Bedroom 4"),   QStringLiteral("Closet"),
    QStringLiteral("Den"),         QStringLiteral("Dining Room"), QStringLiteral("Family Room"),
    QStringLiteral("Foyer"),       QStringLiteral("Garage"),      QStringLiteral("Garden"),
    QStringLiteral("Guest Room"),  QStringLiteral("Gym"),         QStringLiteral("Hallway"),
    QStringLiteral("Kitchen"),     QStringLiteral("Laundry"),     QStringLiteral("Library"),
    QStringLiteral("Living Room"), QStringLiteral("Loft"),        QStringLiteral("Master Bath"),
    QStringLiteral("Master Bed"),  QStringLiteral("Nursery"),     QStringLiteral("Office"),
    QStringLiteral("Pantry"),      QStringLiteral("Patio"),       QStringLiteral("Playroom"),
    QStringLiteral("Porch"),       QStringLiteral("Shed"),        QStringLiteral("Storage"),
    QStringLiteral("Workshop"),    QStringLiteral("Other")};

} // namespace

Item Sample(const QString& id, const QString& room, double cost, double value,
            const QString& bought) {
    Item i;
    i.itemId = id;
    i.name = QStringLiteral("Name of ") + id;
    i.sn = QStringLiteral("SN ") + id;
    i.model = QStringLiteral("Model of ") + id;
    i.room = room;
    i.cost = cost;
    i.curValue = value;
    i.buyDate = bought;
    i.from = QStringLiteral("Shop of ") + id;
    i.description = QStringLiteral("Description of ") + id;
    i.notes = QStringLiteral("Notes of ") + id;
    return i;
}

bool Insert(const TestInstall& install, const Item& item) {
    return install.exec(insertSql(item));
}

bool Insert(const TestInstall& install, const QString& id, const QString& room) {
    return Insert(install, Sample(id, room));
}

bool InsertMany(const TestInstall& install, int count) {
    QString sql = QStringLiteral("BEGIN;");
    for (int n = 1; n <= count; ++n) {
        Item i;
        i.itemId = QStringLiteral("A-%1").arg(n);
        i.name = QStringLiteral("Item number %1").arg(n);
        i.sn = QStringLiteral("SN-%1-%2").arg(n * 7919 % 100000).arg(n % 13);
        i.model = QStringLiteral("Model %1").arg(n % 97);
        i.room = kRooms.at((n * 17) % kRooms.size());
        i.cost = (n * 37 % 500000) / 100.0;
        i.curValue = (n * 23 % 300000) / 100.0;
        i.buyDate = QStringLiteral("%1-%2-%3")
                        .arg(1990 + n % 35)
                        .arg(1 + n % 12, 2, 10, QLatin1Char('0'))
                        .arg(1 + n % 28, 2, 10, QLatin1Char('0'));
        i.from = QStringLiteral("Store %1").arg(n % 41);
        i.description = QStringLiteral("A household possession recorded for the insurance file, "
                                       "bought new and kept in good order; item %1.")
                            .arg(n);
        i.notes = QStringLiteral("Receipt filed.\nWarranty until %1.").arg(2000 + n % 30);
        sql += insertSql(i);
    }
    sql += QStringLiteral("COMMIT;");
    return install.exec(sql);
}

} // namespace InventorySeed
