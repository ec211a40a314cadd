#pragma once

#include <QByteArray>
#include <QString>

// The facts of a file that is to become evidence: its media type by content,
// and for a picture or a PDF its size, the date it was taken and a small
// thumbnail. Reading decodes the file: run it on a worker thread.
class MediaFacts {
public:
    enum class Kind { Picture, Pdf, Other };

    // The longest side of a thumbnail, in pixels.
    static constexpr int ThumbnailSide = 256;

    Kind kind = Kind::Other;
    QString mediaType = QStringLiteral("application/octet-stream");
    int width = 0; // of a picture, upright; 0 otherwise
    int height = 0;
    QString takenDate;    // "yyyy-MM-dd HH:mm:ss" from EXIF, or empty
    QByteArray thumbnail; // JPEG, upright, at most ThumbnailSide; empty when none

    // A file that is neither a readable picture nor a readable PDF gives
    // kind Other and no thumbnail.
    static MediaFacts read(const QString& path);
};
