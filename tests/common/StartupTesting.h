#pragma once

#include "startup/frmDamagedInventory.h"

#include <QList>
#include <QTest>
#include <deque>

// Stands in for the damaged-inventory window: records every prompt and
// answers with the scripted choices in order. A prompt nobody scripted fails
// the running test and is answered with Quit. Restores the window when it
// goes.
class DamagedResponder {
public:
    DamagedResponder() {
        m_previous = frmDamagedInventory::setHandler([this](const frmDamagedInventory::Prompt& p) {
            m_shown.append(p);
            if (m_answers.empty()) {
                QTest::qFail("an unexpected damaged-inventory window", __FILE__, __LINE__);
                return frmDamagedInventory::Choice::Quit;
            }
            const frmDamagedInventory::Choice choice = m_answers.front();
            m_answers.pop_front();
            return choice;
        });
    }
    ~DamagedResponder() { frmDamagedInventory::setHandler(m_previous); }
    DamagedResponder(const DamagedResponder&) = delete;
    DamagedResponder& operator=(const DamagedResponder&) = delete;

    void expect(frmDamagedInventory::Choice choice) { m_answers.push_back(choice); }
    const QList<frmDamagedInventory::Prompt>& shown() const { return m_shown; }

private:
    frmDamagedInventory::Handler m_previous;
    std::deque<frmDamagedInventory::Choice> m_answers;
    QList<frmDamagedInventory::Prompt> m_shown;
};
