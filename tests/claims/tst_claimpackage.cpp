// The claim package: evidence named safely whatever the Item ID holds, a
// cancel that leaves nothing, and the document's pages and totals.

#include "ClaimTesting.h"
#include "TestSupport.h"

#include "EvidenceSamples.h"
#include "claims/ClaimPackage.h"
#include "claims/PackageFileNames.h"
#include "claims/PictureLoader.h"

#include <Riri/ClaimsStore.h>
#include <Riri/Error.h>
#include <Riri/ErrorNumbers.h>

#include <QDir>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using Riri::ClaimsStore;

class TestClaimPackage : public QObject {
    Q_OBJECT

private slots:
    void hostileItemIds_data();
    void hostileItemIds();
    void cancelLeavesNothing_data();
    void cancelLeavesNothing();
    void pages();
    void picturesUprightAtPrintSize_data();
    void picturesUprightAtPrintSize();
};

namespace {

qint64 claimOf(const QList<qint64>& refs) {
    Riri::Claim claim;
    claim.eventDate = QDate(2026, 2, 14);
    claim.eventKind = QStringLiteral("Water");
    claim.insurer = QStringLiteral("Harbor Mutual");
    claim.policyNumber = QStringLiteral("HP-4471");
    claim.claimNumber = QStringLiteral("CL-0099");
    ClaimsStore::save(claim);
    ClaimsStore::addItems(claim.id, refs);
    return claim.id;
}

// The text of pages first to last of a PDF, through pdftotext.
QString pdfText(const QString& pdf, int first, int last) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"),
            {QStringLiteral("-layout"), QStringLiteral("-f"), QString::number(first),
             QStringLiteral("-l"), QString::number(last), pdf, QStringLiteral("-")});
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

int pdfPages(const QString& pdf) {
    QProcess p;
    p.start(QStringLiteral("pdfinfo"), {pdf});
    p.waitForFinished(60000);
    for (const QByteArray& line : p.readAllStandardOutput().split('\n')) {
        if (line.startsWith("Pages:")) {
            return line.mid(6).trimmed().toInt();
        }
    }
    return -1;
}

// A one-page PDF receipt with a line of text.
QByteArray pdfReceipt() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("r.pdf"));
    {
        QPdfWriter writer(path);
        QPainter painter(&writer);
        painter.setFont(QFont(QStringLiteral("DejaVu Sans"), 20));
        painter.drawText(QPointF(500, 1000), QStringLiteral("RECEIPT 42.00"));
    }
    return fileBytes(path);
}

} // namespace

void TestClaimPackage::hostileItemIds_data() {
    QTest::addColumn<QString>("itemId");
    QTest::addColumn<QString>("fileName");
    QTest::newRow("slash") << QStringLiteral("a/b") << QStringLiteral("1-a_b-1.jpg");
    QTest::newRow("dot dot") << QStringLiteral("..") << QStringLiteral("1-__-1.jpg");
    QTest::newRow("path up") << QStringLiteral("../../x") << QStringLiteral("1-___.._x-1.jpg");
    QTest::newRow("newline") << QStringLiteral("line\nbreak")
                             << QStringLiteral("1-line_break-1.jpg");
    QTest::newRow("300 characters")
        << QString(300, QLatin1Char('x'))
        << QStringLiteral("1-%1-1.jpg")
               .arg(QString(PackageFileNames::kMaxIdBytes, QLatin1Char('x')));
    QTest::newRow("300 accented") << QString(300, QChar(0xe9))
                                  << QStringLiteral("1-%1-1.jpg").arg(QString(60, QChar(0xe9)));
}

