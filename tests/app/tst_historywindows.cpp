// The history windows driven through their buttons: Item History's
// "Restore This Version", Deleted Items' "Bring Back" and the clean-up, each
// checked in the database with plain SQL and grabbed to a picture.

#include "HistoryTesting.h"
#include "WindowTesting.h"
#include "history/frmCleanUpHistory.h"
#include "history/frmDeletedItems.h"
#include "history/frmItemHistory.h"

#include <Riri/HistoryRestore.h>
#include <Riri/MsgBox.h>

#include <QDateEdit>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTreeWidget>
#include <QtTest>

namespace {

// Writes through plain SQL name no source: "Another program".
bool changeName(const TestInstall& install, const QString& name) {
    return install.exec(
        QStringLiteral("UPDATE tblItems SET ItemName = '%1' WHERE ItemID = 'A-1'").arg(name));
}

bool waitLoaded(QSignalSpy& spy) {
    return spy.count() > 0 || spy.wait();
}

} // namespace

class tst_HistoryWindows : public QObject {
    Q_OBJECT

private slots:
    void restoreThisVersion_data();
    void restoreThisVersion();
    void bringBack_data();
    void bringBack();
    void cleanUp_data();
    void cleanUp();
};

void tst_HistoryWindows::restoreThisVersion_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("name");
    QTest::newRow("yes") << int(Riri::vbYes) << "Lamp 2";
    QTest::newRow("no keeps the item") << int(Riri::vbNo) << "Lamp 3";
}

void tst_HistoryWindows::restoreThisVersion() {
    QFETCH(int, answer);
    QFETCH(QString, name);
    TestInstall install;
    MsgResponder boxes;
    QVERIFY(numberedItems(install, 1, 2));
    QVERIFY(changeName(install, "Lamp 2"));
    QVERIFY(changeName(install, "Lamp 3"));
    frmItemHistory window;
    QSignalSpy loaded(&window, &frmItemHistory::loaded);
    QVERIFY(window.showItem("A-1"));
    window.show();
    QVERIFY(waitLoaded(loaded));
    QCOMPARE(window.lvChanges->topLevelItemCount(), 3);
    QCOMPARE(window.lvChanges->topLevelItem(0)->text(frmItemHistory::Changes),
             "Item Name: Lamp 2 -> Lamp 3");
    QCOMPARE(window.lvChanges->topLevelItem(2)->text(frmItemHistory::Action), "added");
    // An addition lists the values the item had then, every later change undone.
    QVERIFY(window.lvChanges->topLevelItem(2)
                ->text(frmItemHistory::Changes)
                .startsWith("Item ID: A-1; Item Name: Item 1; Room Location: Den; Cost: 1.00"));
    shoot(window, "itemhistory");
    // After a deletion there is no version to put back.
    QVERIFY(window.cmdRestore->isEnabled());
    QVERIFY(install.exec("DELETE FROM tblItems WHERE ID = 1"));
    QCOMPARE(Riri::HistoryRestore::bringBack({1}).size(), size_t(1));
    loaded.clear();
    window.refresh();
    QVERIFY(waitLoaded(loaded));
    QCOMPARE(window.lvChanges->topLevelItem(1)->text(frmItemHistory::Action), "deleted");
    window.lvChanges->setCurrentItem(window.lvChanges->topLevelItem(1));
    QVERIFY(!window.cmdRestore->isEnabled());

    window.lvChanges->setCurrentItem(window.lvChanges->topLevelItem(3));
    boxes.expect(answer);
    QTest::mouseClick(window.cmdRestore, Qt::LeftButton);
    QCOMPARE(boxes.last().defaultButton(), int(Riri::vbDefaultButton2));
    QCOMPARE(install.scalar("SELECT ItemName FROM tblItems WHERE ID = 1").toString(), name);
    if (answer == Riri::vbYes) {
        // The notice reads the history again: the restore is its newest row.
        QVERIFY(loaded.wait());
        QCOMPARE(window.lvChanges->topLevelItem(0)->text(frmItemHistory::Source), "Item History");
    }
}

void tst_HistoryWindows::bringBack_data() {
    QTest::addColumn<bool>("reused");
    QTest::addColumn<QString>("said");
    QTest::newRow("own Item ID") << false << "1 item was brought back.";
    QTest::newRow("reused Item ID")
        << true
        << "1 item was brought back. New Item IDs, as the old ones are taken: A-1 is "
           "now A-4.";
}

void tst_HistoryWindows::bringBack() {
    QFETCH(bool, reused);
    QFETCH(QString, said);
    TestInstall install;
    MsgResponder boxes;
    QVERIFY(numberedItems(install, 1, 2));
    QVERIFY(attachEvidence(install, 1, QString(64, 'a')));
    QVERIFY(install.exec("DELETE FROM tblItems WHERE ItemID = 'A-1'"));
    if (reused) {
        QVERIFY(numberedItems(install, 1, 1));
    }
    frmDeletedItems window;
    QSignalSpy loaded(&window, &frmDeletedItems::loaded);
    window.show();
    QVERIFY(waitLoaded(loaded));
    QCOMPARE(window.lvItems->topLevelItemCount(), 1);
    QCOMPARE(window.lvItems->topLevelItem(0)->text(frmDeletedItems::ItemName), "Item 1");
    QCOMPARE(window.lvItems->topLevelItem(0)->text(frmDeletedItems::Attachments), "1");
    shoot(window, "deleteditems");
    window.lvItems->selectAll();
    QTest::mouseClick(window.cmdBringBack, Qt::LeftButton);
    QCOMPARE(window.lblCount->text(), said);
    QCOMPARE(install.scalar("SELECT ItemID FROM tblItems WHERE ID = 1").toString(),
             reused ? "A-4" : "A-1");
    QCOMPARE(install.scalar("SELECT count(*) FROM tblEvidence WHERE ItemRef = 1").toInt(), 1);
    QVERIFY(loaded.wait());
    QCOMPARE(window.lvItems->topLevelItemCount(), 0);
}

void tst_HistoryWindows::cleanUp_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("left");
    QTest::newRow("yes") << int(Riri::vbYes) << 1;
    QTest::newRow("no") << int(Riri::vbNo) << 3;
}

void tst_HistoryWindows::cleanUp() {
    QFETCH(int, answer);
    QFETCH(int, left);
    TestInstall install;
    MsgResponder boxes;
    QVERIFY(numberedItems(install, 1, 3));
    QVERIFY(install.exec("UPDATE tblHistory SET ChangeDate = '2020-01-01 10:00:00' WHERE ID < 3"));
    frmCleanUpHistory window;
    window.datBefore->setDate(QDate(2021, 1, 1));
    // Counted off the GUI thread; nothing to clean up until the count is in.
    QVERIFY(!window.cmdCleanUp->isEnabled());
    QTRY_COMPARE(window.lblCount->text(), "2 entries are older.");
    shoot(window, "cleanuphistory");
    boxes.expect(answer);
    if (answer == Riri::vbYes) {
        boxes.expect(Riri::vbOK);
    }
    QTest::mouseClick(window.cmdCleanUp, Qt::LeftButton);
    QCOMPARE(boxes.shown().first().defaultButton(), int(Riri::vbDefaultButton2));
    QCOMPARE(install.scalar("SELECT count(*) FROM tblHistory").toInt(), left);
    QTRY_COMPARE(window.lblCount->text(),
                 answer == Riri::vbYes ? "0 entries are older." : "2 entries are older.");
}

QTEST_MAIN(tst_HistoryWindows)
#include "tst_historywindows.moc"
