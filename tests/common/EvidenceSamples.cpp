#include "EvidenceSamples.h"

#include <QFile>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <exiv2/exiv2.hpp>
#include <libheif/heif.h>

#include <string>

namespace EvidenceSamples {

QImage picture(const QSize& size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(QColor(0, 0, 255));
    QPainter painter(&image);
    painter.fillRect(0, 0, size.width() / 2, size.height() / 2, corner);
    return image;
}

bool jpeg(const QString& path, const QSize& size, int orientation, const QString& exifDate) {
    if (!picture(size).save(path, "JPEG", 90)) {
        return false;
    }
    try {
        auto image = Exiv2::ImageFactory::open(std::string(QFile::encodeName(path).constData()));
        image->readMetadata();
        Exiv2::ExifData& exif = image->exifData();
        exif["Exif.Image.Orientation"] = static_cast<uint16_t>(orientation);
        if (!exifDate.isEmpty()) {
            exif["Exif.Photo.DateTimeOriginal"] = exifDate.toStdString();
        }
        image->writeMetadata();
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

bool qtPicture(const QString& path, const QSize& size, const char* format) {
    return picture(size).save(path, format);
}

bool heic(const QString& path, const QSize& size, const QString& exifDate) {
    heif_context* context = heif_context_alloc();
    heif_encoder* encoder = nullptr;
    heif_image* image = nullptr;
    bool written = false;
    if (heif_context_get_encoder_for_format(context, heif_compression_HEVC, &encoder).code ==
            heif_error_Ok &&
        heif_image_create(size.width(), size.height(), heif_colorspace_RGB,
                          heif_chroma_interleaved_RGB, &image)
                .code == heif_error_Ok &&
        heif_image_add_plane(image, heif_channel_interleaved, size.width(), size.height(), 8)
                .code == heif_error_Ok) {
        int stride = 0;
        uint8_t* plane = heif_image_get_plane(image, heif_channel_interleaved, &stride);
        const QImage source = picture(size).convertToFormat(QImage::Format_RGB888);
        for (int y = 0; y < size.height(); ++y) {
            memcpy(plane + qsizetype(y) * stride, source.constScanLine(y),
                   static_cast<size_t>(size.width() * 3));
        }
        heif_encoder_set_lossy_quality(encoder, 90);
        heif_image_handle* handle = nullptr;
        if (heif_context_encode_image(context, image, encoder, nullptr, &handle).code ==
            heif_error_Ok) {
            Exiv2::ExifData exif;
            exif["Exif.Photo.DateTimeOriginal"] = exifDate.toStdString();
            Exiv2::Blob blob;
            Exiv2::ExifParser::encode(blob, Exiv2::littleEndian, exif);
            heif_context_add_exif_metadata(context, handle, blob.data(),
                                           static_cast<int>(blob.size()));
            heif_image_handle_release(handle);
            written =
                heif_context_write_to_file(context, QFile::encodeName(path).constData()).code ==
                heif_error_Ok;
        }
    }
    if (image != nullptr) {
        heif_image_release(image);
    }
    if (encoder != nullptr) {
        heif_encoder_release(encoder);
    }
    heif_context_free(context);
    return written;
}

bool pdf(const QString& path, int pages) {
    QPdfWriter writer(path);
    writer.setPageSize(QPageSize(QPageSize::A4));
    QPainter painter(&writer);
    for (int page = 0; page < pages; ++page) {
        if (page > 0) {
            writer.newPage();
        }
        painter.fillRect(0, 0, writer.width() / 2, writer.height() / 2, corner);
        painter.drawText(writer.width() / 2, writer.height() * 3 / 4,
                         QStringLiteral("Page %1").arg(page + 1));
    }
    return painter.end();
}

bool cornerAt(const QImage& image, Qt::Corner where) {
    const int x = (where == Qt::TopLeftCorner || where == Qt::BottomLeftCorner)
                      ? image.width() / 4
                      : image.width() * 3 / 4;
    const int y = (where == Qt::TopLeftCorner || where == Qt::TopRightCorner)
                      ? image.height() / 4
                      : image.height() * 3 / 4;
    const QColor seen = image.pixelColor(x, y);
    return seen.red() > 180 && seen.blue() < 90;
}

} // namespace EvidenceSamples