void TestClaimPackage::hostileItemIds() {
    QFETCH(QString, itemId);
    QFETCH(QString, fileName);
    TestInstall install;
    QVERIFY(install.isValid());
    const qint64 ref = ClaimTesting::addItem(install, itemId, QStringLiteral("Den"),
                                             QStringLiteral("3"), QStringLiteral("2"));
    ClaimTesting::addEvidence(install, ref, QStringLiteral("Photo"), QStringLiteral("p.JPG"),
                              QStringLiteral("image/jpeg"), ClaimTesting::jpeg(40, 30, Qt::blue));
    QTemporaryDir out;
    const QString target = out.filePath(QStringLiteral("package"));
    ClaimPackage::write(claimOf({ref}), target);

    const QStringList written = QDir(target + QStringLiteral("/evidence")).entryList(QDir::Files);
    QCOMPARE(written, QStringList{fileName});
    QVERIFY(fileName.toUtf8().size() <= 255);
    QCOMPARE(QDir(out.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList{QStringLiteral("package")});
    QProcess check;
    check.setWorkingDirectory(target);
    check.start(QStringLiteral("sha256sum"),
                {QStringLiteral("--quiet"), QStringLiteral("-c"), QStringLiteral("SHA256SUMS")});
    QVERIFY(check.waitForFinished(60000));
    QCOMPARE(check.exitCode(), 0);
}

void TestClaimPackage::cancelLeavesNothing_data() {
    // Cancelled at the report that number of reports in.
    QTest::addColumn<int>("cancelAt");
    QTest::newRow("before anything") << 1;
    QTest::newRow("while copying evidence") << 4;
    QTest::newRow("while drawing the pages") << 9;
}

void TestClaimPackage::cancelLeavesNothing() {
    QFETCH(int, cancelAt);
    TestInstall install;
    QVERIFY(install.isValid());
    QList<qint64> refs;
    for (int i = 0; i < 4; ++i) {
        refs.append(ClaimTesting::addItem(install, QStringLiteral("C-%1").arg(i),
                                          QStringLiteral("Den"), QStringLiteral("1"),
                                          QStringLiteral("1")));
        ClaimTesting::addEvidence(install, refs.last(), QStringLiteral("Photo"),
                                  QStringLiteral("p.jpg"), QStringLiteral("image/jpeg"),
                                  ClaimTesting::jpeg(30 + i, 30, Qt::green));
    }
    QTemporaryDir out;
    const QString target = out.filePath(QStringLiteral("package"));
    int reports = 0;
    try {
        ClaimPackage::write(claimOf(refs), target,
                            [&](qint64, qint64) { return ++reports < cancelAt; });
        QFAIL("the package was not cancelled");
    } catch (const Riri::Error& e) {
        QCOMPARE(e.number(), Riri::ErrorNumber::Cancelled);
    }
    QCOMPARE(reports, cancelAt);
    QVERIFY(QDir(out.path())
                .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)
                .isEmpty());
}

void TestClaimPackage::pages() {
    TestInstall install;
    QVERIFY(install.isValid());
    QVERIFY(install.exec(QStringLiteral(
        "INSERT INTO tblOwner (OwnerID, FullName, Address, City, State, Zip) VALUES ('O-1', "
        "'Mira Quell', '12 Fen Road', 'Ashby', 'OR', '97001')")));
    const qint64 full = ClaimTesting::addItem(install, QStringLiteral("B-1"), QStringLiteral("Den"),
                                              QStringLiteral("0.1"), QStringLiteral("0.2"));
    const qint64 bare =
        ClaimTesting::addItem(install, QStringLiteral("B-2"), QStringLiteral("Garage"),
                              QStringLiteral("0.2"), QStringLiteral("1000.1"));
    const qint64 photoOnly =
        ClaimTesting::addItem(install, QStringLiteral("B-3"), QStringLiteral("Attic"),
                              QStringLiteral("NULL"), QStringLiteral("0.7"));
    for (int i = 0; i < 5; ++i) {
        ClaimTesting::addEvidence(install, full, QStringLiteral("Photo"),
                                  QStringLiteral("p%1.jpg").arg(i), QStringLiteral("image/jpeg"),
                                  ClaimTesting::jpeg(400 + i, 300, QColor(40 * i, 90, 160)));
    }
    ClaimTesting::addEvidence(install, full, QStringLiteral("Receipt"), QStringLiteral("r.png"),
                              QStringLiteral("image/png"), ClaimTesting::jpeg(200, 400, Qt::gray));
    ClaimTesting::addEvidence(install, full, QStringLiteral("Receipt"),
                              QStringLiteral("invoice.pdf"), QStringLiteral("application/pdf"),
                              pdfReceipt());
    ClaimTesting::addEvidence(install, photoOnly, QStringLiteral("Photo"), QStringLiteral("a.jpg"),
                              QStringLiteral("image/jpeg"), ClaimTesting::jpeg(50, 50, Qt::red));
    QTemporaryDir out;
    const QString target = out.filePath(QStringLiteral("package"));
    ClaimPackage::write(claimOf({full, bare, photoOnly}), target);
    const QString pdf = target + QStringLiteral("/claim.pdf");

    // Cover, schedule, item 1 (photos, more photos, picture receipt, PDF
    // receipt), items 2 and 3, appendix.
    QCOMPARE(pdfPages(pdf), 9);
    const QString cover = pdfText(pdf, 1, 1).simplified();
    for (const char* expected :
         {"Claim of Loss", "Mira Quell", "12 Fen Road", "Ashby, OR 97001", "Harbor Mutual",
          "HP-4471", "CL-0099", "Water", "Items 3", "Original Cost $0.30",
          "Current Value $1,001.00", "Replacement Cost $1,001.00"}) {
        QVERIFY2(cover.contains(QLatin1String(expected)), qPrintable(expected + (" in " + cover)));
    }
    const QString schedule = pdfText(pdf, 2, 2).simplified();
    QVERIFY2(schedule.contains(QLatin1String("Total 3 items $0.30 $1,001.00 $1,001.00")),
             qPrintable(schedule));
    QVERIFY(schedule.indexOf(QLatin1String("B-3")) < schedule.indexOf(QLatin1String("B-1")));
    // The PDF receipt's page is drawn as a picture under its caption.
    QVERIFY(pdfText(pdf, 7, 7).simplified().contains(
        QLatin1String("Receipt, page 1 of 1 Receipt 2 of 2: invoice.pdf")));
    const QString appendix = pdfText(pdf, 9, 9).simplified();
    QVERIFY2(appendix.contains(QLatin1String("1 B-3 - Thing B-3 No receipt")),
             qPrintable(appendix));
    QVERIFY2(appendix.contains(QLatin1String("3 B-2 - Thing B-2 No photo, no receipt")),
             qPrintable(appendix));
    QVERIFY(!appendix.contains(QLatin1String("B-1")));

    // The CSV's totals are the database's sums.
    const QList<QVariantList> sums = install.query(
        QStringLiteral("SELECT sum(CAST(round(coalesce(Cost, 0) * 100) AS INTEGER)), "
                       "sum(CAST(round(coalesce(CurValue, 0) * 100) AS INTEGER)) FROM tblItems"));
    const QList<QByteArray> rows = fileBytes(target + QStringLiteral("/claim.csv")).split('\n');
    QCOMPARE(rows.size(), 6);
    QVERIFY(rows.at(4).startsWith(QStringLiteral("Total,,3,,,,,,,%1,%2,")
                                      .arg(ClaimsStore::plainAmount(sums.at(0).at(0).toLongLong()),
                                           ClaimsStore::plainAmount(sums.at(0).at(1).toLongLong()))
                                      .toUtf8()));
    QCOMPARE(QDir(target + QStringLiteral("/evidence")).entryList(QDir::Files).size(), 8);
}

