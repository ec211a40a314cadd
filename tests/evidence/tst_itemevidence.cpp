#include <QTest>
class tst_ItemEvidence : public QObject {
    Q_OBJECT
};
QTEST_MAIN(tst_ItemEvidence)
#include "tst_itemevidence.moc"
