#include "shared/InventoryNotice.h"

InventoryNotice& InventoryNotice::instance() {
    static InventoryNotice notice;
    return notice;
}