void TestClaimPackage::picturesUprightAtPrintSize_data() {
    // A picture file and the box it is printed in (points); the pixels kept.
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QSize>("stored");
    QTest::addColumn<QSize>("pixels");
    QTest::addColumn<int>("corner"); // where the stored top-left corner shows
    // 4000 x 3000 in 270 x 270 points: 270 x 202.5 points at 200 dpi.
    QTest::newRow("large JPEG scaled to 200 dpi")
        << "jpeg1" << QSize(4000, 3000) << QSize(750, 562) << int(Qt::TopLeftCorner);
    QTest::newRow("turned JPEG stood upright")
        << "jpeg6" << QSize(400, 300) << QSize(300, 400) << int(Qt::TopRightCorner);
    QTest::newRow("HEIC") << "heic" << QSize(640, 480) << QSize(640, 480) << int(Qt::TopLeftCorner);
    QTest::newRow("small PNG never enlarged")
        << "png" << QSize(120, 90) << QSize(120, 90) << int(Qt::TopLeftCorner);
}

void TestClaimPackage::picturesUprightAtPrintSize() {
    QFETCH(QString, kind);
    QFETCH(QSize, stored);
    QFETCH(QSize, pixels);
    QFETCH(int, corner);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("picture"));
    const bool made = kind == QLatin1String("heic") ? EvidenceSamples::heic(path, stored, QString())
                      : kind == QLatin1String("png")
                          ? EvidenceSamples::qtPicture(path, stored, "PNG")
                          : EvidenceSamples::jpeg(path, stored, kind.right(1).toInt(), QString());
    QVERIFY(made);
    const PictureLoader::Fitted fitted = PictureLoader::load(path, QSizeF(270, 270));
    QCOMPARE(fitted.image.size(), pixels);
    QVERIFY(EvidenceSamples::cornerAt(fitted.image, Qt::Corner(corner)));
    QVERIFY(fitted.points.width() <= 270.001 && fitted.points.height() <= 270.001);
    QVERIFY(fitted.image.width() <= std::lround(fitted.points.width() * 200 / 72) + 1);
}

QTEST_MAIN(TestClaimPackage)
#include "tst_claimpackage.moc"
