// Claims in the component: the totals in whole cents, the items a claim
// lists and what deleting does, and the schedule as CSV.

#include "ClaimTesting.h"
#include "TestSupport.h"

#include <Riri/ClaimsStore.h>

#include <QTest>

using Riri::ClaimsStore;

class TestClaimsStore : public QObject {
    Q_OBJECT

private slots:
    void totals_data();
    void totals();
    void membership();
    void csvColumns();
};

namespace {

qint64 newClaim(const QString& number, const QDate& date = QDate(2026, 3, 1)) {
    Riri::Claim claim;
    claim.eventDate = date;
    claim.eventKind = QStringLiteral("Fire");
    claim.claimNumber = number;
    ClaimsStore::save(claim);
    return claim.id;
}

} // namespace

void TestClaimsStore::totals_data() {
    // Amounts as stored (SQL text, cost/value pairs) and the cents expected.
    QTest::addColumn<QStringList>("amounts");
    QTest::addColumn<qint64>("cost");
    QTest::addColumn<qint64>("value");
    QTest::newRow("tenths that doubles cannot hold")
        << QStringList{QStringLiteral("0.1"), QStringLiteral("0.2"), QStringLiteral("0.2"),
                       QStringLiteral("0.1"), QStringLiteral("0.7"), QStringLiteral("0.7")}
        << qint64{100} << qint64{100};
    QTest::newRow("empty amounts count as nothing")
        << QStringList{QStringLiteral("NULL"), QStringLiteral("NULL"), QStringLiteral("19.99"),
                       QStringLiteral("NULL")}
        << qint64{1999} << qint64{0};
    QTest::newRow("largest amounts keep their cents")
        << QStringList{QStringLiteral("9999999999999.99"), QStringLiteral("9999999999999.99"),
                       QStringLiteral("0.01"), QStringLiteral("0.01")}
        << qint64{1000000000000000} << qint64{1000000000000000};
}

void TestClaimsStore::totals() {
    QFETCH(QStringList, amounts);
    QFETCH(qint64, cost);
    QFETCH(qint64, value);
    TestInstall install;
    QVERIFY(install.isValid());
    QList<qint64> refs;
    for (qsizetype i = 0; i + 1 < amounts.size(); i += 2) {
        refs.append(ClaimTesting::addItem(install, QStringLiteral("T-%1").arg(i),
                                          QStringLiteral("Den"), amounts.at(i), amounts.at(i + 1)));
    }
    const qint64 claim = newClaim(QStringLiteral("C-1"));
    QCOMPARE(ClaimsStore::addItems(claim, refs), static_cast<int>(refs.size()));
    ClaimsStore::updateItem(claim, refs.first(), QStringLiteral("Stolen"), 12345,
                            QStringLiteral("gone"));

    const Riri::ClaimTotals t = ClaimsStore::totals(claim);
    QCOMPARE(t.items, refs.size());
    QCOMPARE(t.costCents, cost);
    QCOMPARE(t.valueCents, value);
    // The replacement cost starts at the current value; one was changed.
    const qint64 firstValue =
        install
            .scalar(QStringLiteral("SELECT CAST(round(coalesce(CurValue, 0) * 100) AS INTEGER) "
                                   "FROM tblItems WHERE ID = %1")
                        .arg(refs.first()))
            .toLongLong();
    QCOMPARE(t.replacementCents, value - firstValue + 12345);
    QCOMPARE(install.scalar(QStringLiteral("SELECT sum(ReplacementCents) FROM tblClaimItems"))
                 .toLongLong(),
             t.replacementCents);

    // The list of claims and the CSV's last row carry the same totals.
    const std::vector<Riri::ClaimSummary> all = ClaimsStore::claims();
    QCOMPARE(all.size(), size_t{1});
    QCOMPARE(all.front().totals.valueCents, value);
    const QList<QByteArray> lines = ClaimsStore::scheduleCsv(claim).split('\n');
    const QByteArray last = lines.at(lines.size() - 2).trimmed();
    QCOMPARE(QString::fromUtf8(last),
             QStringLiteral("Total,,%1,,,,,,,%2,%3,%4,")
                 .arg(refs.size())
                 .arg(ClaimsStore::plainAmount(cost), ClaimsStore::plainAmount(value),
                      ClaimsStore::plainAmount(t.replacementCents)));
}

