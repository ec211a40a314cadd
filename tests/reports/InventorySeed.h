#pragma once

#include <QString>

class TestInstall;

// Fills tblItems of a throw-away installation with plain SQL.
namespace InventorySeed {

struct Item {
    QString itemId;
    QString name;
    QString sn;
    QString model;
    QString room;
    double cost = 0;
    double curValue = 0;
    QString buyDate; // ISO text, as stored
    QString from;
    QString description;
    QString notes;
};

// An item whose texts name its identifier ("Name of A-1", "SN A-1" ...).
Item Sample(const QString& id, const QString& room, double cost = 10, double value = 5,
            const QString& bought = QStringLiteral("2001-02-03"));

bool Insert(const TestInstall& install, const Item& item);
// Inserts Sample(id, room).
bool Insert(const TestInstall& install, const QString& id, const QString& room);

// `count` items spread over the 35 rooms in a scrambled order, with
// descriptions and notes of a few lines, in one transaction.
bool InsertMany(const TestInstall& install, int count);

} // namespace InventorySeed
