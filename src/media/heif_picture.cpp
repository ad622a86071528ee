#include "media/heif_picture.h"

#include "media/heif_canvas.h"
#include "media/picture_on_white.h"
#include "media/picture_scale.h"

#include <algorithm>
#include <memory>
#include <optional>

#include <libheif/heif.h>

namespace vistello::media {

namespace {

// libheif holds the coded picture, its decoded planes and the interleaved copy at once
// (about 5 bytes a pixel), and cannot decode at a reduced scale: beyond this many pixels
// an import would take more than its memory allows.
constexpr qint64 kFullDecodeMaxPixels = qint64{150} << 20;

struct ContextFree {
    void operator()(heif_context* context) const { heif_context_free(context); }
};
struct HandleRelease {
    void operator()(heif_image_handle* handle) const { heif_image_handle_release(handle); }
};
struct ImageRelease {
    void operator()(heif_image* image) const { heif_image_release(image); }
};
struct OptionsFree {
    void operator()(heif_decoding_options* options) const { heif_decoding_options_free(options); }
};

} // namespace

QImage decodeHeif(QByteArrayView bytes, qint64 maxPixels) {
    if (bytes.isEmpty())
        return {};
    const std::unique_ptr<heif_context, ContextFree> context(heif_context_alloc());
    if (!context)
        return {};
    if (heif_context_read_from_memory_without_copy(context.get(), bytes.data(),
                                                   static_cast<size_t>(bytes.size()), nullptr)
            .code != heif_error_Ok)
        return {};
    heif_image_handle* rawHandle = nullptr;
    if (heif_context_get_primary_image_handle(context.get(), &rawHandle).code != heif_error_Ok)
        return {};
    const std::unique_ptr<heif_image_handle, HandleRelease> handle(rawHandle);
    const qint64 pixels =
        qint64{heif_image_handle_get_width(handle.get())} * heif_image_handle_get_height(handle.get());
    if (pixels <= 0 || pixels > std::min(maxPixels, kFullDecodeMaxPixels))
        return {};
    // The size above is the one the file declares (its ispe). A grid or overlay picture is
    // composed on a canvas whose size is written separately, in the grid's own data, and
    // libheif allocates, rotates and converts that canvas whatever the declared size: a file
    // that declares 48 x 64 and composes on 14441 x 27759 works for minutes on gigabytes.
    // An honest canvas is the declared size, or that size turned: libheif's own encoder
    // declares a turned grid's size after the turn. The canvas read from the file's boxes is
    // held to that; and, for canvases that libheif reaches by a path the boxes here do not
    // follow, libheif's own canvas limit (one length for both sides, checked before the
    // canvas is allocated) is the longer declared side.
    const int declaredWidth = heif_image_handle_get_ispe_width(handle.get()),
              declaredHeight = heif_image_handle_get_ispe_height(handle.get());
    if (declaredWidth <= 0 || declaredHeight <= 0)
        return {};
    if (heifPrimaryIsDerivedCopy(bytes))
        return {};
    const std::optional<QSize> canvas = heifComposedCanvas(bytes);
    if (canvas && !(canvas->width() <= declaredWidth && canvas->height() <= declaredHeight) &&
        !(canvas->width() <= declaredHeight && canvas->height() <= declaredWidth))
        return {};
    heif_context_set_maximum_image_size_limit(context.get(), std::max(declaredWidth, declaredHeight) + 1);

    const bool alpha = heif_image_handle_has_alpha_channel(handle.get()) != 0;
    const std::unique_ptr<heif_decoding_options, OptionsFree> options(heif_decoding_options_alloc());
    if (!options)
        return {};
    options->ignore_transformations = 0;
    options->convert_hdr_to_8bit = 1;
    heif_image* rawImage = nullptr;
    if (heif_decode_image(handle.get(), &rawImage, heif_colorspace_RGB,
                          alpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB, options.get())
            .code != heif_error_Ok)
        return {};
    const std::unique_ptr<heif_image, ImageRelease> image(rawImage);
    int stride = 0;
    const std::uint8_t* plane = heif_image_get_plane_readonly(image.get(), heif_channel_interleaved, &stride);
    const int width = heif_image_get_width(image.get(), heif_channel_interleaved);
    const int height = heif_image_get_height(image.get(), heif_channel_interleaved);
    if (!plane || width <= 0 || height <= 0 || qint64{width} * height > maxPixels ||
        heif_image_get_bits_per_pixel_range(image.get(), heif_channel_interleaved) != 8)
        return {};
    // A view of libheif's plane; the reduction and the conversion make the picture's own copy.
    const QImage view(plane, width, height, stride, alpha ? QImage::Format_RGBA8888 : QImage::Format_RGB888);
    const QSize kept = reducedSize(view.size());
    if (kept != view.size())
        return pictureOnWhite(view.scaled(kept, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    QImage picture = pictureOnWhite(view);
    return picture;
}

} // namespace vistello::media
