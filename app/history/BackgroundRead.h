#pragma once

#include <functional>

class QObject;

// Runs `work` on a thread of its own (it opens its own connection, as every
// operation of the component does, and touches no widget), then `done` on the
// receiver's thread. When the receiver is gone by then, `done` is not run.
namespace BackgroundRead {
void start(QObject* receiver, std::function<void()> work, std::function<void()> done);
} // namespace BackgroundRead
