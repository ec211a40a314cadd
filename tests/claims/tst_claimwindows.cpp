// The claims list and a claim's window, driven through their buttons and
// cells; the database is checked with plain SQL afterwards.

#include "ClaimTesting.h"
#include "TestSupport.h"
#include "WindowTesting.h"

#include "claims/frmClaim.h"
#include "claims/frmClaims.h"
#include "items/ItemListView.h"
#include "items/frmChooseItems.h"
#include "items/frmFindItems.h"

#include <Riri/ClaimsStore.h>
#include <Riri/MsgBox.h>

#include <QComboBox>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTreeWidget>

class TestClaimWindows : public QObject {
    Q_OBJECT

private slots:
    void addItems_data();
    void addItems();
    void deleteClaim_data();
    void deleteClaim();
    void chooser_data();
    void chooser();
};

namespace {

void settle() {
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

void kitchen(const TestInstall& install) {
    ClaimTesting::addItem(install, QStringLiteral("K-1"), QStringLiteral("Kitchen"),
                          QStringLiteral("10.10"), QStringLiteral("5.05"));
    ClaimTesting::addItem(install, QStringLiteral("K-2"), QStringLiteral("Kitchen"),
                          QStringLiteral("0.2"), QStringLiteral("0.1"));
    ClaimTesting::addItem(install, QStringLiteral("D-1"), QStringLiteral("Den"),
                          QStringLiteral("3"), QStringLiteral("2"));
}

} // namespace

void TestClaimWindows::addItems_data() {
    QTest::addColumn<QStringList>("chosen"); // Item IDs, or "room:<name>"
    QTest::addColumn<QStringList>("listed");
    QTest::addColumn<QString>("totals");
    QTest::newRow("several at once")
        << QStringList{QStringLiteral("K-2"), QStringLiteral("D-1")}
        << QStringList{QStringLiteral("D-1"), QStringLiteral("K-2")}
        << QStringLiteral("2 items     Original cost $3.20     Current value $2.10     "
                          "Replacement cost $2.10");
    QTest::newRow("a whole room")
        << QStringList{QStringLiteral("room:Kitchen")}
        << QStringList{QStringLiteral("K-1"), QStringLiteral("K-2")}
        << QStringLiteral("2 items     Original cost $10.30     Current value $5.15     "
                          "Replacement cost $5.15");
}

void TestClaimWindows::addItems() {
    QFETCH(QStringList, chosen);
    QFETCH(QStringList, listed);
    QFETCH(QString, totals);
    TestInstall install;
    QVERIFY(install.isValid());
    kitchen(install);
    const ChooseItems choose = [&chosen](QWidget*) -> std::optional<ItemChoice> {
        if (chosen.first().startsWith(QLatin1String("room:"))) {
            return ItemChoice{{}, chosen.first().mid(5), true};
        }
        return ItemChoice{chosen, QString(), false};
    };
    frmClaim window(0, choose);
    QVERIFY(showActive(window));
    window.txtClaimNumber->setText(QStringLiteral("N-7"));
    QTest::mouseClick(window.cmdAddItems, Qt::LeftButton);
    settle();
    QCOMPARE(install.scalar(QStringLiteral("SELECT ClaimNumber FROM tblClaims")).toString(),
             QStringLiteral("N-7"));
    QStringList shown;
    for (int row = 0; row < window.lvItems->rowCount(); ++row) {
        shown.append(window.lvItems->item(row, 0)->text());
    }
    QCOMPARE(shown, listed);
    QCOMPARE(window.lblTotals->text(), totals);

    // Replacement cost, status and note are stored as they are edited.
    window.lvItems->item(0, 6)->setText(QStringLiteral("1,234.50"));
    window.statusBox(0)->setCurrentText(QStringLiteral("Stolen"));
    window.lvItems->item(0, 7)->setText(QStringLiteral("taken at night"));
    settle();
    const QList<QVariantList> row = install.query(
        QStringLiteral(
            "SELECT c.ReplacementCents, c.Status, c.Note FROM tblClaimItems c JOIN tblItems i ON "
            "i.ID = c.ItemRef WHERE i.ItemID = '%1'")
            .arg(listed.first()));
    QCOMPARE(row.value(0), (QVariantList{qint64{123450}, QStringLiteral("Stolen"),
                                         QStringLiteral("taken at night")}));
    // The other row keeps its ten cents.
    QVERIFY2(window.lblTotals->text().endsWith(QLatin1String("Replacement cost $1,234.60")),
             qPrintable(window.lblTotals->text()));
}

void TestClaimWindows::deleteClaim_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<qint64>("claimsLeft");
    QTest::newRow("No keeps it") << int(Riri::vbNo) << qint64{2};
    QTest::newRow("Yes deletes it") << int(Riri::vbYes) << qint64{1};
}

