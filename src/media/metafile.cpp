#include "media/metafile.h"

#include <QByteArray>
#include <QPainter>
#include <QSvgRenderer>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <vector>

#include <emf2svg.h>
#include <libwmf/api.h>
#include <libwmf/svg.h>
#include <uemf_safe.h>

namespace vistello::media {

namespace {

std::uint32_t le32(const char* p) {
    std::uint32_t value;
    std::memcpy(&value, p, 4); // the build asserts a little-endian machine (store/records.h)
    return value;
}
std::uint16_t le16(const char* p) {
    std::uint16_t value;
    std::memcpy(&value, p, 2);
    return value;
}

QImage renderSvg(const QByteArray& svg, qint64 maxPixels) {
    QSvgRenderer renderer(svg);
    if (!renderer.isValid())
        return {};
    const QSize size = renderer.defaultSize();
    if (size.isEmpty() || qint64{size.width()} * size.height() > maxPixels)
        return {};
    QImage canvas(size, QImage::Format_RGB32);
    if (canvas.isNull())
        return {};
    canvas.fill(Qt::white);
    {
        QPainter painter(&canvas);
        renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    }
    return canvas.convertToFormat(QImage::Format_BGR888);
}

// The frame of a placeable WMF header in points (1/72 inch), when the file has one.
std::optional<wmfD_Rect> placeableFrame(QByteArrayView bytes) {
    constexpr std::uint32_t kPlaceableKey = 0x9AC6CDD7;
    if (bytes.size() < 22 || le32(bytes.data()) != kPlaceableKey)
        return std::nullopt;
    const auto coordinate = [&](int at) { return static_cast<std::int16_t>(le16(bytes.data() + at)); };
    const std::uint16_t unitsPerInch = le16(bytes.data() + 14);
    const int left = coordinate(6), top = coordinate(8), right = coordinate(10), bottom = coordinate(12);
    if (unitsPerInch == 0 || left == right || top == bottom)
        return std::nullopt;
    const float scale = 72.0f / unitsPerInch;
    wmfD_Rect frame{};
    frame.TL.x = std::min(left, right) * scale;
    frame.TL.y = std::min(top, bottom) * scale;
    frame.BR.x = std::max(left, right) * scale;
    frame.BR.y = std::max(top, bottom) * scale;
    return frame;
}

struct MallocFree {
    void operator()(char* p) const { std::free(p); }
};

struct WmfApiDestroy {
    void operator()(wmfAPI* api) const { wmf_api_destroy(api); }
};

} // namespace

bool emfStructureValid(QByteArrayView bytes) {
    constexpr std::uint32_t kHeaderType = 1, kEofType = 14, kMinHeaderSize = 88;
    constexpr std::uint32_t kSignature = 0x464D4520; // " EMF"
    const auto size = static_cast<std::uint64_t>(bytes.size());
    if (size < kMinHeaderSize || le32(bytes.data()) != kHeaderType || le32(bytes.data() + 40) != kSignature)
        return false;
    // The header's description (UTF-16) and pixel format must lie inside the header record.
    const std::uint64_t headerSize = le32(bytes.data() + 4);
    if (headerSize < kMinHeaderSize || headerSize > size)
        return false;
    const std::uint64_t descriptionLength = le32(bytes.data() + 60), descriptionAt = le32(bytes.data() + 64);
    if (descriptionLength > 0 &&
        (descriptionAt > headerSize || 2 * descriptionLength > headerSize - descriptionAt))
        return false;
    if (headerSize >= 100) {
        const std::uint64_t formatLength = le32(bytes.data() + 88), formatAt = le32(bytes.data() + 92);
        if (formatLength > 0 && (formatAt > headerSize || formatLength > headerSize - formatAt))
            return false;
    }
    std::uint64_t at = 0;
    while (at + 8 <= size) {
        const std::uint32_t type = le32(bytes.data() + at);
        const std::uint32_t length = le32(bytes.data() + at + 4);
        if (length < 8 || length % 4 != 0 || length > size - at)
            return false;
        // libUEMF's own check that the record's counts and offsets stay inside the record.
        if (!U_emf_record_safe(bytes.data() + at))
            return false;
        if (type == kEofType)
            return true;
        at += length;
    }
    return false;
}

bool wmfStructureValid(QByteArrayView bytes) {
    constexpr std::uint32_t kPlaceableKey = 0x9AC6CDD7;
    constexpr std::uint64_t kPlaceableSize = 22, kHeaderSize = 18;
    const auto size = static_cast<std::uint64_t>(bytes.size());
    std::uint64_t at = 0;
    if (size >= 4 && le32(bytes.data()) == kPlaceableKey)
        at = kPlaceableSize;
    if (size < at + kHeaderSize)
        return false;
    const std::uint16_t type = le16(bytes.data() + at);
    const std::uint16_t headerWords = le16(bytes.data() + at + 2);
    if ((type != 1 && type != 2) || headerWords != 9)
        return false;
    // The largest record (in 16-bit words) sizes the reader's buffer: it cannot exceed the file.
    if (std::uint64_t{le32(bytes.data() + at + 12)} * 2 > size)
        return false;
    at += kHeaderSize;
    while (at + 6 <= size) {
        const std::uint64_t length = std::uint64_t{le32(bytes.data() + at)} * 2;
        const std::uint16_t function = le16(bytes.data() + at + 4);
        if (length < 6 || length > size - at)
            return false;
        if (function == 0)
            return true;
        at += length;
    }
    return false;
}

QImage decodeEmf(QByteArrayView bytes, qint64 maxPixels) {
    if (!emfStructureValid(bytes))
        return {};
    std::vector<char> contents(bytes.begin(), bytes.end()); // the library takes a mutable buffer
    // An empty description whose offset is set would be read up to the first zero character,
    // wherever that lies: such a header is given no description at all.
    if (le32(contents.data() + 60) == 0)
        std::memset(contents.data() + 64, 0, 4);
    generatorOptions options{};
    options.nameSpace = const_cast<char*>("svg");
    options.emfplus = true;
    options.svgDelimiter = true;
    char* out = nullptr;
    std::size_t outLength = 0;
    const int ok = emf2svg(contents.data(), contents.size(), &out, &outLength, &options);
    const std::unique_ptr<char, MallocFree> svg(out);
    if (!ok || !svg)
        return {};
    return renderSvg(QByteArray(svg.get(), static_cast<qsizetype>(outLength)), maxPixels);
}

QImage decodeWmf(QByteArrayView bytes, qint64 maxPixels) {
    if (!wmfStructureValid(bytes))
        return {};
    wmfAPI_Options options{};
    options.function = wmf_svg_function;
    const unsigned long flags =
        WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_ERROR | WMF_OPT_NO_DEBUG;
    wmfAPI* created = nullptr;
    const wmf_error_t createError = wmf_api_create(&created, flags, &options);
    const std::unique_ptr<wmfAPI, WmfApiDestroy> api(created);
    if (createError != wmf_E_None || !api)
        return {};
    std::vector<unsigned char> contents(bytes.begin(), bytes.end());
    if (wmf_mem_open(api.get(), contents.data(), static_cast<long>(contents.size())) != wmf_E_None)
        return {};
    wmfD_Rect box{};
    if (wmf_scan(api.get(), 0, &box) != wmf_E_None)
        return {};
    // The scan gives the bounds of what is drawn, in points; a placeable metafile names its
    // own frame, which is the picture the user sees, so that frame is drawn instead.
    if (const auto frame = placeableFrame(bytes))
        box = *frame;
    unsigned int width = 0, height = 0;
    // Screen resolution, so that a placeable metafile of one inch comes out 96 pixels wide.
    if (wmf_display_size(api.get(), &width, &height, 96, 96) != wmf_E_None || width == 0 || height == 0)
        return {};
    if (qint64{width} * height > maxPixels)
        return {};
    wmf_svg_t* device = WMF_SVG_GetData(api.get());
    device->out = wmf_stream_create(api.get(), nullptr);
    device->bbox = box;
    device->width = width;
    device->height = height;
    device->flags |= WMF_SVG_INLINE_IMAGES;
    const wmf_error_t playError = wmf_play(api.get(), 0, &box);
    char* text = nullptr;
    unsigned long length = 0;
    wmf_stream_destroy(api.get(), device->out, &text, &length); // the text belongs to the API
    if (playError != wmf_E_None || !text)
        return {};
    return renderSvg(QByteArray(text, static_cast<qsizetype>(length)), maxPixels);
}

} // namespace vistello::media
