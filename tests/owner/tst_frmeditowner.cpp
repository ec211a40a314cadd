// The owner edit window: loading the stored record, rewriting every owner
// row, the refused update that keeps the user's entries, and life inside the
// main window's child area.
#include "OwnerTesting.h"
#include "owner/frmEditOwner.h"
#include "shared/InventoryNotice.h"
#include "shared/modGlobal.h"

#include <Riri/MsgBox.h>

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <memory>

using namespace OwnerTesting;

namespace {

const QString kInsert = QStringLiteral("INSERT INTO tblOwner (OwnerID, LName, FName, MName, "
                                       "FullName, Address, City, State, Zip, AddDate) VALUES ");
const QString kLamb = QStringLiteral(
    "('O-1','Lamb','Ann','B','Ann B Lamb','1 Road','Town','ON','K1A','2026-01-02 03:04:05')");
const QString kOther = QStringLiteral(
    "('O-2','Other','Oz','','Oz  Other','9 Way','Far','BC','V5K','2026-01-03 03:04:05')");

} // namespace

class tst_frmeditowner : public OwnerTestCase {
    Q_OBJECT

private slots:
    void init() { QVERIFY(startTest()); }
    void cleanup() {
        QCOMPARE(m_boxes->pending(), 0);
        endTest();
    }

    // The boxes show the last owner row read; a null field leaves its box
    // empty; the shared record set is released afterwards.
    void loadsTheLastOwnerRow_data() {
        QTest::addColumn<QString>("rows");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("none") << QString() << QStringList(7, QString());
        QTest::newRow("one") << kInsert + kLamb
                             << QStringList({"Lamb", "Ann", "B", "1 Road", "Town", "ON", "K1A"});
        QTest::newRow("two") << kInsert + kLamb + "," + kOther
                             << QStringList({"Other", "Oz", "", "9 Way", "Far", "BC", "V5K"});
        QTest::newRow("nulls") << "INSERT INTO tblOwner (OwnerID, LName, City) "
                                  "VALUES ('O-1', 'Lamb', 'Town')"
                               << QStringList({"Lamb", "", "", "", "Town", "", ""});
    }
    void loadsTheLastOwnerRow() {
        QFETCH(QString, rows);
        QFETCH(QStringList, shown);
        QVERIFY(rows.isEmpty() || m_install->exec(rows));
        newHome();
        const Riri::dllHome* before = objHome.get();
        frmEditOwner window;
        QVERIFY(objHome && objHome.get() != before);
        QCOMPARE(window.windowTitle(), QString("Quorvane - 2.0"));
        QCOMPARE(boxTexts(window), shown);
        QVERIFY(!rsData);
    }

