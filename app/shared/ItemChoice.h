#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QWidget;

// Items the user chose in a window of another part of the program: several
// by their Item IDs, or every item of a room.
struct ItemChoice {
    QStringList itemIds;
    QString room;
    bool wholeRoom = false;
};

// Asks the user for items; nothing when the user cancels. The shell passes
// one to the windows that need it, since subsystems never include each other.
using ChooseItems = std::function<std::optional<ItemChoice>(QWidget* parent)>;
