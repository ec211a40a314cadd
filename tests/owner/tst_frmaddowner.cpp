// The owner entry window: what a save stores, the refused second entry, the
// failure path keeping the user's entries, Exit and the window's placement.
#include "MsgBox.h"
#include "OwnerTesting.h"
#include "modGlobal.h"
#include "owner/frmAddOwner.h"

#include <QFile>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <memory>

using namespace OwnerTesting;

class tst_frmaddowner : public QObject {
    Q_OBJECT

    std::unique_ptr<TestInstall> m_install;
    std::unique_ptr<MsgResponder> m_boxes;

    void expectSaved() {
        QCOMPARE(m_boxes->count(), 1);
        QCOMPARE(m_boxes->last().prompt, QString("Owner Information Saved!"));
        QCOMPARE(m_boxes->last().title, QString("Record Saved Successfully"));
        QCOMPARE(m_boxes->last().icon(), int(Riri::vbExclamation));
        QCOMPARE(m_boxes->last().buttons(), int(Riri::vbOKOnly));
    }

private slots:
    void init() {
        m_install = std::make_unique<TestInstall>();
        QVERIFY(m_install->isValid());
        m_boxes = std::make_unique<MsgResponder>();
    }
    void cleanup() {
        QCOMPARE(m_boxes->pending(), 0);
        m_boxes.reset();
        m_install.reset();
    }

    void loadReplacesComponentObject() {
        NewHome();
        const Riri::dllHome* before = objHome.get();
        frmAddOwner window;
        QVERIFY(objHome != nullptr);
        QVERIFY(objHome.get() != before);
        QCOMPARE(boxTexts(window), QStringList(7, QString()));
        // Closing leaves the object in place for other windows.
        const Riri::dllHome* current = objHome.get();
        window.cmdExit_Click();
        QCOMPARE(objHome.get(), current);
    }

    // The nine elements reach the table: the seven trimmed boxes, the full
    // name with two spaces for a missing middle name, and "O-1".
    void saveStoresTrimmedRecord() {
        QPointer<frmAddOwner> window = new frmAddOwner;
        window->setAttribute(Qt::WA_DeleteOnClose);
        QVERIFY(showActive(*window));
        typeFields(*window,
                   {"  O'Brien", "Ann ", "", "  12  Mill  Road  ", "Fairview", "ON", " K1A 0B1 "});
        m_boxes->expect(Riri::vbOK);
        QTest::mouseClick(window->cmdSave, Qt::LeftButton);
        expectSaved();
        QTRY_VERIFY(window.isNull()); // closed after the message

        const auto rows = ownerRows(*m_install);
        QCOMPARE(rows.size(), 1);
        const QVariantList& row = rows.first();
        QCOMPARE(row.mid(0, 9), QVariantList({"O-1", "O'Brien", "Ann", "", "Ann  O'Brien",
                                              "12  Mill  Road", "Fairview", "ON", "K1A 0B1"}));
        QVERIFY(!row[9].toString().isEmpty()); // AddDate stamped by the component
        QVERIFY(row[10].isNull() || row[10].toString().isEmpty());
    }

    void saveWithEveryFieldEmpty() {
        QPointer<frmAddOwner> window = new frmAddOwner;
        window->setAttribute(Qt::WA_DeleteOnClose);
        QVERIFY(showActive(*window));
        m_boxes->expect(Riri::vbOK);
        QTest::mouseClick(window->cmdSave, Qt::LeftButton);
        expectSaved();
        const auto rows = ownerRows(*m_install);
        QCOMPARE(rows.size(), 1);
        // Empty texts, not nulls. The full name of two spaces loses its outer
        // blanks in the component's clean-up, like every stored text.
        QCOMPARE(rows.first().mid(0, 9), QVariantList({"O-1", "", "", "", "", "", "", "", ""}));
        QTRY_VERIFY(window.isNull());
    }

