// Where the main window and its child windows appear: the window manager
// places the main window, and every child window opens whole inside the
// area, however many were cascaded before it.

#include "TestSupport.h"
#include "frmMain.h"
#include "items/frmFindItems.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>

class tst_childplacement : public QObject {
    Q_OBJECT
private slots:
    void mainWindowIsLeftToTheWindowManager();
    void childWindowsOpenInsideTheArea_data();
    void childWindowsOpenInsideTheArea();
};

void tst_childplacement::mainWindowIsLeftToTheWindowManager() {
    TestInstall install;
    frmMain main;
    const QSize before = main.size();
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    // It grew to hold its largest child, but was never moved by the program.
    QVERIFY(main.height() > before.height());
    QVERIFY(!main.testAttribute(Qt::WA_Moved));
}

void tst_childplacement::childWindowsOpenInsideTheArea_data() {
    QTest::addColumn<QStringList>("steps");
    // "edit from find": the Find window asks for an item to be edited, as a
    // double click or Enter on its row does.
    QTest::newRow("edit window from the Find window")
        << QStringList{"mnuEditFindItems", "edit from find"};
    QTest::newRow("every item window")
        << QStringList{"mnuAddNewItem", "mnuUtilsDeleteItems", "mnuEditFindItems", "mnuEditItem"};
    QTest::newRow("Cascade command")
        << QStringList{"mnuAddNewItem", "mnuUtilsDeleteItems", "mnuEditFindItems", "edit from find",
                       "mnuWindowCascade"};
}

void tst_childplacement::childWindowsOpenInsideTheArea() {
    QFETCH(QStringList, steps);
    TestInstall install;
    QVERIFY(install.exec(QStringLiteral(
        "INSERT INTO tblItems (ItemID, ItemName, RoomName) VALUES ('A-1', 'Lamp', 'Den');")));
    MsgResponder boxes;
    frmMain main;
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    for (const QString& step : steps) {
        if (step == QStringLiteral("edit from find")) {
            auto* find = main.findChild<frmFindItems*>();
            QVERIFY(find != nullptr);
            emit find->editItemRequested(QStringLiteral("A-1"));
        } else {
            main.findChild<QAction*>(step)->trigger();
        }
    }
    QCOMPARE(boxes.count(), 0);
    const QRect area = main.mdiArea()->viewport()->rect();
    const QList<QMdiSubWindow*> children = main.mdiArea()->subWindowList();
    QVERIFY(children.size() >= 2);
    for (const QMdiSubWindow* child : children) {
        const QRect frame = child->geometry();
        const QString where = QStringLiteral("%1 at %2,%3 %4x%5 in an area %6x%7")
                                  .arg(child->widget()->objectName())
                                  .arg(frame.x())
                                  .arg(frame.y())
                                  .arg(frame.width())
                                  .arg(frame.height())
                                  .arg(area.width())
                                  .arg(area.height());
        // Whole inside; a child larger than the area starts at its edge.
        QVERIFY2(frame.left() >= 0 && frame.top() >= 0, qPrintable(where));
        QVERIFY2(frame.right() <= area.right() || frame.left() == 0, qPrintable(where));
        QVERIFY2(frame.bottom() <= area.bottom() || frame.top() == 0, qPrintable(where));
    }
}

QTEST_MAIN(tst_childplacement)
#include "tst_childplacement.moc"
