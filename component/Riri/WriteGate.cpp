#include "WriteGate.h"

#include "Error.h"

#include <condition_variable>
#include <mutex>
#include <sqlite3.h>

namespace Riri {

namespace {

std::mutex g_mutex;
std::condition_variable g_changed;
WriteGate::State g_state = WriteGate::State::Open;

void setState(WriteGate::State state) {
    {
        const std::lock_guard<std::mutex> lock(g_mutex);
        g_state = state;
    }
    g_changed.notify_all();
}

} // namespace

void WriteGate::close() {
    setState(State::Pending);
}

void WriteGate::open() {
    setState(State::Open);
}

void WriteGate::markDamaged() {
    setState(State::Damaged);
}

WriteGate::State WriteGate::state() {
    const std::lock_guard<std::mutex> lock(g_mutex);
    return g_state;
}

WriteGate::State WriteGate::waitForVerdict() {
    std::unique_lock<std::mutex> lock(g_mutex);
    g_changed.wait(lock, [] { return g_state != State::Pending; });
    return g_state;
}

void WriteGate::requireWritable() {
    if (waitForVerdict() == State::Damaged) {
        throw Error(SQLITE_CORRUPT, damagedMessage());
    }
}

QString WriteGate::damagedMessage() {
    return QStringLiteral("The inventory file is damaged; nothing was written to it. Restore a "
                          "backup or an automatic copy first.");
}

} // namespace Riri
