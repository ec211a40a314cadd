#include "Registration.h"

namespace Registration {

void Request() {
    // Nothing to do: see the header.
}

} // namespace Registration
