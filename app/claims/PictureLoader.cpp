#include "claims/PictureLoader.h"

#include <QImageReader>
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
    QImageReader reader(path);
    reader.setAutoTransform(true);
    const QSize stored = reader.size();
    if (!stored.isValid() || stored.isEmpty()) {
        return {};
    }
    const bool turned = (reader.transformation() & QImageIOHandler::TransformationRotate90) != 0;
    const QSize shown = turned ? stored.transposed() : stored;
    Fitted fitted;
    fitted.points = QSizeF(shown).scaled(box, Qt::KeepAspectRatio);
    const QSize pixels = pixelsFor(shown, fitted.points);
    // The decoder scales as it reads (a JPEG by its own DCT), before the
    // orientation turns the picture.
    if (pixels != shown) {
        reader.setScaledSize(turned ? pixels.transposed() : pixels);
    }
    fitted.image = reader.read();
    if (!fitted.image.isNull() && fitted.image.size() != pixels) {
        fitted.image = fitted.image.scaled(pixels, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }
    return fitted;
}
