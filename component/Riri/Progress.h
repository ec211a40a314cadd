#pragma once

#include <QtGlobal>
#include <functional>

namespace Riri {

// How a long operation of the component reports how far it is: called now
// and then with the work done and the whole (rows or bytes; a whole of 0 when
// it is not known yet), from the thread the operation runs on. Returning
// false asks the operation to stop: it then undoes what it did, leaves
// nothing half done, and throws Riri::Error with ErrorNumber::Cancelled.
// An empty function reports nothing and never cancels.
using Progress = std::function<bool(qint64 done, qint64 total)>;

// Calls progress when it is set; true to go on.
inline bool goOn(const Progress& progress, qint64 done, qint64 total) {
    return !progress || progress(done, total);
}

// The progress of one step of an operation made of several, each counted in
// the same bytes: the step's own count shifted by what the steps before it
// did, within the operation's whole. The step must not outlive progress.
inline Progress stepOf(const Progress& progress, qint64 before, qint64 whole) {
    if (!progress) {
        return {};
    }
    return [&progress, before, whole](qint64 done, qint64) {
        return progress(qMin(before + done, whole), whole);
    };
}

} // namespace Riri
