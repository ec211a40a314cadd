#include "platform/Registration.h"

namespace Registration {

void request() {
    // Nothing to do: see the header.
}

} // namespace Registration
