#include "platform/EvidenceImage.h"

#include "platform/ExifFacts.h"
#include "platform/HeifImage.h"

#include <QFile>
#include <QImageReader>

namespace {

QByteArray head(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.read(64) : QByteArray();
}

} // namespace

EvidenceImage::Picture EvidenceImage::read(const QString& path, const QSize& bound) {
    Picture picture;
    if (HeifImage::isHeif(head(path))) {
        QByteArray exif;
        picture.image = HeifImage::decode(path, bound, &picture.fullSize, &exif);
        if (!exif.isEmpty()) {
            picture.takenDate = ExifFacts::fromBlock(exif).takenDate;
        }
        return picture;
    }
    QImageReader reader(path);
    // The orientation is applied below from exiv2's reading, the same for
    // every format.
    reader.setAutoTransform(false);
    if (!reader.canRead()) {
        return picture;
    }
    const ExifFacts exif = ExifFacts::fromFile(path);
    picture.takenDate = exif.takenDate;
    const bool swap = ExifFacts::swapsSides(exif.orientation);
    const QSize stored = reader.size();
    picture.fullSize = swap ? stored.transposed() : stored;
    if (bound.isValid() && stored.isValid()) {
        const QSize storedBound = swap ? bound.transposed() : bound;
        if (stored.width() > storedBound.width() || stored.height() > storedBound.height()) {
            reader.setScaledSize(stored.scaled(storedBound, Qt::KeepAspectRatio));
        }
    }
    QImage image = reader.read();
    if (image.isNull()) {
        return picture;
    }
    if (!picture.fullSize.isValid()) {
        picture.fullSize = swap ? image.size().transposed() : image.size();
    }
    picture.image = ExifFacts::oriented(image, exif.orientation);
    return picture;
}
