#pragma once

#include <Riri/Progress.h>

#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <type_traits>
#include <utility>

class QWidget;
class TaskState;

// What a long task's work is given on its worker thread: the progress to
// report, which converts to the Riri::Progress the component's operations
// take, and the text of what is being done now.
class TaskProgress {
public:
    explicit TaskProgress(std::shared_ptr<TaskState> state);

    // Reports the work done of the whole (0 when not known yet); false when
    // the task is to stop. Callable from any thread.
    bool operator()(qint64 done, qint64 total) const;
    // What the progress window says from now on ("Laying out the pages...").
    void setLabel(const QString& label) const;

    operator Riri::Progress() const; // NOLINT: converts where an operation takes one

private:
    std::shared_ptr<TaskState> m_state;
};

// How a long task is shown.
struct TaskOptions {
    // What the work counts, for the line under the bar.
    enum class Unit { Bytes, Items };

    QWidget* parent = nullptr;
    // The window's title: the command's name ("Back Up Inventory").
    QString title;
    // What is being done ("Backing up the inventory...").
    QString label;
    Unit unit = Unit::Bytes;
    // Whether the window offers Cancel: only for work that, stopped, leaves
    // nothing half done.
    bool cancellable = false;
};

// Runs long work on a worker thread while the windows stay live. After half
// a second a progress window shows the options' title and label, a bar of the
// work done of the whole and, when the task can be cancelled, Cancel. The
// window is application modal: the program's windows repaint but take no
// input until the work has ended, so no command runs into the middle of
// another. Before the window shows, input is held back the same way.
//
// The work gets its own thread, so it must open its own database
// connection (every operation of the component does) and must not touch
// widgets. What it returns is returned; what it throws is thrown again on the
// calling thread, a cancel as Riri::Error with ErrorNumber::Cancelled.
namespace LongTask {

void runWork(const TaskOptions& options, const std::function<void(const TaskProgress&)>& work);

template <typename Work>
auto run(const TaskOptions& options, Work&& work)
    -> std::invoke_result_t<Work&, const TaskProgress&> {
    using Result = std::invoke_result_t<Work&, const TaskProgress&>;
    if constexpr (std::is_void_v<Result>) {
        runWork(options, [&work](const TaskProgress& progress) { work(progress); });
    } else {
        std::optional<Result> result;
        runWork(options,
                [&work, &result](const TaskProgress& progress) { result.emplace(work(progress)); });
        return std::move(*result);
    }
}

} // namespace LongTask

// The seam tests drive long tasks through, instead of timers and the window.
namespace LongTaskSeam {

// Sees every progress report of every task, with what the task's window says
// at the time, on the thread that does the work, before the window hears of
// it; answering false stops a task that can be cancelled, as Cancel does. An
// empty hook (the default) sees nothing.
using Hook = std::function<bool(const QString& label, qint64 done, qint64 total)>;
void setHook(Hook hook);

} // namespace LongTaskSeam
