#pragma once

#include <QObject>

// Tells the windows that list items when the stored items changed: the add,
// edit and delete windows report each successful save or deletion here, and
// windows that show the items read them again.
class ItemEvents : public QObject {
    Q_OBJECT
public:
    static ItemEvents& instance();

    // Called after an item was stored, changed or deleted.
    static void notifyChanged() { emit instance().itemsChanged(); }

signals:
    void itemsChanged();

private:
    ItemEvents() = default;
};
