#include "platform/MediaFacts.h"

#include "platform/EvidenceImage.h"
#include "platform/PdfPages.h"

#include <QBuffer>
#include <QImage>
#include <QMimeDatabase>
#include <QPainter>

namespace {

QByteArray jpeg(const QImage& image) {
    if (image.isNull()) {
        return {};
    }
    // JPEG has no transparency: a picture's clear parts become white.
    QImage flat(image.size(), QImage::Format_RGB32);
    flat.fill(Qt::white);
    QPainter painter(&flat);
    painter.drawImage(0, 0, image);
    painter.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    flat.save(&buffer, "JPEG", 85);
    return bytes;
}

} // namespace

MediaFacts MediaFacts::read(const QString& path) {
    MediaFacts facts;
    const QMimeType type = QMimeDatabase().mimeTypeForFile(path, QMimeDatabase::MatchContent);
    if (type.isValid() && !type.isDefault()) {
        facts.mediaType = type.name();
    }
    const QSize bound(ThumbnailSide, ThumbnailSide);
    if (type.inherits(QStringLiteral("application/pdf"))) {
        const PdfPages pages(path);
        if (pages.isValid()) {
            facts.kind = Kind::Pdf;
            facts.thumbnail = jpeg(pages.render(0, bound));
        }
        return facts;
    }
    const EvidenceImage::Picture picture = EvidenceImage::read(path, bound);
    if (!picture.image.isNull()) {
        facts.kind = Kind::Picture;
        facts.width = picture.fullSize.width();
        facts.height = picture.fullSize.height();
        facts.takenDate = picture.takenDate;
        facts.thumbnail = jpeg(picture.image);
    }
    return facts;
}
