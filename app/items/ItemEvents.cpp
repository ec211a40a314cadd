#include "items/ItemEvents.h"

ItemEvents& ItemEvents::instance() {
    static ItemEvents events;
    return events;
}
