// The main window's item commands open the item windows as its children, one
// instance each.
#include "ItemTestSupport.h"
#include "frmMain.h"
#include "items/ItemListView.h"
#include "items/frmAddItem.h"
#include "items/frmDeleteItem.h"
#include "items/frmEditItem.h"

#include <QAction>
#include <QPointer>
#include <QPushButton>

namespace {

void trigger(frmMain& main, const char* name) {
    main.findChild<QAction*>(QString::fromLatin1(name))->trigger();
}

template <class W> QList<W*> childWindows(frmMain& main) {
    QList<W*> found;
    for (QMdiSubWindow* sub : main.mdiArea()->subWindowList()) {
        if (auto* window = qobject_cast<W*>(sub->widget())) {
            found << window;
        }
    }
    return found;
}

} // namespace

class tst_itemmenus : public QObject {
    Q_OBJECT
private slots:
    void itemCommandsOpenOneChildEach() {
        Fixture fx;
        frmMain main;
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        fx.boxes.expect(Riri::vbOK);
        trigger(main, "mnuEditItem");
        QCOMPARE(fx.boxes.last().prompt, QStringLiteral("No Item records were found to edit! "));
        QCOMPARE(main.mdiArea()->subWindowList().size(), 0);

        QVERIFY(storeItem(fx.install, makeItem("A-1", "Lamp")));
        for (const char* command :
             {"mnuAddNewItem", "mnuEditItem", "mnuUtilsDeleteItems", "mnuAddNewItem"}) {
            trigger(main, command);
        }
        QCOMPARE(childWindows<frmAddItem>(main).size(), 1);
        QCOMPARE(childWindows<frmEditItem>(main).size(), 1);
        QCOMPARE(childWindows<frmDeleteItem>(main).size(), 1);
        QCOMPARE(main.mdiArea()->activeSubWindow()->widget(),
                 childWindows<frmAddItem>(main).first());
        QCOMPARE(childWindows<frmEditItem>(main).first()->lvItems->items()->rowCount(), 1);
        for (QMdiSubWindow* sub : main.mdiArea()->subWindowList()) {
            QVERIFY(sub->isVisible());
            QVERIFY(!sub->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
            // The frame keeps the layout's size: neither dragging its border
            // nor tiling the children stretches it around the fixed layout.
            const QSize size = sub->size();
            sub->resize(size + QSize(40, 40));
            QCOMPARE(sub->size(), size);
        }
        // Exit closes the child window and its frame; the command then makes
        // a new one.
        QPointer<frmDeleteItem> remove = childWindows<frmDeleteItem>(main).first();
        QTest::mouseClick(remove->cmdExit, Qt::LeftButton);
        QTRY_VERIFY(remove.isNull());
        QTRY_COMPARE(main.mdiArea()->subWindowList().size(), 2);
        trigger(main, "mnuUtilsDeleteItems");
        QCOMPARE(childWindows<frmDeleteItem>(main).size(), 1);
        QCOMPARE(fx.boxes.count(), 1);
    }
};

QTEST_MAIN(tst_itemmenus)
#include "tst_itemmenus.moc"
