// The owner entry window: what a save stores, the refused second entry that
// keeps the user's entries, and the window's placement.
#include "OwnerTesting.h"
#include "owner/frmAddOwner.h"
#include "shared/modGlobal.h"

#include <Riri/MsgBox.h>

#include <QFile>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <memory>

using namespace OwnerTesting;

class tst_frmaddowner : public OwnerTestCase {
    Q_OBJECT

private slots:
    void init() { QVERIFY(startTest()); }
    void cleanup() {
        QCOMPARE(m_boxes->pending(), 0);
        endTest();
    }

    // The nine elements reach the table: the seven trimmed boxes, the full
    // name with two spaces for a missing middle name, and "O-1". Enter on the
    // focused Save button saves, as a click does.
    void saveStoresTrimmedRecord() {
        QPointer<frmAddOwner> window = new frmAddOwner;
        window->setAttribute(Qt::WA_DeleteOnClose);
        QVERIFY(showActive(*window));
        typeFields(*window,
                   {"  O'Brien", "Ann ", "", "  12  Mill  Road  ", "Fairview", "ON", " K1A 0B1 "});
        QTest::keyClick(window->txtBox[6], Qt::Key_Return);
        m_boxes->expect(Riri::vbOK);
        QTest::keyClick(window->cmdSave, Qt::Key_Return);
        QCOMPARE(m_boxes->count(), 1);
        QCOMPARE(m_boxes->last().prompt, QString("Owner Information Saved!"));
        QCOMPARE(m_boxes->last().title, QString("Record Saved Successfully"));
        QCOMPARE(m_boxes->last().flags, Riri::vbExclamation | Riri::vbOKOnly);
        QTRY_VERIFY(window.isNull()); // closed after the message

        const auto rows = ownerRows(*m_install);
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows[0].mid(0, 9), QVariantList({"O-1", "O'Brien", "Ann", "", "Ann  O'Brien",
                                                  "12  Mill  Road", "Fairview", "ON", "K1A 0B1"}));
        QVERIFY(!rows[0][9].toString().isEmpty()); // AddDate stamped by the component
        QVERIFY(rows[0][10].toString().isEmpty());
    }

    // Every owner record is "O-1"; the unique identifier refuses a second one.
    // The component reports and logs the failure, the window says so and keeps
    // what was typed (trimmed) so it can be saved once the obstacle is gone.
    void secondEntryRefusedKeepsEntries() {
        QVERIFY(m_install->exec("INSERT INTO tblOwner (OwnerID, LName) VALUES ('O-1', 'First')"));
        frmAddOwner window;
        QVERIFY(showActive(window));
        typeFields(window, {"Second ", "Sam", "Q", "2 Lane", "Hill", "BC", "V5K"});
        m_boxes->expect(Riri::vbOK);
        m_boxes->expect(Riri::vbOK);
        QTest::mouseClick(window.cmdSave, Qt::LeftButton);

        QCOMPARE(m_boxes->count(), 2);
        QVERIFY(m_boxes->shown()[0].prompt.startsWith("ERROR # "));
        QVERIFY(m_boxes->shown()[0].prompt.endsWith("Function: AddOwner"));
        QCOMPARE(m_boxes->shown()[0].title, QString("Riri"));
        QCOMPARE(m_boxes->last().prompt, QString("Record NOT Saved"));
        QCOMPARE(m_boxes->last().title, QString(" ERROR"));
        QCOMPARE(m_boxes->last().flags, Riri::vbCritical | Riri::vbOKOnly);
        QVERIFY(m_install->logLines().contains("AddOwner - DLL Function"));

        QVERIFY(window.isVisible());
        QCOMPARE(boxTexts(window),
                 QStringList({"Second", "Sam", "Q", "2 Lane", "Hill", "BC", "V5K"}));
        QCOMPARE(QApplication::focusWidget(), window.txtBox[0]);
        QCOMPARE(m_install->query("SELECT LName FROM tblOwner"), QList<QVariantList>({{"First"}}));

        QVERIFY(m_install->exec("DELETE FROM tblOwner"));
        m_boxes->clear();
        m_boxes->expect(Riri::vbOK);
        QTest::mouseClick(window.cmdSave, Qt::LeftButton);
        QCOMPARE(m_boxes->last().prompt, QString("Owner Information Saved!"));
        QCOMPARE(m_install->scalar("SELECT FullName FROM tblOwner").toString(),
                 QString("Sam Q Second"));
    }

    // A component that cannot reach the database raises its failure; the
    // window takes the not-saved path instead of failing itself.
    void missingDatabaseTakesFailurePath() {
        frmAddOwner window;
        typeFields(window, {"Lamb"});
        QVERIFY(QFile::remove(m_install->databasePath()));
        m_boxes->expect(Riri::vbOK);
        window.cmdSave_Click();
        QCOMPARE(m_boxes->count(), 1);
        QCOMPARE(m_boxes->last().prompt, QString("Record NOT Saved"));
        QCOMPARE(window.txtBox[0]->text(), QString("Lamb"));
    }

    // A separate window centred on the screen without minimize or maximize
    // button; opening it again brings back the same window and its entries;
    // Exit discards them without asking.
    void opensOnceCentred() {
        QPointer<frmAddOwner> window = frmAddOwner::open();
        QVERIFY(window && window->isWindow());
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QVERIFY(!(window->windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(!(window->windowFlags() & Qt::WindowMinimizeButtonHint));
        const QPoint offset =
            window->screen()->geometry().center() - window->frameGeometry().center();
        QVERIFY(offset.manhattanLength() <= 2);

        window->txtBox[0]->setText("Lamb");
        QCOMPARE(frmAddOwner::open(), window.data());
        QCOMPARE(window->txtBox[0]->text(), QString("Lamb"));

        QTest::mouseClick(window->cmdExit, Qt::LeftButton);
        QTRY_VERIFY(window.isNull());
        QCOMPARE(m_boxes->count(), 0);
        QCOMPARE(m_install->scalar("SELECT COUNT(*) FROM tblOwner").toInt(), 0);
        window = frmAddOwner::open();
        QCOMPARE(window->txtBox[0]->text(), QString());
        window->close();
        QTRY_VERIFY(window.isNull());
    }
};

QTEST_MAIN(tst_frmaddowner)
#include "tst_frmaddowner.moc"
