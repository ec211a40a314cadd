#pragma once

#include <Riri/InventoryCheck.h>

#include <QObject>
#include <QStringList>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

class QWidget;

// Start-up's look at the inventory once the file is found: SQLite's quick
// check, and the daily automatic copy when one is due. Every write of the
// component waits until that look has passed (Riri::WriteGate). A damaged
// inventory is never written to: the user is told in one sentence, with
// the check's text behind "Show Details" and in error.log, and may restore
// the newest automatic copy, choose a backup file, or quit. An inventory
// holding schema objects the program did not make counts as damaged; one
// written by a newer version is used for reading only, and the user is told
// so.

// The check and the copy, without a window: safe on a worker thread, which
// opens its own connections. Closes the write gate first when it is open.
Riri::InventoryCheck runStartupCheck();

// Tells the user what the check found and opens the write gate when the
// inventory is sound (or restored). False when the program must end (the
// user quit, or nothing was restored); the file is then left as it is.
bool answerStartupCheck(const Riri::InventoryCheck& check, QWidget* parent = nullptr);

// At most once a day, removes the evidence files that neither the inventory
// nor any automatic copy (the day's one included) names any more; only
// after a check that found the inventory sound and writable.
void sweepEvidenceAfterCheck(const Riri::InventoryCheck& check);

// The check, the sweep and the answer in turn, on this thread.
bool checkInventoryAtStartup();

// Removes the left-overs of copies, backups, restores and exports an
// earlier run could not finish: in home/, home/backups and the folders of
// the last backup and the last CSV file when they are remembered. Start-up
// runs it after the single-instance check.
int sweepLeftoversAtStartup();

// runStartupCheck on a worker thread, started at once; finished() is
// emitted on the thread that made the task. The worker then sweeps the
// evidence store (sweepEvidenceAfterCheck); the destructor waits for it.
class StartupCheckTask : public QObject {
    Q_OBJECT
public:
    explicit StartupCheckTask(QObject* parent = nullptr);
    ~StartupCheckTask() override;
    StartupCheckTask(const StartupCheckTask&) = delete;
    StartupCheckTask& operator=(const StartupCheckTask&) = delete;

    bool isFinished() const;
    // Waits for the worker's verdict and returns it.
    Riri::InventoryCheck result();

signals:
    void finished();

private:
    mutable std::mutex m_mutex;
    std::condition_variable m_verdict;
    bool m_finished = false;
    Riri::InventoryCheck m_result;
    std::thread m_thread;
};
