#include "AppInfo.h"
#include "MsgBox.h"
#include "TestSupport.h"
#include "frmMain.h"
#include "modGlobal.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

// A child window as the item windows are made: fixed size, closes itself.
class SampleChild : public QWidget {
    Q_OBJECT
public:
    explicit SampleChild(QWidget* parent = nullptr) : QWidget(parent) {
        setFixedSize(300, 200);
        auto* close = new QPushButton(QStringLiteral("Close"), this);
        close->setObjectName(QStringLiteral("cmdClose"));
        connect(close, &QPushButton::clicked, this, &QWidget::close);
    }
};

class OtherChild : public QWidget {
    Q_OBJECT
public:
    explicit OtherChild(QWidget* parent = nullptr) : QWidget(parent) { setFixedSize(250, 150); }
};

class tst_frmMain : public QObject {
    Q_OBJECT
private slots:
    void childWindows();
};

void tst_frmMain::childWindows() {
    TestInstall install;
    frmMain main;
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    SampleChild* first = main.ShowChild<SampleChild>();
    OtherChild* other = main.ShowChild<OtherChild>();
    QCOMPARE(main.mdiArea()->subWindowList().size(), 2);
    SampleChild* again = main.ShowChild<SampleChild>();
    QCOMPARE(again, first);
    QCOMPARE(main.mdiArea()->subWindowList().size(), 2);
    QCOMPARE(main.mdiArea()->activeSubWindow()->widget(), first);
    qDebug() << first->size() << first->parentWidget()->size() << other->parentWidget()->geometry();
    QTest::mouseClick(first->findChild<QPushButton*>(QStringLiteral("cmdClose")), Qt::LeftButton);
    QTRY_COMPARE(main.mdiArea()->subWindowList().size(), 1);
}

QTEST_MAIN(tst_frmMain)
#include "tst_frmMain.moc"
