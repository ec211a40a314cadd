#pragma once

#include <QImage>
#include <QSizeF>
#include <QString>

// Reads pictures for printing: decoded straight to the size they are printed
// at, never larger, so that a 12-megapixel photo costs only the pixels the
// page shows. The picture's own orientation (EXIF) is applied.
class PictureLoader {
public:
    // The dots per inch a printed picture keeps at most.
    static constexpr qreal kMaxDpi = 200.0;

    struct Fitted {
        QImage image;  // null when the file is no picture Qt can read
        QSizeF points; // its printed size, within the box
    };

    // The picture in `path`, fitted into a box of `box` points (1/72 inch).
    static Fitted load(const QString& path, const QSizeF& box);

    // The pixels a picture of `shown` pixels printed at `points` keeps.
    static QSize pixelsFor(const QSize& shown, const QSizeF& points);
};
