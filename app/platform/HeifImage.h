#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

// HEIC and HEIF pictures (what phones take), decoded with libheif. The
// picture comes upright: libheif applies the file's own rotation and mirror.
class HeifImage {
public:
    // Whether the first bytes of a file are those of a HEIF picture.
    static bool isHeif(const QByteArray& head);

    // The primary picture; fitting within `bound` when that is valid, from
    // the file's own thumbnail when one is large enough. Null when the file
    // cannot be decoded. fullSize receives the picture's size, exif its EXIF
    // block (empty when it has none).
    static QImage decode(const QString& path, const QSize& bound = QSize(),
                         QSize* fullSize = nullptr, QByteArray* exif = nullptr);
};
