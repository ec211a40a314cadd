#include "ui/LongTask.h"

#include "ui/ProgressWindow.h"

#include <QEventLoop>
#include <QGuiApplication>
#include <QMutex>
#include <QMutexLocker>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <exception>

namespace {

// How long a task runs before its window shows.
constexpr int kWindowDelayMs = 500;

LongTaskSeam::Hook& hook() {
    static LongTaskSeam::Hook installed;
    return installed;
}

} // namespace

// What the worker and the window share: the latest progress, the label and
// whether Cancel was pressed. The worker writes, and posts one update at a
// time to the window on the GUI thread, so a task that reports very often
// does not flood the event queue.
class TaskState {
public:
    TaskState(const TaskOptions& options, LongTaskSeam::Hook hook)
        : m_cancellable(options.cancellable), m_hook(std::move(hook)), m_label(options.label) {}

    // Set on the GUI thread before the worker starts; lives until it ends.
    void attach(ProgressWindow* window) { m_window = window; }
    void cancel() { m_cancelled = true; }

    bool report(qint64 done, qint64 total) {
        if (m_hook && !m_hook(label(), done, total) && m_cancellable) {
            m_cancelled = true;
        }
        m_done = done;
        m_total = total;
        post();
        return !m_cancelled;
    }

    void setLabel(const QString& label) {
        {
            const QMutexLocker lock(&m_mutex);
            m_label = label;
            m_labelChanged = true;
        }
        post();
    }

private:
    QString label() {
        const QMutexLocker lock(&m_mutex);
        return m_label;
    }

    void post() {
        if (m_window == nullptr || m_posted.exchange(true)) {
            return;
        }
        QMetaObject::invokeMethod(
            m_window,
            [this] {
                m_posted = false;
                QString label;
                bool changed = false;
                {
                    const QMutexLocker lock(&m_mutex);
                    changed = std::exchange(m_labelChanged, false);
                    label = m_label;
                }
                if (changed) {
                    m_window->setLabel(label);
                }
                m_window->setProgress(m_done, m_total);
            },
            Qt::QueuedConnection);
    }

    const bool m_cancellable;
    const LongTaskSeam::Hook m_hook;
    ProgressWindow* m_window = nullptr;
    std::atomic<qint64> m_done{0};
    std::atomic<qint64> m_total{0};
    std::atomic<bool> m_cancelled{false};
    std::atomic<bool> m_posted{false};
    QMutex m_mutex;
    QString m_label; // what the window says
    bool m_labelChanged = false;
};

TaskProgress::TaskProgress(std::shared_ptr<TaskState> state) : m_state(std::move(state)) {}

bool TaskProgress::operator()(qint64 done, qint64 total) const {
    return m_state->report(done, total);
}

void TaskProgress::setLabel(const QString& label) const {
    m_state->setLabel(label);
}

TaskProgress::operator Riri::Progress() const {
    return [state = m_state](qint64 done, qint64 total) { return state->report(done, total); };
}

namespace LongTask {

void runWork(const TaskOptions& options, const std::function<void(const TaskProgress&)>& work) {
    auto state = std::make_shared<TaskState>(options, hook());
    ProgressWindow window(options, options.parent);
    state->attach(&window);
    QObject::connect(&window, &ProgressWindow::cancelRequested, &window,
                     [state] { state->cancel(); });

    QEventLoop loop;
    QTimer delay;
    delay.setSingleShot(true);
    QObject::connect(&delay, &QTimer::timeout, &loop, &QEventLoop::quit);

    // The worker marks the end before it asks the loop to quit, so whichever
    // loop runs then (or none, when the end is seen first) hears of it.
    std::exception_ptr failure;
    std::atomic<bool> ended{false};
    std::unique_ptr<QThread> worker(QThread::create([state, &work, &failure, &ended, &loop] {
        try {
            work(TaskProgress(state));
        } catch (...) {
            failure = std::current_exception();
        }
        ended = true;
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    }));
    worker->setObjectName(QStringLiteral("LongTask"));

    // The first half second: the windows repaint, input waits.
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    worker->start();
    delay.start(kWindowDelayMs);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    QGuiApplication::restoreOverrideCursor();
    if (!ended) {
        // Then the window, modal to the whole program, until the work ends.
        window.show();
        if (!ended) {
            loop.exec();
        }
    }
    worker->wait();
    window.hide();
    if (failure) {
        std::rethrow_exception(failure);
    }
}

} // namespace LongTask

void LongTaskSeam::setHook(Hook installed) {
    hook() = std::move(installed);
}
