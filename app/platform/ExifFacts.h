#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// What a picture's EXIF data says about how to show it and when it was taken,
// read with exiv2. A file without EXIF data (or that exiv2 cannot read) gives
// the defaults: upright, no date.
class ExifFacts {
public:
    // 1 to 8 as EXIF counts them: 1 upright, 3 upside down, 6 turned a
    // quarter clockwise to be upright, 8 a quarter counter-clockwise; 2, 4, 5
    // and 7 the same with a mirror.
    int orientation = 1;
    // "yyyy-MM-dd HH:mm:ss" when the picture was taken, or empty.
    QString takenDate;

    static ExifFacts fromFile(const QString& path);
    // From an EXIF block as HEIF files carry it: an offset of four bytes
    // (big-endian) to the TIFF header, or the TIFF header itself.
    static ExifFacts fromBlock(const QByteArray& block);

    // Whether an orientation turns the picture by a quarter, which swaps its
    // width and height.
    static bool swapsSides(int orientation) { return orientation >= 5 && orientation <= 8; }
    // The image as it is to be seen.
    static QImage oriented(const QImage& image, int orientation);
};