void TestClaimsStore::membership() {
    TestInstall install;
    QVERIFY(install.isValid());
    const qint64 a =
        ClaimTesting::addItem(install, QStringLiteral("K-1"), QStringLiteral("Kitchen"),
                              QStringLiteral("5"), QStringLiteral("4"));
    const qint64 b =
        ClaimTesting::addItem(install, QStringLiteral("K-2"), QStringLiteral("kitchen"),
                              QStringLiteral("5"), QStringLiteral("4"));
    ClaimTesting::addItem(install, QStringLiteral("D-1"), QStringLiteral("Den"),
                          QStringLiteral("5"), QStringLiteral("4"));
    const qint64 older = newClaim(QStringLiteral("old"), QDate(2025, 1, 1));
    const qint64 claim = newClaim(QStringLiteral("new"), QDate(2026, 1, 1));

    // An item is listed once however often it is added; a room by any case.
    QCOMPARE(ClaimsStore::addItems(claim, {a}), 1);
    QCOMPARE(ClaimsStore::addItems(claim, {a, a}), 0);
    QCOMPARE(ClaimsStore::addRoom(claim, QStringLiteral("KITCHEN")), 1);
    QCOMPARE(ClaimsStore::addItems(older, {a, b}), 2);
    QCOMPARE(ClaimsStore::claims().front().claim.id, claim);

    // Deleting an item takes it off every claim; the claim stays.
    QVERIFY(install.exec(QStringLiteral("DELETE FROM tblItems WHERE ID = %1").arg(a)));
    QCOMPARE(
        install
            .scalar(QStringLiteral("SELECT count(*) FROM tblClaimItems WHERE ItemRef = %1").arg(a))
            .toLongLong(),
        qint64{0});
    QCOMPARE(ClaimsStore::items(claim).size(), size_t{1});

    // Deleting a claim deletes its rows, never the items.
    ClaimsStore::remove(claim);
    QCOMPARE(
        install
            .scalar(
                QStringLiteral("SELECT count(*) FROM tblClaimItems WHERE ClaimRef = %1").arg(claim))
            .toLongLong(),
        qint64{0});
    QCOMPARE(install.scalar(QStringLiteral("SELECT count(*) FROM tblItems")).toLongLong(),
             qint64{2});
    QCOMPARE(ClaimsStore::items(older).size(), size_t{1});
}

void TestClaimsStore::csvColumns() {
    TestInstall install;
    QVERIFY(install.isValid());
    const qint64 ref =
        ClaimTesting::addItem(install, QStringLiteral("Q\"1, \"x\""), QStringLiteral("Den"),
                              QStringLiteral("1.5"), QStringLiteral("2"));
    ClaimTesting::addEvidence(install, ref, QStringLiteral("Photo"), QStringLiteral("a.jpg"),
                              QStringLiteral("image/jpeg"), ClaimTesting::jpeg(8, 8, Qt::red));
    const qint64 claim = newClaim(QStringLiteral("C"));
    ClaimsStore::addItems(claim, {ref});
    ClaimsStore::updateItem(claim, ref, QStringLiteral("Damaged"), 250,
                            QStringLiteral("line one\nline two"));

    const QByteArray csv = ClaimsStore::scheduleCsv(claim);
    QVERIFY(csv.startsWith(
        "Line,Item ID,Item,Room,Serial Number,Model,Acquired,Acquired From,Status,Original Cost,"
        "Current Value,Replacement Cost,Evidence Files\r\n"));
    QVERIFY2(
        csv.contains("\r\n1,\"Q\"\"1, \"\"x\"\"\",\"Thing Q\"\"1, \"\"x\"\"\",Den,,,2019-05-04,,"
                     "Damaged,1.50,2.00,2.50,1\r\n"),
        csv.constData());
}

QTEST_GUILESS_MAIN(TestClaimsStore)
#include "tst_claimsstore.moc"
