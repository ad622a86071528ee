#include "media/webp_picture.h"

#include "media/exif_blocks.h"
#include "media/exif_orientation.h"
#include "media/picture_on_white.h"
#include "media/picture_scale.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include <webp/decode.h>
#include <webp/demux.h>

namespace vistello::media {

namespace {

// An animation is decoded frame by frame onto a full-size canvas; beyond this many pixels
// it would take more memory than an import may.
constexpr qint64 kAnimationMaxPixels = qint64{64} << 20;

QImage firstFrame(QByteArrayView bytes, const WebPBitstreamFeatures& features, qint64 maxPixels) {
    // The animation decoder allocates two canvases of the size the file declares as soon as it
    // is made, so a file that claims a huge canvas is refused before the decoder exists.
    const qint64 declared = qint64{features.width} * features.height;
    if (declared <= 0 || declared > std::min(maxPixels, kAnimationMaxPixels))
        return {};
    struct DecoderDelete {
        void operator()(WebPAnimDecoder* decoder) const { WebPAnimDecoderDelete(decoder); }
    };
    WebPAnimDecoderOptions options;
    if (!WebPAnimDecoderOptionsInit(&options))
        return {};
    options.color_mode = MODE_RGBA;
    options.use_threads = 0;
    const WebPData data{reinterpret_cast<const std::uint8_t*>(bytes.data()),
                        static_cast<size_t>(bytes.size())};
    const std::unique_ptr<WebPAnimDecoder, DecoderDelete> decoder(WebPAnimDecoderNew(&data, &options));
    WebPAnimInfo info;
    if (!decoder || !WebPAnimDecoderGetInfo(decoder.get(), &info))
        return {};
    const qint64 pixels = qint64{info.canvas_width} * info.canvas_height;
    if (pixels <= 0 || pixels > std::min(maxPixels, kAnimationMaxPixels))
        return {};
    std::uint8_t* canvas = nullptr;
    int timestamp = 0;
    if (!WebPAnimDecoderGetNext(decoder.get(), &canvas, &timestamp) || !canvas)
        return {};
    // The canvas belongs to the decoder; the reduction or the conversion makes our copy.
    const QImage view(canvas, static_cast<int>(info.canvas_width), static_cast<int>(info.canvas_height),
                      static_cast<qsizetype>(info.canvas_width) * 4, QImage::Format_RGBA8888);
    return pictureOnWhite(keepWithinLargestSide(view));
}

QImage stillPicture(QByteArrayView bytes, const WebPBitstreamFeatures& features, qint64 maxPixels) {
    const QSize kept = reducedSize(QSize(features.width, features.height));
    if (kept.isEmpty() || qint64{kept.width()} * kept.height() > maxPixels)
        return {};
    WebPDecoderConfig config;
    if (!WebPInitDecoderConfig(&config))
        return {};
    QImage picture(kept, features.has_alpha ? QImage::Format_RGBA8888 : QImage::Format_RGB888);
    if (picture.isNull())
        return {};
    if (kept != QSize(features.width, features.height)) {
        config.options.use_scaling = 1;
        config.options.scaled_width = kept.width();
        config.options.scaled_height = kept.height();
    }
    config.output.colorspace = features.has_alpha ? MODE_RGBA : MODE_RGB;
    config.output.is_external_memory = 1;
    config.output.u.RGBA.rgba = picture.bits();
    config.output.u.RGBA.stride = static_cast<int>(picture.bytesPerLine());
    config.output.u.RGBA.size = static_cast<size_t>(picture.sizeInBytes());
    const VP8StatusCode status = WebPDecode(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                            static_cast<size_t>(bytes.size()), &config);
    WebPFreeDecBuffer(&config.output); // frees nothing of ours: the memory is external
    return status == VP8_STATUS_OK ? pictureOnWhite(picture) : QImage();
}

} // namespace

int webpExifOrientation(QByteArrayView bytes) {
    const QByteArrayView block = webpExifBlock(bytes);
    return exifBlockOrientation(reinterpret_cast<const std::uint8_t*>(block.data()),
                                static_cast<std::size_t>(block.size()));
}

QImage decodeWebp(QByteArrayView bytes, qint64 maxPixels) {
    if (bytes.isEmpty())
        return {};
    WebPBitstreamFeatures features;
    if (WebPGetFeatures(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                        static_cast<size_t>(bytes.size()), &features) != VP8_STATUS_OK)
        return {};
    const QImage picture = features.has_animation ? firstFrame(bytes, features, maxPixels)
                                                  : stillPicture(bytes, features, maxPixels);
    if (picture.isNull())
        return {};
    return applyExifOrientation(picture, webpExifOrientation(bytes));
}

} // namespace vistello::media