    // An owner record changed elsewhere is shown at once, unless the user has
    // typed in the window: the typing is never overwritten.
    void followsAnOwnerChangedElsewhere_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<InventoryChange>("change");
        QTest::addColumn<QString>("shown");
        QTest::newRow("owner changed") << QString() << InventoryChange::Owner << "Ross";
        QTest::newRow("restored") << QString() << InventoryChange::Everything << "Ross";
        QTest::newRow("only items changed") << QString() << InventoryChange::Items << "Lamb";
        QTest::newRow("typed, owner changed") << "e" << InventoryChange::Owner << "Lambe";
    }
    void followsAnOwnerChangedElsewhere() {
        QFETCH(QString, typed);
        QFETCH(InventoryChange, change);
        QFETCH(QString, shown);
        QVERIFY(m_install->exec(kInsert + kLamb));
        frmEditOwner window;
        QVERIFY(showActive(window));
        window.txtBox[0]->setFocus();
        QTest::keyClick(window.txtBox[0], Qt::Key_End);
        QTest::keyClicks(window.txtBox[0], typed);
        QVERIFY(m_install->exec("UPDATE tblOwner SET LName = 'Ross', City = 'Port'"));
        InventoryNotice::send(change);
        QCOMPARE(window.txtBox[0]->text(), shown);
        QCOMPARE(window.txtBox[4]->text(), QString(shown == "Ross" ? "Port" : "Town"));
    }

    // A stored name longer than the box lets one type is shown whole; after
    // Clear the box takes no more than its own limit again.
    void clearRestoresTheTypingLimit() {
        const QString longName(40, QLatin1Char('n'));
        QVERIFY(m_install->exec("INSERT INTO tblOwner (OwnerID, LName) VALUES ('O-1', '" +
                                longName + "')"));
        frmEditOwner window;
        QVERIFY(showActive(window));
        QCOMPARE(window.txtBox[0]->text(), longName);
        QTest::mouseClick(window.cmdClear, Qt::LeftButton);
        QTest::keyClicks(window.txtBox[0], longName);
        QCOMPARE(window.txtBox[0]->text(), QString(35, QLatin1Char('n')));
    }

    // The update has no condition: every owner row gets the new values and
    // the full name rebuilt from the boxes; OwnerID and AddDate stay.
    void updateRewritesEveryRow() {
        QVERIFY(m_install->exec(kInsert + kLamb + "," + kOther));
        QPointer<frmEditOwner> window = new frmEditOwner;
        window->setAttribute(Qt::WA_DeleteOnClose);
        QVERIFY(showActive(*window));
        window->txtBox[2]->setFocus();
        QTest::keyClicks(window->txtBox[2], "  Mae ");
        window->txtBox[0]->setFocus();
        window->txtBox[0]->selectAll();
        QTest::keyClicks(window->txtBox[0], "O'Hara");
        m_boxes->expect(Riri::vbOK);
        QTest::mouseClick(window->cmdSave, Qt::LeftButton);
        QCOMPARE(m_boxes->count(), 1);
        QCOMPARE(m_boxes->last().prompt, QString("Owner Information Saved!"));
        QCOMPARE(m_boxes->last().title, QString("Record Saved Successfully"));
        QTRY_VERIFY(window.isNull());

        const auto rows = ownerRows(*m_install);
        QCOMPARE(rows.size(), 2);
        const QVariantList stored{"O'Hara", "Oz",  "Mae", "Oz Mae O'Hara",
                                  "9 Way",  "Far", "BC",  "V5K"};
        QCOMPARE(rows[0].mid(0, 9), QVariantList{"O-1"} + stored);
        QCOMPARE(rows[1].mid(0, 9), QVariantList{"O-2"} + stored);
        QCOMPARE(rows[0][9].toString(), QString("2026-01-02 03:04:05"));
        QCOMPARE(rows[1][9].toString(), QString("2026-01-03 03:04:05"));
        QVERIFY(!rows[0][10].toString().isEmpty());
    }

    // When the database refuses the update the component reports and logs
    // it; the window says so and keeps the entries; the stored record stays.
    void refusedUpdateKeepsEntries() {
        QVERIFY(m_install->exec(kInsert + kLamb));
        QVERIFY(m_install->exec("CREATE TRIGGER refuse BEFORE UPDATE ON tblOwner "
                                "BEGIN SELECT RAISE(ABORT, 'owner locked'); END;"));
        frmEditOwner window;
        QVERIFY(showActive(window));
        window.txtBox[4]->setFocus();
        QTest::keyClicks(window.txtBox[4], " Bay ");
        m_boxes->expect(Riri::vbOK);
        m_boxes->expect(Riri::vbOK);
        QTest::mouseClick(window.cmdSave, Qt::LeftButton);

        QCOMPARE(m_boxes->count(), 2);
        QVERIFY(m_boxes->shown()[0].prompt.contains("owner locked"));
        QVERIFY(m_boxes->shown()[0].prompt.endsWith("Function: UpdateOwner"));
        QCOMPARE(m_boxes->last().prompt, QString("Record NOT Saved"));
        QCOMPARE(m_boxes->last().title, QString(" ERROR"));
        QCOMPARE(m_boxes->last().flags, Riri::vbCritical | Riri::vbOKOnly);
        QVERIFY(m_install->logLines().contains("UpdateOwner - DLL Function"));

        QVERIFY(window.isVisible());
        QCOMPARE(boxTexts(window),
                 QStringList({"Lamb", "Ann", "B", "1 Road", "Town Bay", "ON", "K1A"}));
        QCOMPARE(QApplication::focusWidget(), window.txtBox[0]);
        QCOMPARE(m_install->query("SELECT City, ModDate FROM tblOwner"),
                 QList<QVariantList>({{"Town", QVariant()}}));
    }

    // The owner row went away after the window opened: nothing is stored, so
    // the save is not reported as saved, and the entries stay.
    void updateWithoutAnOwnerRowIsNotSaved() {
        QVERIFY(m_install->exec(kInsert + kLamb));
        frmEditOwner window;
        QVERIFY(showActive(window));
        QVERIFY(m_install->exec("DELETE FROM tblOwner"));
        m_boxes->expect(Riri::vbOK);
        QTest::mouseClick(window.cmdSave, Qt::LeftButton);
        QCOMPARE(m_boxes->count(), 1); // no component message
        QCOMPARE(m_boxes->last().prompt, QString("Record NOT Saved"));
        QCOMPARE(m_boxes->last().title, QString(" ERROR"));
        QVERIFY(window.isVisible());
        QCOMPARE(boxTexts(window),
                 QStringList({"Lamb", "Ann", "B", "1 Road", "Town", "ON", "K1A"}));
        QVERIFY(!QFile::exists(m_install->logPath()));
        QCOMPARE(m_install->scalar("SELECT COUNT(*) FROM tblOwner").toInt(), 0);
    }

    // Inside the main window's child area: a fixed frame without a maximize
    // button, and Exit or a save closes the frame.
    void closesItsChildFrame() {
        QVERIFY(m_install->exec(kInsert + kLamb));
        QMdiArea area;
        area.resize(800, 600);
        area.show();
        QPointer<frmEditOwner> window = new frmEditOwner;
        QPointer<QMdiSubWindow> frame = area.addSubWindow(window);
        frame->show();
        QVERIFY(QTest::qWaitForWindowExposed(&area));
        QCOMPARE(frame->windowTitle(), QString("Quorvane - 2.0"));
        QVERIFY(!(frame->windowFlags() & Qt::WindowMaximizeButtonHint));
        QCOMPARE(frame->minimumSize(), frame->maximumSize());

        QTest::mouseClick(window->cmdExit, Qt::LeftButton);
        QTRY_VERIFY(frame.isNull());
        QVERIFY(window.isNull());

        window = new frmEditOwner;
        frame = area.addSubWindow(window);
        frame->show();
        m_boxes->expect(Riri::vbOK);
        QTest::mouseClick(window->cmdSave, Qt::LeftButton);
        QTRY_VERIFY(frame.isNull());
        QVERIFY(area.subWindowList().isEmpty());
    }
};

QTEST_MAIN(tst_frmeditowner)
#include "tst_frmeditowner.moc"
