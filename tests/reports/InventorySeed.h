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

bool Insert(const TestInstall& install, const Item& item);

// `count` items spread over the 35 rooms in a scrambled order, with
// descriptions and notes of a few lines, in one transaction.
bool InsertMany(const TestInstall& install, int count);

} // namespace InventorySeed
