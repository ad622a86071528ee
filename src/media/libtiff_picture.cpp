#include "media/libtiff_picture.h"

#include "media/box_reducer.h"
#include "media/exif_orientation.h"
#include "media/picture_on_white.h"
#include "media/picture_scale.h"
#include "media/tiff_file.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include <tiffio.h>

namespace vistello::media {

namespace {

constexpr std::uint16_t kTagCompression = 259;
constexpr std::uint16_t kTagTileWidth = 322;
constexpr std::uint16_t kTagTileOffsets = 324;

// The largest single allocation libtiff may make for one file (a strip or tile buffer).
constexpr tmsize_t kLargestAllocation = tmsize_t{256} << 20;
// Rows of the full-size picture decoded at once (a band of at most this many bytes).
constexpr std::size_t kBandBytes = std::size_t{32} << 20;

// The bytes of the file seen as a read-only libtiff stream.
struct MemoryStream {
    QByteArrayView bytes;
    toff_t position = 0;

    static tmsize_t read(thandle_t handle, void* out, tmsize_t size) {
        auto* self = static_cast<MemoryStream*>(handle);
        const auto total = static_cast<toff_t>(self->bytes.size());
        if (size <= 0 || self->position >= total)
            return 0;
        const auto count =
            static_cast<tmsize_t>(std::min<toff_t>(static_cast<toff_t>(size), total - self->position));
        std::memcpy(out, self->bytes.data() + self->position, static_cast<std::size_t>(count));
        self->position += static_cast<toff_t>(count);
        return count;
    }
    static tmsize_t write(thandle_t, void*, tmsize_t) { return 0; }
    static toff_t seek(thandle_t handle, toff_t offset, int whence) {
        auto* self = static_cast<MemoryStream*>(handle);
        const auto total = static_cast<toff_t>(self->bytes.size());
        toff_t base = 0;
        if (whence == SEEK_CUR)
            base = self->position;
        else if (whence == SEEK_END)
            base = total;
        self->position = base + offset; // reading past the end reads nothing
        return self->position;
    }
    static int close(thandle_t) { return 0; }
    static toff_t size(thandle_t handle) {
        return static_cast<toff_t>(static_cast<MemoryStream*>(handle)->bytes.size());
    }
    static int map(thandle_t handle, void** base, toff_t* size) {
        auto* self = static_cast<MemoryStream*>(handle);
        *base = const_cast<char*>(self->bytes.data());
        *size = static_cast<toff_t>(self->bytes.size());
        return 1;
    }
    static void unmap(thandle_t, void*, toff_t) {}
};

// libtiff's errors and warnings are the file's faults, not the user's concern: they are not
// printed. An error (data cut short, say, which libtiff would fill with black) refuses the
// picture, and the program's own reader then says what it can of the file.
int countError(TIFF*, void* errors, const char*, const char*, va_list) {
    ++*static_cast<int*>(errors);
    return 1;
}
int ignoreWarning(TIFF*, void*, const char*, const char*, va_list) {
    return 1;
}

struct TiffClose {
    void operator()(TIFF* tiff) const { TIFFClose(tiff); }
};
struct OptionsFree {
    void operator()(TIFFOpenOptions* options) const { TIFFOpenOptionsFree(options); }
};

// TIFFRGBAImage with its End call bound to its lifetime.
struct RgbaImage {
    TIFFRGBAImage image{};
    bool begun = false;
    ~RgbaImage() {
        if (begun)
            TIFFRGBAImageEnd(&image);
    }
};

} // namespace

bool isCompressedOrTiledTiff(QByteArrayView bytes) {
    const QByteArray data = QByteArray::fromRawData(bytes.data(), bytes.size());
    TFileTiff file;
    file.setData(data, QString());
    if (!file.valid() || file.ImageCount() == 0)
        return false;
    const TGraphicTiff& first = *file.Image(0);
    const TiffEntry* compression = first.FindTag(kTagCompression);
    return (compression && compression->Value != 1) || first.FindTag(kTagTileWidth) ||
           first.FindTag(kTagTileOffsets);
}

QImage decodeTiffWithLibtiff(QByteArrayView bytes, qint64 maxPixels) {
    if (bytes.isEmpty())
        return {};
    const std::unique_ptr<TIFFOpenOptions, OptionsFree> options(TIFFOpenOptionsAlloc());
    if (!options)
        return {};
    TIFFOpenOptionsSetMaxSingleMemAlloc(options.get(), kLargestAllocation);
    int errors = 0;
    TIFFOpenOptionsSetErrorHandlerExtR(options.get(), countError, &errors);
    TIFFOpenOptionsSetWarningHandlerExtR(options.get(), ignoreWarning, nullptr);
    MemoryStream stream{bytes};
    // The bytes are offered as a mapped file: libtiff then reads strips and tiles in place
    // (checked against the size), and libtiff 4.5 reads uncompressed tiles only that way.
    const std::unique_ptr<TIFF, TiffClose> tiff(TIFFClientOpenExt(
        "picture", "r", &stream, MemoryStream::read, MemoryStream::write, MemoryStream::seek,
        MemoryStream::close, MemoryStream::size, MemoryStream::map, MemoryStream::unmap, options.get()));
    if (!tiff)
        return {};
    char problem[1024] = {};
    RgbaImage rgba;
    if (!TIFFRGBAImageOK(tiff.get(), problem) || !TIFFRGBAImageBegin(&rgba.image, tiff.get(), 1, problem))
        return {};
    rgba.begun = true;
    const std::uint32_t width = rgba.image.width, height = rgba.image.height;
    if (width == 0 || height == 0 || width > 0x7FFFFFFF / 4 || height > 0x7FFFFFFF)
        return {};
    const QSize kept = reducedSize(QSize(static_cast<int>(width), static_cast<int>(height)));
    if (qint64{kept.width()} * kept.height() > maxPixels)
        return {};
    // Rows in the order they are stored; the Orientation tag is applied afterwards, whole.
    const int orientation = rgba.image.orientation;
    rgba.image.req_orientation = rgba.image.orientation;

    QImage reduced(kept, QImage::Format_RGBA8888_Premultiplied);
    if (reduced.isNull())
        return {};
    reduced.fill(Qt::transparent);
    BoxReducer reducer(static_cast<int>(width), static_cast<int>(height), reduced);
    const auto bandRows =
        static_cast<std::uint32_t>(std::clamp<std::size_t>(kBandBytes / (std::size_t{width} * 4), 1, height));
    std::vector<std::uint32_t> band(std::size_t{width} * bandRows);
    for (std::uint32_t top = 0; top < height; top += bandRows) {
        const std::uint32_t rows = std::min(bandRows, height - top);
        rgba.image.row_offset = static_cast<int>(top);
        rgba.image.col_offset = 0;
        if (!TIFFRGBAImageGet(&rgba.image, band.data(), width, rows))
            return {};
        for (std::uint32_t y = 0; y < rows; ++y)
            reducer.addRow(reinterpret_cast<const std::uint8_t*>(band.data() + std::size_t{y} * width));
    }
    reducer.finish();
    if (errors > 0)
        return {};
    return applyExifOrientation(pictureOnWhite(reduced),
                                orientation >= 1 && orientation <= 8 ? orientation : 1);
}

} // namespace vistello::media
