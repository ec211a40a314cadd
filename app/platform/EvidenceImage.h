#pragma once

#include <QImage>
#include <QSize>
#include <QString>

// Pictures of evidence files as they are to be seen: Qt's own formats and
// those of the installed image-format plugins (WebP, TIFF), HEIC and HEIF
// through libheif, each turned upright by its EXIF orientation. Safe to use
// on a worker thread.
class EvidenceImage {
public:
    // What a read gives.
    struct Picture {
        QImage image;      // null when the file is no picture that can be read
        QSize fullSize;    // the upright picture's own size
        QString takenDate; // from EXIF, "yyyy-MM-dd HH:mm:ss", or empty
    };

    // The picture fitting within `bound` (its own size when the bound is
    // invalid), never enlarged. JPEG pictures are decoded at a reduced scale
    // where the bound allows, so a thumbnail never costs a full decode.
    static Picture read(const QString& path, const QSize& bound = QSize());
    // Only the image of read.
    static QImage load(const QString& path, const QSize& bound = QSize()) {
        return read(path, bound).image;
    }
};
