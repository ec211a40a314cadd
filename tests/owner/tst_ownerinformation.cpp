// Utils, "Owner Information": the owner entry window when no owner record
// exists, the owner edit window when one does; the two hidden owner items stay
// hidden and disabled.
#include "OwnerTesting.h"
#include "frmMain.h"
#include "owner/frmAddOwner.h"
#include "owner/frmEditOwner.h"

#include <QAction>
#include <QMdiSubWindow>
#include <QMenu>
#include <memory>

using namespace OwnerTesting;

class tst_ownerinformation : public OwnerTestCase {
    Q_OBJECT

private slots:
    void init() { QVERIFY(startTest(true)); }
    void cleanup() {
        closeWindows();
        QCOMPARE(m_boxes->pending(), 0);
        QCOMPARE(m_boxes->count(), 0);
        endTest();
    }

    void menuItemAfterASeparatorBelowDeleteItems() {
        QStringList names;
        const QList<QAction*> utils = m_main->findChild<QMenu*>("mnuUtils")->actions();
        for (QAction* a : utils) {
            names << a->objectName();
        }
        QCOMPARE(names.mid(0, 3), (QStringList{"mnuUtilsDeleteItems", "U0", "mnuUtilsOwner"}));
        QVERIFY(utils.at(1)->isSeparator());
        QCOMPARE(utils.at(2)->text(), QStringLiteral("Owner Information"));
        QVERIFY(utils.at(2)->isVisible() && utils.at(2)->isEnabled());
        for (const char* name : {"mnuAddOwner", "mnuEditHome"}) {
            const auto* action = m_main->findChild<QAction*>(QLatin1String(name));
            QVERIFY2(action != nullptr, name);
            QVERIFY(!action->isVisible());
            QVERIFY(!action->isEnabled());
        }
    }

    void withoutOwnerOpensTheEntryWindow() {
        m_main->findChild<QAction*>("mnuUtilsOwner")->trigger();
        QCOMPARE(openWindows<frmAddOwner>().size(), 1);
        QVERIFY(openWindows<frmAddOwner>().first()->isVisible());
        QVERIFY(openWindows<frmEditOwner>().isEmpty());
        QVERIFY(m_main->mdiArea()->subWindowList().isEmpty());
        if (!qEnvironmentVariableIsEmpty("QUORVANE_SHOTS")) {
            m_main->grab().save(qEnvironmentVariable("QUORVANE_SHOTS") +
                                QStringLiteral("/frmMain_owner.png"));
        }
    }

    void withOwnerOpensTheEditWindowWithTheRecord() {
        QVERIFY(m_install->exec("INSERT INTO tblOwner (OwnerID, LName) VALUES ('O-1', 'Lamb')"));
        m_main->findChild<QAction*>("mnuUtilsOwner")->trigger();
        QVERIFY(openWindows<frmAddOwner>().isEmpty());
        QCOMPARE(m_main->mdiArea()->subWindowList().size(), 1);
        auto* window =
            qobject_cast<frmEditOwner*>(m_main->mdiArea()->subWindowList().first()->widget());
        QVERIFY(window != nullptr);
        QCOMPARE(window->txtBox[0]->text(), QStringLiteral("Lamb"));
        m_main->findChild<QAction*>("mnuUtilsOwner")->trigger();
        QCOMPARE(m_main->mdiArea()->subWindowList().size(), 1);
    }
};

QTEST_MAIN(tst_ownerinformation)
#include "tst_ownerinformation.moc"
