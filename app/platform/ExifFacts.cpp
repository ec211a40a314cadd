#include "platform/ExifFacts.h"

#include <QDateTime>
#include <QFile>
#include <QTransform>

#include <exiv2/exiv2.hpp>

#include <mutex>
#include <string>

namespace {

// exiv2 writes its warnings to standard error by default; a picture it finds
// odd is no concern of the user's. Its XMP parser must be set up once before
// several threads read pictures.
void setUpExiv2() {
    static std::once_flag once;
    std::call_once(once, [] {
        Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
        Exiv2::XmpParser::initialize();
    });
}

QString isoDate(const std::string& exifDate) {
    // EXIF writes "2021:07:14 09:30:05".
    const QDateTime date = QDateTime::fromString(QString::fromStdString(exifDate).trimmed(),
                                                 QStringLiteral("yyyy:MM:dd HH:mm:ss"));
    return date.isValid() ? date.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) : QString();
}

ExifFacts factsOf(const Exiv2::ExifData& data) {
    ExifFacts facts;
    const auto orientation = data.findKey(Exiv2::ExifKey("Exif.Image.Orientation"));
    if (orientation != data.end() && orientation->count() > 0) {
        const long value = orientation->toLong();
        if (value >= 1 && value <= 8) {
            facts.orientation = static_cast<int>(value);
        }
    }
    for (const char* key :
         {"Exif.Photo.DateTimeOriginal", "Exif.Photo.DateTimeDigitized", "Exif.Image.DateTime"}) {
        const auto date = data.findKey(Exiv2::ExifKey(key));
        if (date != data.end()) {
            facts.takenDate = isoDate(date->toString());
            if (!facts.takenDate.isEmpty()) {
                break;
            }
        }
    }
    return facts;
}

} // namespace

ExifFacts ExifFacts::fromFile(const QString& path) {
    setUpExiv2();
    try {
        auto image = Exiv2::ImageFactory::open(std::string(QFile::encodeName(path).constData()));
        if (image.get() == nullptr) {
            return {};
        }
        image->readMetadata();
        return factsOf(image->exifData());
    } catch (const std::exception&) {
        return {};
    }
}

ExifFacts ExifFacts::fromBlock(const QByteArray& block) {
    setUpExiv2();
    QByteArray tiff = block;
    const bool tiffHeader = tiff.startsWith("II*") || tiff.startsWith("MM");
    if (!tiffHeader && tiff.size() > 4) {
        const auto* bytes = reinterpret_cast<const unsigned char*>(tiff.constData());
        const qint64 offset = (qint64(bytes[0]) << 24) | (qint64(bytes[1]) << 16) |
                              (qint64(bytes[2]) << 8) | qint64(bytes[3]);
        if (offset < 0 || offset + 4 >= tiff.size()) {
            return {};
        }
        tiff = tiff.mid(4 + offset);
    }
    if (tiff.startsWith("Exif")) {
        tiff = tiff.mid(6);
    }
    try {
        Exiv2::ExifData data;
        Exiv2::ExifParser::decode(data, reinterpret_cast<const Exiv2::byte*>(tiff.constData()),
                                  static_cast<std::uint32_t>(tiff.size()));
        return factsOf(data);
    } catch (const std::exception&) {
        return {};
    }
}

QImage ExifFacts::oriented(const QImage& image, int orientation) {
    switch (orientation) {
    case 2:
        return image.mirrored(true, false);
    case 3:
        return image.transformed(QTransform().rotate(180));
    case 4:
        return image.mirrored(false, true);
    case 5:
        return image.transformed(QTransform().rotate(90)).mirrored(true, false);
    case 6:
        return image.transformed(QTransform().rotate(90));
    case 7:
        return image.transformed(QTransform().rotate(90)).mirrored(false, true);
    case 8:
        return image.transformed(QTransform().rotate(270));
    default:
        return image;
    }
}
