// The main window's item commands open the item windows as its children, one
// instance each.
#include "ItemTestSupport.h"
#include "MsgBox.h"
#include "frmMain.h"
#include "items/ItemFieldSet.h"
#include "items/ItemListView.h"
#include "items/frmAddItem.h"
#include "items/frmDeleteItem.h"
#include "items/frmEditItem.h"
#include "platform/Twips.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <memory>

class tst_itemmenus : public QObject {
    Q_OBJECT

    std::unique_ptr<TestInstall> install;
    std::unique_ptr<MsgResponder> boxes;

    static void trigger(frmMain& main, const char* name) {
        QAction* action = main.findChild<QAction*>(QString::fromLatin1(name));
        QVERIFY2(action != nullptr, name);
        action->trigger();
    }
    template <class W> static QList<W*> children(frmMain& main) {
        QList<W*> found;
        for (QMdiSubWindow* sub : main.mdiArea()->subWindowList()) {
            if (auto* window = qobject_cast<W*>(sub->widget())) {
                found << window;
            }
        }
        return found;
    }

private slots:
    void init() {
        install = std::make_unique<TestInstall>();
        QVERIFY(install->isValid());
        boxes = std::make_unique<MsgResponder>();
    }
    void cleanup() {
        boxes.reset();
        install.reset();
    }

    void addNewItemOpensOneAddWindow() {
        frmMain main;
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        trigger(main, "mnuAddNewItem");
        trigger(main, "mnuAddNewItem");
        QCOMPARE(children<frmAddItem>(main).size(), 1);
        QPointer<frmAddItem> add = children<frmAddItem>(main).first();
        QVERIFY(add->isVisible());
        QCOMPARE(add->size(), Twips::Size(6270, 6870));

        // Saving and answering No closes the child window; the command then
        // opens a fresh one.
        ItemFieldSet& f = add->fields();
        f.txtBox[0]->setText(QStringLiteral("Lamp"));
        f.cboBox->setCurrentIndex(0);
        boxes->expect(Riri::vbNo);
        QTest::mouseClick(f.cmdSave, Qt::LeftButton);
        QTRY_VERIFY(add.isNull());
        QTRY_COMPARE(main.mdiArea()->subWindowList().size(), 0);
        trigger(main, "mnuAddNewItem");
        QCOMPARE(children<frmAddItem>(main).size(), 1);
        QCOMPARE(children<frmAddItem>(main).first()->fields().txtBox[0]->text(), QString());
    }

    void editAndDeleteNeedItems() {
        frmMain main;
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        boxes->expect(Riri::vbOK);
        trigger(main, "mnuEditItem");
        QCOMPARE(boxes->last().prompt, QStringLiteral("No Item records were found to edit! "));
        boxes->expect(Riri::vbOK);
        trigger(main, "mnuUtilsDeleteItems");
        QCOMPARE(boxes->last().prompt, QStringLiteral("No Item records were found to delete! "));
        QCOMPARE(main.mdiArea()->subWindowList().size(), 0);

        StoredItem item;
        item.itemId = QStringLiteral("A-1");
        item.name = QStringLiteral("Lamp");
        QVERIFY(storeItem(*install, item));
        trigger(main, "mnuEditItem");
        trigger(main, "mnuUtilsDeleteItems");
        trigger(main, "mnuEditItem");
        QCOMPARE(children<frmEditItem>(main).size(), 1);
        QCOMPARE(children<frmDeleteItem>(main).size(), 1);
        QCOMPARE(main.mdiArea()->activeSubWindow()->widget(), children<frmEditItem>(main).first());
        QCOMPARE(children<frmEditItem>(main).first()->lvItems->items()->rowCount(), 1);

        // Exit closes the child window and its frame.
        QPointer<frmDeleteItem> remove = children<frmDeleteItem>(main).first();
        QTest::mouseClick(remove->cmdExit, Qt::LeftButton);
        QTRY_VERIFY(remove.isNull());
        QTRY_COMPARE(main.mdiArea()->subWindowList().size(), 1);
        QCOMPARE(boxes->count(), 2);
        shoot(main, QStringLiteral("frmMain-items"));
    }
};

QTEST_MAIN(tst_itemmenus)
#include "tst_itemmenus.moc"