    // Every owner record is "O-1"; the unique identifier refuses a second one.
    // The component reports and logs the failure, the window says so and keeps
    // what was typed (trimmed) so it is not lost.
    void secondEntryRefusedKeepsEntries() {
        QVERIFY(m_install->exec("INSERT INTO tblOwner (OwnerID, LName, FName, FullName) "
                                "VALUES ('O-1', 'First', 'Owner', 'Owner  First')"));
        frmAddOwner window;
        QVERIFY(showActive(window));
        typeFields(window, {"Second ", "Sam", "Q", "2 Lane", "Hill", "BC", "V5K"});
        m_boxes->expect(Riri::vbOK);
        m_boxes->expect(Riri::vbOK);
        QTest::mouseClick(window.cmdSave, Qt::LeftButton);

        QCOMPARE(m_boxes->count(), 2);
        const ShownBox& component = m_boxes->shown().at(0);
        QVERIFY(component.prompt.startsWith("ERROR # "));
        QVERIFY(component.prompt.endsWith("In the Dynamic Link Library\r\nFunction: AddOwner"));
        QCOMPARE(component.title, QString("Riri"));
        QCOMPARE(component.icon(), int(Riri::vbCritical));
        const ShownBox& notSaved = m_boxes->shown().at(1);
        QCOMPARE(notSaved.prompt, QString("Record NOT Saved"));
        QCOMPARE(notSaved.title, QString(" ERROR"));
        QCOMPARE(notSaved.icon(), int(Riri::vbCritical));
        QCOMPARE(notSaved.buttons(), int(Riri::vbOKOnly));

        QVERIFY(window.isVisible());
        QCOMPARE(boxTexts(window),
                 QStringList({"Second", "Sam", "Q", "2 Lane", "Hill", "BC", "V5K"}));
        QCOMPARE(QApplication::focusWidget(), window.txtBox[0]);
        const auto rows = ownerRows(*m_install);
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows.first().at(1).toString(), QString("First"));
        QVERIFY(m_install->logLines().contains("AddOwner - DLL Function"));

        // The kept entries can be saved once the obstacle is gone.
        QVERIFY(m_install->exec("DELETE FROM tblOwner"));
        m_boxes->clear();
        m_boxes->expect(Riri::vbOK);
        QTest::mouseClick(window.cmdSave, Qt::LeftButton);
        expectSaved();
        QCOMPARE(m_install->scalar("SELECT FullName FROM tblOwner").toString(),
                 QString("Sam Q Second"));
    }

    // A component that cannot reach the database raises its failure to the
    // window, which takes the not-saved path instead of failing itself.
    void missingDatabaseTakesFailurePath() {
        frmAddOwner window;
        QVERIFY(showActive(window));
        typeFields(window, {"Lamb"});
        QVERIFY(QFile::remove(m_install->databasePath()));
        m_boxes->expect(Riri::vbOK);
        QTest::mouseClick(window.cmdSave, Qt::LeftButton);
        QCOMPARE(m_boxes->count(), 1);
        QCOMPARE(m_boxes->last().prompt, QString("Record NOT Saved"));
        QVERIFY(window.isVisible());
        QCOMPARE(window.txtBox[0]->text(), QString("Lamb"));
    }

    void exitDiscardsWithoutAsking() {
        QPointer<frmAddOwner> window = new frmAddOwner;
        window->setAttribute(Qt::WA_DeleteOnClose);
        QVERIFY(showActive(*window));
        typeFields(*window, {"Lamb", "Ann"});
        QTest::mouseClick(window->cmdExit, Qt::LeftButton);
        QTRY_VERIFY(window.isNull());
        QCOMPARE(m_boxes->count(), 0);
        QCOMPARE(m_install->scalar("SELECT COUNT(*) FROM tblOwner").toInt(), 0);
    }

    // A separate window in the centre of the screen, no minimize or maximize
    // button; opening it again brings back the same window with its entries.
    void opensOnceCentred() {
        QPointer<frmAddOwner> window = frmAddOwner::Open();
        QVERIFY(window);
        QVERIFY(window->isWindow());
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QVERIFY(window->windowTitle().isEmpty());
        QVERIFY(!(window->windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(!(window->windowFlags() & Qt::WindowMinimizeButtonHint));
        const QPoint screenCentre = window->screen()->geometry().center();
        const QPoint windowCentre = window->frameGeometry().center();
        QVERIFY2((screenCentre - windowCentre).manhattanLength() <= 2,
                 qPrintable(QString("%1,%2").arg(windowCentre.x()).arg(windowCentre.y())));

        window->txtBox[0]->setText("Lamb");
        QCOMPARE(frmAddOwner::Open(), window.data());
        QCOMPARE(window->txtBox[0]->text(), QString("Lamb"));

        window->cmdExit_Click();
        QTRY_VERIFY(window.isNull());
        QPointer<frmAddOwner> fresh = frmAddOwner::Open();
        QVERIFY(fresh);
        QCOMPARE(fresh->txtBox[0]->text(), QString());
        fresh->close();
        QTRY_VERIFY(fresh.isNull());
    }
};

QTEST_MAIN(tst_frmaddowner)
#include "tst_frmaddowner.moc"
