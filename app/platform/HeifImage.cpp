#include "platform/HeifImage.h"

#include <QFile>

#include <libheif/heif.h>

#include <memory>
#include <vector>

namespace {

struct ContextFree {
    void operator()(heif_context* context) const { heif_context_free(context); }
};
struct HandleFree {
    void operator()(heif_image_handle* handle) const { heif_image_handle_release(handle); }
};
struct ImageFree {
    void operator()(heif_image* image) const { heif_image_release(image); }
};
using Context = std::unique_ptr<heif_context, ContextFree>;
using Handle = std::unique_ptr<heif_image_handle, HandleFree>;
using Image = std::unique_ptr<heif_image, ImageFree>;

QImage toQImage(heif_image_handle* handle) {
    heif_image* raw = nullptr;
    const heif_error decoded =
        heif_decode_image(handle, &raw, heif_colorspace_RGB, heif_chroma_interleaved_RGBA, nullptr);
    const Image image(raw);
    if (decoded.code != heif_error_Ok || !image) {
        return {};
    }
    const int width = heif_image_get_width(image.get(), heif_channel_interleaved);
    const int height = heif_image_get_height(image.get(), heif_channel_interleaved);
    int stride = 0;
    const uint8_t* plane =
        heif_image_get_plane_readonly(image.get(), heif_channel_interleaved, &stride);
    if (plane == nullptr || width <= 0 || height <= 0) {
        return {};
    }
    // A deep copy: the plane goes with the heif image.
    return QImage(plane, width, height, stride, QImage::Format_RGBA8888).copy();
}

QByteArray exifBlock(heif_image_handle* handle) {
    heif_item_id id = 0;
    if (heif_image_handle_get_list_of_metadata_block_IDs(handle, "Exif", &id, 1) < 1) {
        return {};
    }
    const size_t size = heif_image_handle_get_metadata_size(handle, id);
    QByteArray block(static_cast<qsizetype>(size), Qt::Uninitialized);
    if (heif_image_handle_get_metadata(handle, id, block.data()).code != heif_error_Ok) {
        return {};
    }
    return block;
}

} // namespace

bool HeifImage::isHeif(const QByteArray& head) {
    const heif_filetype_result type = heif_check_filetype(
        reinterpret_cast<const uint8_t*>(head.constData()), static_cast<int>(head.size()));
    return type == heif_filetype_yes_supported || type == heif_filetype_maybe;
}

QImage HeifImage::decode(const QString& path, const QSize& bound, QSize* fullSize,
                         QByteArray* exif) {
    const Context context(heif_context_alloc());
    if (!context ||
        heif_context_read_from_file(context.get(), QFile::encodeName(path).constData(), nullptr)
                .code != heif_error_Ok) {
        return {};
    }
    heif_image_handle* rawPrimary = nullptr;
    if (heif_context_get_primary_image_handle(context.get(), &rawPrimary).code != heif_error_Ok) {
        return {};
    }
    const Handle primary(rawPrimary);
    const QSize size(heif_image_handle_get_width(primary.get()),
                     heif_image_handle_get_height(primary.get()));
    if (fullSize != nullptr) {
        *fullSize = size;
    }
    if (exif != nullptr) {
        *exif = exifBlock(primary.get());
    }
    QImage image;
    // A thumbnail the file carries saves decoding the whole picture.
    heif_item_id thumbId = 0;
    if (bound.isValid() &&
        heif_image_handle_get_list_of_thumbnail_IDs(primary.get(), &thumbId, 1) == 1) {
        heif_image_handle* rawThumb = nullptr;
        if (heif_image_handle_get_thumbnail(primary.get(), thumbId, &rawThumb).code ==
            heif_error_Ok) {
            const Handle thumb(rawThumb);
            const QSize thumbSize(heif_image_handle_get_width(thumb.get()),
                                  heif_image_handle_get_height(thumb.get()));
            if (thumbSize.width() >= bound.width() || thumbSize.height() >= bound.height()) {
                image = toQImage(thumb.get());
            }
        }
    }
    if (image.isNull()) {
        image = toQImage(primary.get());
    }
    if (!image.isNull() && bound.isValid() &&
        (image.width() > bound.width() || image.height() > bound.height())) {
        image = image.scaled(bound, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }
    return image;
}
