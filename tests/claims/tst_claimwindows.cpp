// The claims list and a claim's window, driven through their buttons and
// cells; the database is checked with plain SQL afterwards.

#include "ClaimTesting.h"
#include "TestSupport.h"
#include "WindowTesting.h"

#include "TaskTesting.h"
#include "claims/frmClaim.h"
#include "claims/frmClaims.h"
#include "items/ItemListView.h"
#include "items/frmChooseItems.h"
#include "items/frmFindItems.h"
#include "platform/FileDialogSeam.h"

#include <Riri/ClaimsStore.h>
#include <Riri/MsgBox.h>

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
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
    void packageCommand_data();
    void packageCommand();
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

void TestClaimWindows::packageCommand_data() {
    QTest::addColumn<bool>("cancel");
    QTest::addColumn<QString>("message");
    QTest::newRow("written") << false << QStringLiteral("The claim package was written to");
    QTest::newRow("cancelled") << true
                               << QStringLiteral(
                                      "The claim package was cancelled; nothing was written. ");
}

void TestClaimWindows::packageCommand() {
    QFETCH(bool, cancel);
    QFETCH(QString, message);
    TestInstall install;
    QVERIFY(install.isValid());
    kitchen(install);
    Riri::Claim claim;
    claim.eventKind = QStringLiteral("Theft");
    claim.claimNumber = QStringLiteral("77");
    Riri::ClaimsStore::save(claim);
    Riri::ClaimsStore::addRoom(claim.id, QStringLiteral("Kitchen"));

    QTemporaryDir out;
    const QString target = out.filePath(QStringLiteral("Claim 77"));
    QString suggested;
    FileDialogSeam::setSaveFileHandler(
        [&](QWidget*, const QString&, const QString& suggestion, const QString&) {
            suggested = suggestion;
            return target;
        });
    const TaskObserver tasks(cancel ? QStringLiteral("Writing the claim package...") : QString());
    MsgResponder responder;
    responder.expect(Riri::vbOK);
    frmClaim window(claim.id, ChooseItems{});
    QVERIFY(showActive(window));
    QTest::mouseClick(window.cmdPackage, Qt::LeftButton);
    FileDialogSeam::setSaveFileHandler(nullptr);

    QVERIFY(suggested.endsWith(QLatin1String("/Claim 77")));
    QCOMPARE(responder.count(), 1);
    QVERIFY2(responder.last().prompt.startsWith(message), qPrintable(responder.last().prompt));
    QCOMPARE(QFileInfo::exists(target + QStringLiteral("/claim.pdf")), !cancel);
    QCOMPARE(
        QDir(out.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).size(),
        cancel ? 0 : 1);
}

QTEST_MAIN(TestClaimWindows)
#include "tst_claimwindows.moc"
