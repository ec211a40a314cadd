// The main window's owner commands: "Add Owner" opens the one entry window
// beside the main window; "Edit Riri Information" checks for the owner record
// and opens the one edit window among the main window's children. Both menu
// items stay hidden and disabled.
#include "AppInfo.h"
#include "OwnerTesting.h"
#include "frmMain.h"
#include "owner/frmAddOwner.h"
#include "owner/frmEditOwner.h"

#include <Riri/MsgBox.h>

#include <QAction>
#include <QMdiSubWindow>
#include <QPointer>
#include <memory>

using namespace OwnerTesting;

class tst_ownercommands : public OwnerTestCase {
    Q_OBJECT

private slots:
    void init() { QVERIFY(startTest(true)); }
    void cleanup() {
        closeWindows();
        QCOMPARE(m_boxes->pending(), 0);
        endTest();
    }

    void menuItemsStayHidden() {
        for (const char* name : {"mnuAddOwner", "mnuEditHome"}) {
            const auto* action = m_main->findChild<QAction*>(QLatin1String(name));
            QVERIFY2(action != nullptr, name);
            QVERIFY(!action->isVisible());
            QVERIFY(!action->isEnabled());
        }
    }

    // A stored owner record does not keep the entry window from opening.
    void addOwnerOpensOneSeparateWindow() {
        QVERIFY(m_install->exec("INSERT INTO tblOwner (OwnerID, LName) VALUES ('O-1', 'Lamb')"));
        m_main->mnuAddOwner_Click();
        QCOMPARE(openWindows<frmAddOwner>().size(), 1);
        QPointer<frmAddOwner> window = openWindows<frmAddOwner>().first();
        QVERIFY(window->isWindow() && window->isVisible());
        QVERIFY(m_main->mdiArea()->subWindowList().isEmpty());
        window->txtBox[0]->setText("Ames");
        m_main->mnuAddOwner_Click();
        QCOMPARE(openWindows<frmAddOwner>(), QList<frmAddOwner*>({window.data()}));
        QCOMPARE(window->txtBox[0]->text(), QString("Ames"));
        QCOMPARE(m_boxes->count(), 0);
    }

    void editHomeWithoutOwnerShowsMessage() {
        m_boxes->expect(Riri::vbOK);
        m_main->mnuEditHome_Click();
        QCOMPARE(m_boxes->count(), 1);
        QCOMPARE(m_boxes->last().prompt, QString("No Owner record was found to edit! "));
        QCOMPARE(m_boxes->last().title, AppInfo::Title);
        QCOMPARE(m_boxes->last().flags, Riri::vbExclamation | Riri::vbOKOnly);
        QVERIFY(m_main->mdiArea()->subWindowList().isEmpty());
        QVERIFY(openWindows<frmEditOwner>().isEmpty());
    }

    // Opened again, the edit window comes forward as it was, not reloaded;
    // closed and opened, it loads afresh.
    void editHomeOpensOneChildWindow() {
        QVERIFY(m_install->exec("INSERT INTO tblOwner (OwnerID, LName) VALUES ('O-1', 'Lamb')"));
        m_main->mnuEditHome_Click();
        QCOMPARE(m_boxes->count(), 0);
        QCOMPARE(m_main->mdiArea()->subWindowList().size(), 1);
        QPointer<frmEditOwner> window =
            qobject_cast<frmEditOwner*>(m_main->mdiArea()->subWindowList().first()->widget());
        QVERIFY(window);
        QCOMPARE(window->txtBox[0]->text(), QString("Lamb"));

        window->txtBox[0]->setText("Typed");
        QVERIFY(m_install->exec("UPDATE tblOwner SET LName = 'Stored'"));
        m_main->mnuEditHome_Click();
        QCOMPARE(m_main->mdiArea()->subWindowList().size(), 1);
        QCOMPARE(m_main->mdiArea()->activeSubWindow()->widget(), window.data());
        QCOMPARE(window->txtBox[0]->text(), QString("Typed"));

        window->cmdExit_Click();
        QTRY_VERIFY(m_main->mdiArea()->subWindowList().isEmpty());
        m_main->mnuEditHome_Click();
        QCOMPARE(m_main->mdiArea()->subWindowList().size(), 1);
        auto* fresh =
            qobject_cast<frmEditOwner*>(m_main->mdiArea()->subWindowList().first()->widget());
        QVERIFY(fresh);
        QCOMPARE(fresh->txtBox[0]->text(), QString("Stored"));
    }
};

QTEST_MAIN(tst_ownercommands)
#include "tst_ownercommands.moc"