void TestClaimWindows::deleteClaim() {
    QFETCH(int, answer);
    QFETCH(qint64, claimsLeft);
    TestInstall install;
    QVERIFY(install.isValid());
    kitchen(install);
    for (const int year : {2024, 2026}) {
        Riri::Claim claim;
        claim.eventDate = QDate(year, 5, 1);
        claim.eventKind = QStringLiteral("Storm");
        claim.claimNumber = QString::number(year);
        Riri::ClaimsStore::save(claim);
        Riri::ClaimsStore::addRoom(claim.id, QStringLiteral("Kitchen"));
    }
    MsgResponder responder;
    frmClaims window(ChooseItems{});
    QVERIFY(showActive(window));
    QCOMPARE(window.lvClaims->topLevelItem(0)->text(2), QStringLiteral("2026"));
    QCOMPARE(window.lvClaims->topLevelItem(0)->text(7), QStringLiteral("$5.15"));
    responder.expect(answer);
    QTest::mouseClick(window.cmdDelete, Qt::LeftButton);
    QCOMPARE(responder.count(), 1);
    QCOMPARE(responder.last().defaultButton(), int(Riri::vbDefaultButton2));
    QCOMPARE(install.scalar(QStringLiteral("SELECT count(*) FROM tblClaims")).toLongLong(),
             claimsLeft);
    QCOMPARE(install.scalar(QStringLiteral("SELECT count(*) FROM tblItems")).toLongLong(),
             qint64{3});
    settle();
    QCOMPARE(window.lvClaims->topLevelItemCount(), static_cast<int>(claimsLeft));
}

void TestClaimWindows::chooser_data() {
    // The search typed, the room filter, the shown rows chosen, the button.
    QTest::addColumn<QString>("search");
    QTest::addColumn<QString>("room");
    QTest::addColumn<QList<int>>("rows");
    QTest::addColumn<bool>("wholeRoom");
    QTest::addColumn<QStringList>("itemIds");
    QTest::newRow("several rows") << QString() << QString() << QList<int>{0, 2} << false
                                  << QStringList{QStringLiteral("K-1"), QStringLiteral("D-1")};
    QTest::newRow("found by search") << QStringLiteral("k-1") << QString() << QList<int>{0} << false
                                     << QStringList{QStringLiteral("K-1")};
    QTest::newRow("a whole room") << QString() << QStringLiteral("Kitchen") << QList<int>{} << true
                                  << QStringList{};
}

void TestClaimWindows::chooser() {
    QFETCH(QString, search);
    QFETCH(QString, room);
    QFETCH(QList<int>, rows);
    QFETCH(bool, wholeRoom);
    QFETCH(QStringList, itemIds);
    TestInstall install;
    QVERIFY(install.isValid());
    kitchen(install);
    frmChooseItems window(QStringLiteral("Add Items"));
    QVERIFY(showActive(window));
    QVERIFY(!window.cmdAddChosen->isEnabled());
    QVERIFY(!window.cmdAddRoom->isEnabled());
    if (!search.isEmpty()) {
        QTest::keyClicks(window.find->txtFind, search);
    }
    if (!room.isEmpty()) {
        window.find->cboRoom->setCurrentText(room);
    }
    for (const int row : rows) {
        window.find->lvItems->selectionModel()->select(window.find->lvItems->model()->index(row, 0),
                                                       QItemSelectionModel::Select |
                                                           QItemSelectionModel::Rows);
    }
    QTest::mouseClick(wholeRoom ? window.cmdAddRoom : window.cmdAddChosen, Qt::LeftButton);
    QCOMPARE(window.result(), int(QDialog::Accepted));
    QCOMPARE(window.choice().wholeRoom, wholeRoom);
    QCOMPARE(window.choice().room, room);
    QCOMPARE(window.choice().itemIds, itemIds);
}

QTEST_MAIN(TestClaimWindows)
#include "tst_claimwindows.moc"
