#include "OwnerTesting.h"

#include "owner/frmAddOwner.h"

bool OwnerTestCase::startTest(bool withMainWindow) {
    // A responder or installation left by a failed cleanup goes first, so
    // that its folder is not put back over the new one.
    m_main.reset();
    m_boxes.reset();
    m_install.reset();
    m_install = std::make_unique<TestInstall>();
    if (!m_install->isValid()) {
        return false;
    }
    m_boxes = std::make_unique<MsgResponder>();
    if (withMainWindow) {
        m_main = std::make_unique<frmMain>();
        m_main->show();
        return QTest::qWaitForWindowExposed(m_main.get());
    }
    return true;
}

void OwnerTestCase::closeWindows() {
    for (frmAddOwner* window : openWindows<frmAddOwner>()) {
        delete window;
    }
    m_main.reset();
}

void OwnerTestCase::endTest() {
    m_boxes.reset();
    m_install.reset();
}
