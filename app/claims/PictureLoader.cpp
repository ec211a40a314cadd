#include "claims/PictureLoader.h"

#include "platform/EvidenceImage.h"

#include <cmath>

QSize PictureLoader::pixelsFor(const QSize& shown, const QSizeF& points) {
    const QSize most(std::max(1, static_cast<int>(std::lround(points.width() * kMaxDpi / 72.0))),
                     std::max(1, static_cast<int>(std::lround(points.height() * kMaxDpi / 72.0))));
    if (shown.width() <= most.width() && shown.height() <= most.height()) {
        return shown;
    }
    return shown.scaled(most, Qt::KeepAspectRatio);
}

PictureLoader::Fitted PictureLoader::load(const QString& path, const QSizeF& box) {
    // The decoders (HEIC among them) scale as they read, a JPEG by its own
    // DCT, and turn the picture upright by its EXIF orientation.
    const QSize bound(std::max(1, static_cast<int>(std::lround(box.width() * kMaxDpi / 72.0))),
                      std::max(1, static_cast<int>(std::lround(box.height() * kMaxDpi / 72.0))));
    const EvidenceImage::Picture picture = EvidenceImage::read(path, bound);
    if (picture.image.isNull()) {
        return {};
    }
    const QSize shown = picture.fullSize.isValid() ? picture.fullSize : picture.image.size();
    Fitted fitted;
    fitted.points = QSizeF(shown).scaled(box, Qt::KeepAspectRatio);
    fitted.image = picture.image;
    return fitted;
}
