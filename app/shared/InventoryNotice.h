#pragma once

#include <QObject>

// What a committed write changed.
enum class InventoryChange {
    Items,      // items were added, changed or deleted
    Owner,      // the owner record was stored or changed
    Everything, // the whole inventory was replaced or extended in bulk (restore, import)
    Claims      // a claim or the items it lists changed; the items themselves did not
};

// The one notice that the inventory changed. Every write sends it after its
// transaction committed; every open window and report preview listens and
// shows the new content in place, keeping what the user typed.
class InventoryNotice : public QObject {
    Q_OBJECT
public:
    static InventoryNotice& instance();

    static void send(InventoryChange change) { emit instance().inventoryChanged(change); }

    // True when a change of this kind can touch the items.
    static bool touchesItems(InventoryChange change) {
        return change == InventoryChange::Items || change == InventoryChange::Everything;
    }
    // True when a change of this kind can touch the owner record.
    static bool touchesOwner(InventoryChange change) {
        return change == InventoryChange::Owner || change == InventoryChange::Everything;
    }
    // True when a change of this kind can touch the claims: an item's
    // change or deletion shows in the claims that list it.
    static bool touchesClaims(InventoryChange change) { return change != InventoryChange::Owner; }

signals:
    void inventoryChanged(InventoryChange change);

private:
    InventoryNotice() = default;
};

Q_DECLARE_METATYPE(InventoryChange)
