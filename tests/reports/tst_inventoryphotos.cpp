// The inventory with photos: the owner block once, the item blocks by room
// with their thumbnails or empty frames, the totals of each room and of all,
// and the first page's layout.
#include "ClaimTesting.h"
#include "InventorySeed.h"
#include "ReportProbe.h"
#include "TestSupport.h"

#include "reports/dataReport.h"
#include "reports/rptInventoryPhotos.h"

#include <QTest>

using Band::SectionKind;
using ReportProbe::AllTexts;

class tst_inventoryphotos : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void cleanup() { releaseDataReport(); }
    void blocks_data();
    void blocks();
};

namespace {

std::unique_ptr<rptInventoryPhotos> runReport() {
    DataReport& data = dataReportInstance();
    data.cmdPhotoInventory();
    return std::make_unique<rptInventoryPhotos>(*data.rscmdPhotoInventory, data.rscmdOwner.get(),
                                                &rptInventoryPhotos::storedThumbnail,
                                                QDate(2026, 12, 7));
}

} // namespace

void tst_inventoryphotos::blocks_data() {
    // Items as "ID room cost value photo(0/1)"; what each section prints.
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<bool>("owner");
    QTest::addColumn<QStringList>("order");
    QTest::addColumn<QStringList>("roomCounts");
    QTest::addColumn<QStringList>("roomValues");
    QTest::addColumn<QString>("allValue");
    QTest::addColumn<QString>("layout"); // expected first page, or empty
    QTest::newRow("two rooms, some photos")
        << QStringList{QStringLiteral("K-2 Kitchen 0.1 0.2 1"), QStringLiteral("A-1 Attic 5 4 0"),
                       QStringLiteral("K-1 Kitchen 0.2 0.1 0")}
        << true << QStringList{QStringLiteral("A-1"), QStringLiteral("K-1"), QStringLiteral("K-2")}
        << QStringList{QStringLiteral("1"), QStringLiteral("2")}
        << QStringList{QStringLiteral("$4.00"), QStringLiteral("$0.30")}
        << QStringLiteral("Current Value: $4.30") << QStringLiteral("inventoryphotos-page1.txt");
    QTest::newRow("no owner, cents summed exactly")
        << QStringList{QStringLiteral("B-1 Den 0.7 0.7 1"), QStringLiteral("B-2 Den 0.1 0.1 1"),
                       QStringLiteral("B-3 Den 0.2 0.2 0")}
        << false << QStringList{QStringLiteral("B-1"), QStringLiteral("B-2"), QStringLiteral("B-3")}
        << QStringList{QStringLiteral("3")} << QStringList{QStringLiteral("$1.00")}
        << QStringLiteral("Current Value: $1.00") << QString();
}

void tst_inventoryphotos::blocks() {
    QFETCH(QStringList, items);
    QFETCH(bool, owner);
    QFETCH(QStringList, order);
    QFETCH(QStringList, roomCounts);
    QFETCH(QStringList, roomValues);
    QFETCH(QString, allValue);
    QFETCH(QString, layout);
    TestInstall install;
    QVERIFY(install.isValid());
    if (owner) {
        QVERIFY(install.exec(QStringLiteral(
            "INSERT INTO tblOwner (OwnerID, FullName, Address, City, State, Zip) VALUES ('O', "
            "'Mira Quell', '12 Fen Road', 'Ashby', 'OR', '97001')")));
    }
    QStringList photoRefs;
    for (const QString& line : items) {
        const QStringList f = line.split(QLatin1Char(' '));
        const qint64 ref = ClaimTesting::addItem(install, f[0], f[1], f[2], f[3]);
        if (f[4] == QLatin1String("1")) {
            ClaimTesting::addEvidence(install, ref, QStringLiteral("Photo"),
                                      QStringLiteral("p.jpg"), QStringLiteral("image/jpeg"),
                                      ClaimTesting::jpeg(64, 48, Qt::darkCyan));
            photoRefs.append(QString::number(ref));
        }
    }
    const std::unique_ptr<rptInventoryPhotos> report = runReport();
    QCOMPARE(AllTexts(*report, QStringLiteral("txtItemID"), SectionKind::Detail), order);
    QCOMPARE(AllTexts(*report, QStringLiteral("txtRoomItems"), SectionKind::GroupFooter),
             roomCounts);
    QCOMPARE(AllTexts(*report, QStringLiteral("txtRoomValue"), SectionKind::GroupFooter),
             roomValues);
    QCOMPARE(AllTexts(*report, QStringLiteral("lblAllValue"), SectionKind::ReportFooter),
             QStringList{allValue});
    QCOMPARE(AllTexts(*report, QStringLiteral("lblOwnerName"), SectionKind::ReportHeader),
             owner ? QStringList{QStringLiteral("Mira Quell")} : QStringList{});

    // Every item has a frame; those with a photo name it, and it is drawn.
    QStringList framed;
    for (const Band::DrawItem& item : report->pageItems(0)) {
        if (item.type == Band::DrawItem::Type::Picture && !item.text.isEmpty()) {
            framed.append(item.text);
        }
    }
    framed.sort();
    photoRefs.sort();
    QCOMPARE(framed, photoRefs);
    if (!layout.isEmpty()) {
        QString difference;
        QVERIFY2(
            ReportProbe::matchesExpected(ReportProbe::pageDump(*report, 0), layout, &difference),
            qPrintable(difference));
    }
}

QTEST_MAIN(tst_inventoryphotos)
#include "tst_inventoryphotos.moc"
