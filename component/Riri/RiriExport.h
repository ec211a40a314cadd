#pragma once

#if defined(RIRI_BUILDING)
#define RIRI_EXPORT __attribute__((visibility("default")))
#else
#define RIRI_EXPORT
#endif
