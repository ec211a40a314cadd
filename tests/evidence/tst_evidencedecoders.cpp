#include "EvidenceSamples.h"

#include "evidence/EvidenceIntake.h"
#include "platform/EvidenceImage.h"
#include "platform/MediaFacts.h"
#include "platform/PdfPages.h"

#include <QBuffer>
#include <QImageReader>
#include <QTemporaryDir>
#include <QTest>

class tst_EvidenceDecoders : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }
    void facts_data();
    void facts();
    void viewerPictures_data();
    void viewerPictures();
    void pdfPages();
    void guessedKind_data();
    void guessedKind();

private:
    // Makes the sample file of a row; false when it could not.
    bool make(const QString& format, const QString& path) const;

    QTemporaryDir m_dir;
};

namespace {

const QString kDate = QStringLiteral("2021:07:14 09:30:05");
const QSize kSize(400, 300);

QImage thumbnailOf(const MediaFacts& facts) {
    QBuffer buffer;
    buffer.setData(facts.thumbnail);
    return QImageReader(&buffer, "jpeg").read();
}

} // namespace

bool tst_EvidenceDecoders::make(const QString& format, const QString& path) const {
    if (format == QLatin1String("jpeg6")) {
        return EvidenceSamples::jpeg(path, kSize, 6, kDate);
    }
    if (format == QLatin1String("jpeg3")) {
        return EvidenceSamples::jpeg(path, kSize, 3, QString());
    }
    if (format == QLatin1String("heic")) {
        return EvidenceSamples::heic(path, kSize, kDate);
    }
    if (format == QLatin1String("pdf")) {
        return EvidenceSamples::pdf(path, 2);
    }
    if (format == QLatin1String("text")) {
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write("not a picture\n") > 0;
    }
    return EvidenceSamples::qtPicture(path, kSize, format.toLatin1().constData());
}

void tst_EvidenceDecoders::facts_data() {
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("mediaType");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QString>("taken");
    // The thumbnail's size and where the red corner of the picture is in it.
    QTest::addColumn<QSize>("thumbnail");
    QTest::addColumn<int>("corner");

    const int picture = int(MediaFacts::Kind::Picture);
    const QString date = QStringLiteral("2021-07-14 09:30:05");
    // Turned a quarter clockwise to be upright: the red top-left corner of the
    // stored pixels shows at the top right.
    QTest::newRow("JPEG, orientation 6")
        << "jpeg6"
        << "photo.jpg" << picture << "image/jpeg" << QSize(300, 400) << date << QSize(192, 256)
        << int(Qt::TopRightCorner);
    QTest::newRow("JPEG, orientation 3")
        << "jpeg3"
        << "upside.jpg" << picture << "image/jpeg" << QSize(400, 300) << QString()
        << QSize(256, 192) << int(Qt::BottomRightCorner);
    QTest::newRow("WebP") << "WEBP"
                          << "plugin.webp" << picture << "image/webp" << QSize(400, 300)
                          << QString() << QSize(256, 192) << int(Qt::TopLeftCorner);
    QTest::newRow("TIFF") << "TIFF"
                          << "scan.tif" << picture << "image/tiff" << QSize(400, 300) << QString()
                          << QSize(256, 192) << int(Qt::TopLeftCorner);
    QTest::newRow("HEIC") << "heic"
                          << "phone.heic" << picture << "image/heif" << QSize(400, 300) << date
                          << QSize(256, 192) << int(Qt::TopLeftCorner);
    // The first page of an A4 PDF, upright.
    QTest::newRow("PDF") << "pdf"
                         << "manual.pdf" << int(MediaFacts::Kind::Pdf) << "application/pdf"
                         << QSize(0, 0) << QString() << QSize(181, 256) << int(Qt::TopLeftCorner);
    QTest::newRow("other file") << "text"
                                << "notes.jpg" << int(MediaFacts::Kind::Other) << "text/plain"
                                << QSize(0, 0) << QString() << QSize() << -1;
}

