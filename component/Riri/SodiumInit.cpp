#include "SodiumInit.h"

#include "Error.h"
#include "ErrorNumbers.h"

#include <sodium.h>

namespace Riri {

void requireSodium() {
    // sodium_init is safe to call from several threads and more than once.
    if (sodium_init() < 0) {
        throw Error(ErrorNumber::Unexpected,
                    QStringLiteral("The encryption library could not be started."));
    }
}

} // namespace Riri
