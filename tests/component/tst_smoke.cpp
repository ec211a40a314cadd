#include "TestSupport.h"
#include "dllHome.h"
#include "MsgBox.h"

#include <QTest>

class tst_smoke : public QObject {
    Q_OBJECT
private slots:
    void addAndRead() {
        TestInstall install;
        QVERIFY(install.isValid());
        MsgResponder boxes;
        Riri::dllHome home;
        QStringList texts{"A-1", "Lamp", "", "X1", "Kitchen", "Bob's Store", "", ""};
        std::vector<float> money{25.f, 12.5f};
        QDateTime date(QDate(2005, 3, 1), QTime(0, 0));
        QVERIFY(home.AddItems(texts, money, date));
        auto rs = home.LoadItems();
        QVERIFY(rs);
        QCOMPARE(rs->Field("AccquiredFrom"), QString("Bob's Store"));
        QCOMPARE(install.scalar("SELECT BuyDate FROM tblItems").toString(), QString("2005-03-01"));
        QCOMPARE(install.scalar("SELECT CurValue FROM tblItems").toDouble(), 12.5);
        QString id = "A-1";
        boxes.expect(Riri::vbYes);
        QVERIFY(home.DeleteItem(id));
        QCOMPARE(install.scalar("SELECT COUNT(*) FROM tblItems").toInt(), 0);
    }
};

QTEST_GUILESS_MAIN(tst_smoke)
#include "tst_smoke.moc"