void tst_EvidenceDecoders::facts() {
    QFETCH(QString, format);
    QFETCH(QString, name);
    QFETCH(int, kind);
    QFETCH(QString, mediaType);
    QFETCH(QSize, size);
    QFETCH(QString, taken);
    QFETCH(QSize, thumbnail);
    QFETCH(int, corner);

    const QString path = m_dir.filePath(name);
    QVERIFY(make(format, path));
    const MediaFacts facts = MediaFacts::read(path);
    QCOMPARE(int(facts.kind), kind);
    QVERIFY2(facts.mediaType == mediaType ||
                 (format == QLatin1String("heic") &&
                  facts.mediaType.startsWith(QLatin1String("image/hei"))),
             qPrintable(facts.mediaType));
    QCOMPARE(QSize(facts.width, facts.height), size);
    QCOMPARE(facts.takenDate, taken);
    if (corner < 0) {
        QVERIFY(facts.thumbnail.isEmpty());
        return;
    }
    const QImage shown = thumbnailOf(facts);
    QVERIFY(std::abs(shown.width() - thumbnail.width()) <= 1);
    QVERIFY(std::abs(shown.height() - thumbnail.height()) <= 1);
    QVERIFY(EvidenceSamples::cornerAt(shown, Qt::Corner(corner)));
}

void tst_EvidenceDecoders::viewerPictures_data() {
    QTest::addColumn<QString>("format");
    QTest::addColumn<QSize>("bound");
    QTest::addColumn<QSize>("shown");
    QTest::addColumn<int>("corner");
    QTest::newRow("whole, upright")
        << "jpeg6" << QSize() << QSize(300, 400) << int(Qt::TopRightCorner);
    QTest::newRow("bound, upright")
        << "jpeg6" << QSize(150, 150) << QSize(112, 150) << int(Qt::TopRightCorner);
    QTest::newRow("never enlarged")
        << "WEBP" << QSize(1000, 1000) << QSize(400, 300) << int(Qt::TopLeftCorner);
    QTest::newRow("HEIC bound") << "heic" << QSize(200, 200) << QSize(200, 150)
                                << int(Qt::TopLeftCorner);
}

void tst_EvidenceDecoders::viewerPictures() {
    QFETCH(QString, format);
    QFETCH(QSize, bound);
    QFETCH(QSize, shown);
    QFETCH(int, corner);
    const QString path = m_dir.filePath(QStringLiteral("view-") + QTest::currentDataTag());
    QVERIFY(make(format, path));
    const QImage image = EvidenceImage::load(path, bound);
    QVERIFY(std::abs(image.width() - shown.width()) <= 1);
    QVERIFY(std::abs(image.height() - shown.height()) <= 1);
    QVERIFY(EvidenceSamples::cornerAt(image, Qt::Corner(corner)));
}

void tst_EvidenceDecoders::pdfPages() {
    const QString path = m_dir.filePath(QStringLiteral("pages.pdf"));
    QVERIFY(EvidenceSamples::pdf(path, 3));
    const PdfPages pages(path);
    QCOMPARE(pages.count(), 3);
    const QImage last = pages.render(2, QSize(600, 600));
    QCOMPARE(last.height(), 600);
    QVERIFY(EvidenceSamples::cornerAt(last, Qt::TopLeftCorner));
    QVERIFY(pages.render(3, QSize(600, 600)).isNull());
    QCOMPARE(PdfPages(m_dir.filePath(QStringLiteral("missing.pdf"))).count(), 0);
}

void tst_EvidenceDecoders::guessedKind_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("facts");
    QTest::addColumn<int>("kind");
    const int pdf = int(MediaFacts::Kind::Pdf);
    QTest::newRow("receipt PDF") << "Receipt 2021.pdf" << pdf << int(Riri::EvidenceKind::Receipt);
    QTest::newRow("invoice PDF") << "tv-INVOICE.pdf" << pdf << int(Riri::EvidenceKind::Receipt);
    QTest::newRow("other PDF") << "manual.pdf" << pdf << int(Riri::EvidenceKind::Other);
    QTest::newRow("picture") << "receipt.jpg" << int(MediaFacts::Kind::Picture)
                             << int(Riri::EvidenceKind::Photo);
    QTest::newRow("no picture") << "receipt.txt" << int(MediaFacts::Kind::Other)
                                << int(Riri::EvidenceKind::Other);
}

void tst_EvidenceDecoders::guessedKind() {
    QFETCH(QString, name);
    QFETCH(int, facts);
    QFETCH(int, kind);
    QCOMPARE(int(EvidenceIntake::guessKind(name, MediaFacts::Kind(facts))), kind);
}

QTEST_MAIN(tst_EvidenceDecoders)
#include "tst_evidencedecoders.moc"
