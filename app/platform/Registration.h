#pragma once

// The request to make the component library known to the system, made at
// every start and again when the component object cannot be used.
//
// Linux has no component registration: Tallimer links libRiri.so directly
// and finds it beside itself through its run path ($ORIGIN), so there is
// nothing to register. The request is kept as a step of its own so that
// start-up keeps its order; it starts no process, waits for nothing and
// reports nothing.
namespace Registration {

void request();

} // namespace Registration
