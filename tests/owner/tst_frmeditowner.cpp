// The owner edit window: loading the stored record, rewriting every owner
// row, the failure path keeping the user's entries, and life inside the main
// window's child area.
#include "MsgBox.h"
#include "OwnerTesting.h"
#include "modGlobal.h"
#include "owner/frmEditOwner.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <memory>

using namespace OwnerTesting;

class tst_frmeditowner : public QObject {
    Q_OBJECT

    std::unique_ptr<TestInstall> m_install;
    std::unique_ptr<MsgResponder> m_boxes;

    bool insertOwner(const QString& values) {
        return m_install->exec("INSERT INTO tblOwner (OwnerID, LName, FName, MName, FullName, "
                               "Address, City, State, Zip, AddDate) VALUES (" +
                               values + ")");
    }

    void expectSaved() {
        QCOMPARE(m_boxes->count(), 1);
        QCOMPARE(m_boxes->last().prompt, QString("Owner Information Saved!"));
        QCOMPARE(m_boxes->last().title, QString("Record Saved Successfully"));
        QCOMPARE(m_boxes->last().icon(), int(Riri::vbExclamation));
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

    void loadsTheOwnerRecord() {
        QVERIFY(insertOwner("'O-1','Lamb','Ann','B','Ann B Lamb','1 Road','Town','ON',"
                            "'K1A 0B1','2026-01-02 03:04:05'"));
        NewHome();
        const Riri::dllHome* before = objHome.get();
        frmEditOwner window;
        QVERIFY(objHome.get() != before);
        QCOMPARE(window.windowTitle(), QString("Quorvane - 2.0"));
        QCOMPARE(boxTexts(window),
                 QStringList({"Lamb", "Ann", "B", "1 Road", "Town", "ON", "K1A 0B1"}));
        QVERIFY(!rsData); // the shared record set is released after loading
        QVERIFY(window.cursor().shape() != Qt::WaitCursor);
    }

    // A null field cannot be shown; its box stays empty.
    void nullFieldsLeaveBoxesEmpty() {
        QVERIFY(m_install->exec("INSERT INTO tblOwner (OwnerID, LName, City) "
                                "VALUES ('O-1', 'Lamb', 'Town')"));
        frmEditOwner window;
        QCOMPARE(boxTexts(window), QStringList({"Lamb", "", "", "", "Town", "", ""}));
    }

    void emptyTableLeavesBoxesEmpty() {
        frmEditOwner window;
        QCOMPARE(boxTexts(window), QStringList(7, QString()));
        QVERIFY(!rsData);
    }

    // With several owner rows each overwrites the boxes; the last one shows.
    void lastOwnerRowShows() {
        QVERIFY(insertOwner("'O-1','First','Fay','F','Fay F First','1 Road','Town','ON','A1',"
                            "'2026-01-02 03:04:05'"));
        QVERIFY(insertOwner("'O-2','Last','Lou','L','Lou L Last','2 Lane','City','BC','B2',"
                            "'2026-01-03 03:04:05'"));
        frmEditOwner window;
        QCOMPARE(boxTexts(window), QStringList({"Last", "Lou", "L", "2 Lane", "City", "BC", "B2"}));
    }

    // The update has no condition: every owner row gets the new values, the
    // full name is rebuilt from the boxes, OwnerID and AddDate stay, ModDate
    // is stamped.
    void updateRewritesEveryRow() {
        QVERIFY(insertOwner("'O-1','Lamb','Ann','B','Ann B Lamb','1 Road','Town','ON','K1A',"
                            "'2026-01-02 03:04:05'"));
        QVERIFY(insertOwner("'O-2','Other','Oz','','Oz  Other','9 Way','Far','BC','V5K',"
                            "'2026-01-03 03:04:05'"));
        QPointer<frmEditOwner> window = new frmEditOwner;
        window->setAttribute(Qt::WA_DeleteOnClose);
        QVERIFY(showActive(*window));
        QCOMPARE(window->txtBox[0]->text(), QString("Other"));
        window->txtBox[2]->setFocus();
        QTest::keyClicks(window->txtBox[2], "  Mae ");
        window->txtBox[0]->selectAll();
        window->txtBox[0]->setFocus();
        QTest::keyClicks(window->txtBox[0], "O'Hara");
        m_boxes->expect(Riri::vbOK);
        QTest::mouseClick(window->cmdSave, Qt::LeftButton);
        expectSaved();
        QTRY_VERIFY(window.isNull());

        const auto rows = ownerRows(*m_install);
        QCOMPARE(rows.size(), 2);
        const QVariantList expected{"O'Hara", "Oz",  "Mae", "Oz Mae O'Hara",
                                    "9 Way",  "Far", "BC",  "V5K"};
        QCOMPARE(rows[0].mid(1, 8), expected);
        QCOMPARE(rows[1].mid(1, 8), expected);
        QCOMPARE(rows[0][0].toString(), QString("O-1"));
        QCOMPARE(rows[1][0].toString(), QString("O-2"));
        QCOMPARE(rows[0][9].toString(), QString("2026-01-02 03:04:05"));
        QCOMPARE(rows[1][9].toString(), QString("2026-01-03 03:04:05"));
        QVERIFY(!rows[0][10].toString().isEmpty());
    }

    void clearThenSaveStoresEmptyTexts() {
        QVERIFY(insertOwner("'O-1','Lamb','Ann','B','Ann B Lamb','1 Road','Town','ON','K1A',"
                            "'2026-01-02 03:04:05'"));
        QPointer<frmEditOwner> window = new frmEditOwner;
        window->setAttribute(Qt::WA_DeleteOnClose);
        QVERIFY(showActive(*window));
        QTest::mouseClick(window->cmdClear, Qt::LeftButton);
        m_boxes->expect(Riri::vbOK);
        QTest::mouseClick(window->cmdSave, Qt::LeftButton);
        expectSaved();
        // Empty texts over the old values; the two-space full name is stored
        // without its outer blanks.
        QCOMPARE(ownerRows(*m_install).first().mid(0, 9),
                 QVariantList({"O-1", "", "", "", "", "", "", "", ""}));
    }

    // When the database refuses the update the component reports and logs
    // it; the window says so and keeps the entries; the stored record stays.
    void refusedUpdateKeepsEntries() {
        QVERIFY(insertOwner("'O-1','Lamb','Ann','B','Ann B Lamb','1 Road','Town','ON','K1A',"
                            "'2026-01-02 03:04:05'"));
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
        QVERIFY(m_boxes->shown().at(0).prompt.contains("owner locked"));
        QVERIFY(m_boxes->shown().at(0).prompt.endsWith("Function: UpdateOwner"));
        QCOMPARE(m_boxes->shown().at(0).title, QString("Riri"));
        QCOMPARE(m_boxes->last().prompt, QString("Record NOT Saved"));
        QCOMPARE(m_boxes->last().title, QString(" ERROR"));
        QCOMPARE(m_boxes->last().icon(), int(Riri::vbCritical));

        QVERIFY(window.isVisible());
        QCOMPARE(boxTexts(window),
                 QStringList({"Lamb", "Ann", "B", "1 Road", "Town Bay", "ON", "K1A"}));
        QCOMPARE(QApplication::focusWidget(), window.txtBox[0]);
        QCOMPARE(m_install->scalar("SELECT City FROM tblOwner").toString(), QString("Town"));
        QVERIFY(m_install->scalar("SELECT ModDate FROM tblOwner").isNull());
        QVERIFY(m_install->logLines().contains("UpdateOwner - DLL Function"));
    }

    // Inside the main window's child area: a fixed frame without a maximize
    // button, the title from the program, and Exit or a save closes the frame.
    void closesItsChildFrame() {
        QVERIFY(insertOwner("'O-1','Lamb','Ann','B','Ann B Lamb','1 Road','Town','ON','K1A',"
                            "'2026-01-02 03:04:05'"));
        QMdiArea area;
        area.resize(800, 600);
        area.show();
        QPointer<frmEditOwner> window = new frmEditOwner;
        QPointer<QMdiSubWindow> frame = area.addSubWindow(window);
        frame->show();
        QVERIFY(QTest::qWaitForWindowExposed(&area));
        QCOMPARE(frame->windowTitle(), QString("Quorvane - 2.0"));
        QVERIFY(!(frame->windowFlags() & Qt::WindowMaximizeButtonHint));
        QCOMPARE(frame->minimumSize(), frame->maximumSize()); // not resizable
        QVERIFY(frame->widget()->isVisible());

        QTest::mouseClick(window->cmdExit, Qt::LeftButton);
        QTRY_VERIFY(frame.isNull());
        QVERIFY(window.isNull());
        QVERIFY(area.subWindowList().isEmpty());

        window = new frmEditOwner;
        frame = area.addSubWindow(window);
        frame->show();
        m_boxes->expect(Riri::vbOK);
        QTest::mouseClick(window->cmdSave, Qt::LeftButton);
        expectSaved();
        QTRY_VERIFY(frame.isNull());
        QVERIFY(area.subWindowList().isEmpty());
    }
};

QTEST_MAIN(tst_frmeditowner)
#include "tst_frmeditowner.moc"
