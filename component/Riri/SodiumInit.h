#pragma once

namespace Riri {

// Initialises libsodium once; throws Riri::Error when it cannot start.
void requireSodium();

} // namespace Riri
