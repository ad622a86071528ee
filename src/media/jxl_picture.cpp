#include "media/jxl_picture.h"

#include "media/picture_on_white.h"
#include "media/picture_scale.h"

#include <algorithm>

#include <jxl/decode_cxx.h>

namespace vistello::media {

namespace {

// libjxl keeps several floating-point planes of the picture while it decodes (some 20 to
// 30 bytes a pixel): beyond this an import would take more memory than it may.
constexpr qint64 kFullDecodeMaxPixels = qint64{32} << 20;

} // namespace

QImage decodeJxl(QByteArrayView bytes, qint64 maxPixels) {
    if (bytes.isEmpty())
        return {};
    const JxlDecoderPtr decoder = JxlDecoderMake(nullptr);
    if (!decoder ||
        JxlDecoderSubscribeEvents(decoder.get(), JXL_DEC_BASIC_INFO | JXL_DEC_FULL_IMAGE) !=
            JXL_DEC_SUCCESS ||
        JxlDecoderSetInput(decoder.get(), reinterpret_cast<const std::uint8_t*>(bytes.data()),
                           static_cast<size_t>(bytes.size())) != JXL_DEC_SUCCESS)
        return {};
    JxlDecoderCloseInput(decoder.get());
    const JxlPixelFormat format{4, JXL_TYPE_UINT8, JXL_NATIVE_ENDIAN, 0};
    QImage picture;
    for (;;) {
        const JxlDecoderStatus status = JxlDecoderProcessInput(decoder.get());
        if (status == JXL_DEC_BASIC_INFO) {
            JxlBasicInfo info{};
            if (JxlDecoderGetBasicInfo(decoder.get(), &info) != JXL_DEC_SUCCESS)
                return {};
            const qint64 pixels = qint64{info.xsize} * info.ysize;
            if (pixels <= 0 || pixels > std::min(maxPixels, kFullDecodeMaxPixels))
                return {};
            // The size after orientation: a quarter turn (5..8) exchanges the sides.
            const bool turned = info.orientation >= JXL_ORIENT_TRANSPOSE;
            picture = QImage(static_cast<int>(turned ? info.ysize : info.xsize),
                             static_cast<int>(turned ? info.xsize : info.ysize), QImage::Format_RGBA8888);
            if (picture.isNull())
                return {};
        } else if (status == JXL_DEC_NEED_IMAGE_OUT_BUFFER) {
            size_t needed = 0;
            if (picture.isNull() ||
                JxlDecoderImageOutBufferSize(decoder.get(), &format, &needed) != JXL_DEC_SUCCESS ||
                needed != static_cast<size_t>(picture.sizeInBytes()) ||
                JxlDecoderSetImageOutBuffer(decoder.get(), &format, picture.bits(), needed) !=
                    JXL_DEC_SUCCESS)
                return {};
        } else if (status == JXL_DEC_FULL_IMAGE) {
            // The first frame is the picture; an animation's later frames are not wanted.
            return pictureOnWhite(keepWithinLargestSide(picture));
        } else {
            return {}; // an error, or the input ended before the picture
        }
    }
}

} // namespace vistello::media
