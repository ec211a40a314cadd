#pragma once

#include <QColor>
#include <QImage>
#include <QSize>
#include <QString>

// Small files of every format the evidence decoders read, made on the fly.
// Pictures show `corner` in their top-left quarter and blue elsewhere, so a
// test sees where the top-left corner went.
namespace EvidenceSamples {

inline const QColor corner = QColor(255, 0, 0);

QImage picture(const QSize& size);
// A JPEG with an EXIF orientation (1 to 8) and, when not empty, a date taken
// ("yyyy:MM:dd HH:mm:ss"), written through exiv2.
bool jpeg(const QString& path, const QSize& size, int orientation, const QString& exifDate);
// A picture in a format of Qt's image plugins ("WEBP", "TIFF", "PNG").
bool qtPicture(const QString& path, const QSize& size, const char* format);
// A HEIC picture through libheif's encoder, with an EXIF date taken.
bool heic(const QString& path, const QSize& size, const QString& exifDate);
// A PDF of `pages` A4 pages through QPdfWriter.
bool pdf(const QString& path, int pages);
// Whether the image's top-left (or top-right ...) quarter is mostly the
// corner colour.
bool cornerAt(const QImage& image, Qt::Corner where);

} // namespace EvidenceSamples
