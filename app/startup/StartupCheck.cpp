#include "startup/StartupCheck.h"

#include "AppInfo.h"
#include "platform/DialogFolder.h"
#include "platform/Pointer.h"
#include "shared/VerifiedRestore.h"
#include "startup/frmDamagedInventory.h"

#include <Riri/AutoBackups.h>
#include <Riri/ComponentFolder.h>
#include <Riri/Error.h>
#include <Riri/ErrorLog.h>
#include <Riri/EvidenceStore.h>
#include <Riri/Formats.h>
#include <Riri/InstallPaths.h>
#include <Riri/InventoryCopy.h>
#include <Riri/InventorySchema.h>
#include <Riri/MsgBox.h>
#include <Riri/WriteGate.h>

#include <QLocale>
#include <QMetaObject>

namespace {

// SQLite's number for a damaged file, as error.log records it.
constexpr int kCorrupt = 11;

QString shownTime(const QDateTime& when) {
    const QLocale locale;
    return when.toString(Riri::shortDateFormat(locale) + QLatin1Char(' ') +
                         Riri::timeFormat(locale));
}

void logDamage(const QString& problem) {
    try {
        Riri::ErrorLog::appendStartupBlock(Riri::InstallPaths::logPath(Riri::componentFolder()),
                                           kCorrupt, problem);
    } catch (const Riri::Error&) {
        // a log that cannot be written does not hide the choices
    }
}

// The damaged file's choices until one of them leaves a sound inventory or
// the user quits.
bool answerDamage(const Riri::InventoryCheck& check, QWidget* parent) {
    Riri::WriteGate::markDamaged();
    logDamage(check.problem);
    for (;;) {
        frmDamagedInventory::Prompt prompt;
        prompt.text = frmDamagedInventory::message(Riri::InventoryCopy::databasePath());
        prompt.details = check.problem;
        const QString newest = Riri::AutoBackups::newest(&prompt.newestCopy);
        prompt.newestCopyText = shownTime(prompt.newestCopy);
        Pointer::setScreen(Pointer::Default);
        QString chosen;
        switch (frmDamagedInventory::ask(prompt, parent)) {
        case frmDamagedInventory::Choice::Quit:
            return false;
        case frmDamagedInventory::Choice::RestoreNewest:
            chosen = newest;
            break;
        case frmDamagedInventory::Choice::ChooseBackup:
            chosen = VerifiedRestore::chooseBackup(parent);
            break;
        }
        if (!chosen.isEmpty() &&
            VerifiedRestore::restoreFrom(chosen, VerifiedRestore::Confirm::AlreadyChosen)) {
            return true;
        }
    }
}

// Runs work whose failure start-up only records in error.log.
template <typename Work> void logFailureOf(Work work) {
    try {
        work();
    } catch (const Riri::Error& error) {
        try {
            Riri::ErrorLog::appendStartupBlock(Riri::InstallPaths::logPath(Riri::componentFolder()),
                                               error.number(), error.description());
        } catch (const Riri::Error&) {
            // a log that cannot be written hides nothing the user must answer
        }
    }
}

} // namespace

Riri::InventoryCheck runStartupCheck() {
    if (Riri::WriteGate::state() == Riri::WriteGate::State::Open) {
        Riri::WriteGate::close();
    }
    Riri::InventoryCheck check =
        Riri::InventoryCheck::quickCheck(Riri::InventoryCopy::databasePath());
    if (check.ok) {
        // The day's copy is of the inventory as the check found it: writers
        // still wait.
        Riri::AutoBackups::makeDailyIfDue();
        Riri::WriteGate::open();
        // An inventory of an older version gets the newest schema now, so
        // that the windows' readers find every table they read.
        if (!check.newerVersion) {
            logFailureOf([] {
                // the first writer brings the file up to date, or says why not
                Riri::InventorySchema::bringUpToDate(Riri::InventoryCopy::databasePath());
            });
        }
    } else {
        // Set here, not when the user is told: a writer waiting on the GUI
        // thread holds back the telling.
        Riri::WriteGate::markDamaged();
    }
    return check;
}

bool answerStartupCheck(const Riri::InventoryCheck& check, QWidget* parent) {
    if (!check.ok) {
        return answerDamage(check, parent);
    }
    if (check.newerVersion) {
        // Read, never altered: every writer of the component refuses.
        Pointer::setScreen(Pointer::Default);
        Riri::MsgBox(Riri::InventorySchema::newerVersionMessage(),
                     Riri::vbExclamation | Riri::vbOKOnly, AppInfo::Title);
    }
    return true;
}

void sweepEvidenceAfterCheck(const Riri::InventoryCheck& check) {
    if (check.ok && !check.newerVersion &&
        Riri::WriteGate::state() == Riri::WriteGate::State::Open) {
        // a failed sweep is tried again the next day
        logFailureOf([] { Riri::EvidenceStore().sweepIfDue(); });
    }
}

bool checkInventoryAtStartup() {
    Pointer::setScreen(Pointer::Busy);
    const Riri::InventoryCheck check = runStartupCheck();
    sweepEvidenceAfterCheck(check);
    Pointer::setScreen(Pointer::Default);
    return answerStartupCheck(check);
}

int sweepLeftoversAtStartup() {
    // A check still running (an earlier start-up in the same process) may be
    // writing a copy under a temporary name.
    Riri::WriteGate::waitForVerdict();
    QStringList folders;
    for (const QString& kind : {QStringLiteral("backup"), QStringLiteral("csv")}) {
        const DialogFolder folder(kind);
        if (folder.isRemembered()) {
            folders.append(folder.folder());
        }
    }
    return Riri::AutoBackups::sweepLeftovers(folders);
}

StartupCheckTask::StartupCheckTask(QObject* parent) : QObject(parent) {
    Riri::WriteGate::close(); // before the window can try a write
    m_thread = std::thread([this] {
        Riri::InventoryCheck check;
        try {
            check = runStartupCheck();
        } catch (const std::exception& error) {
            check.problem = QString::fromLocal8Bit(error.what());
        }
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            m_result = check;
            m_finished = true;
        }
        m_verdict.notify_all();
        // The destructor joins this thread, so the task is still there; a
        // posted call to a task deleted meanwhile is dropped by Qt.
        QMetaObject::invokeMethod(
            this, [this] { emit finished(); }, Qt::QueuedConnection);
        // The verdict never waits for the store's daily sweep.
        try {
            sweepEvidenceAfterCheck(check);
        } catch (const std::exception&) {
            // tried again at the next start
        }
    });
}

StartupCheckTask::~StartupCheckTask() {
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

bool StartupCheckTask::isFinished() const {
    const std::lock_guard<std::mutex> lock(m_mutex);
    return m_finished;
}

Riri::InventoryCheck StartupCheckTask::result() {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_verdict.wait(lock, [this] { return m_finished; });
    return m_result;
}
