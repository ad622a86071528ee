#include "media/exif_blocks.h"

#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include <libheif/heif.h>

namespace vistello::media {

namespace {

std::uint32_t bigEndian32(const std::uint8_t* p) {
    return std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 | std::uint32_t{p[2]} << 8 | p[3];
}
std::uint32_t littleEndian32(const std::uint8_t* p) {
    return std::uint32_t{p[3]} << 24 | std::uint32_t{p[2]} << 16 | std::uint32_t{p[1]} << 8 | p[0];
}

const std::uint8_t* bytesOf(QByteArrayView bytes) {
    return reinterpret_cast<const std::uint8_t*>(bytes.data());
}

// The block without JPEG's "Exif\0\0" start, which some writers keep in PNG and WebP too.
QByteArrayView withoutExifStart(QByteArrayView block) {
    return block.startsWith(QByteArrayView("Exif\0\0", 6)) ? block.sliced(6) : block;
}

} // namespace

QByteArrayView jpegExifBlock(QByteArrayView bytes) {
    // SOI, then segments of marker, big-endian length (counting itself) and payload, up to SOS.
    const std::uint8_t* data = bytesOf(bytes);
    const auto size = static_cast<std::size_t>(bytes.size());
    if (size < 4 || data[0] != 0xFF || data[1] != 0xD8)
        return {};
    std::size_t at = 2;
    while (size - at >= 4 && data[at] == 0xFF) {
        const std::uint8_t marker = data[at + 1];
        if (marker == 0xDA || marker == 0xD9)
            break;
        const std::size_t length = std::size_t{data[at + 2]} << 8 | data[at + 3];
        if (length < 2 || length > size - at - 2)
            break;
        const QByteArrayView payload =
            bytes.sliced(static_cast<qsizetype>(at + 4), static_cast<qsizetype>(length - 2));
        if (marker == 0xE1 && payload.startsWith(QByteArrayView("Exif\0\0", 6)))
            return payload.sliced(6);
        at += 2 + length;
    }
    return {};
}

QByteArrayView pngExifBlock(QByteArrayView bytes) {
    // Signature, then chunks of length (big-endian), type, data and CRC.
    static constexpr char kSignature[] = "\x89PNG\r\n\x1a\n";
    if (bytes.size() < 8 || std::memcmp(bytes.data(), kSignature, 8) != 0)
        return {};
    const std::uint8_t* data = bytesOf(bytes);
    const auto size = static_cast<std::size_t>(bytes.size());
    std::size_t at = 8;
    while (size - at >= 12) {
        const std::uint32_t length = bigEndian32(data + at);
        if (length > size - at - 12)
            return {};
        const std::uint8_t* type = data + at + 4;
        if (std::memcmp(type, "eXIf", 4) == 0)
            return withoutExifStart(bytes.sliced(static_cast<qsizetype>(at + 8), length));
        if (std::memcmp(type, "IEND", 4) == 0)
            return {};
        at += std::size_t{length} + 12;
    }
    return {};
}

QByteArrayView webpExifBlock(QByteArrayView bytes) {
    // "RIFF", size, "WEBP", then chunks of type, length (little-endian) and data padded to even.
    if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0 ||
        std::memcmp(bytes.data() + 8, "WEBP", 4) != 0)
        return {};
    const std::uint8_t* data = bytesOf(bytes);
    const auto size = static_cast<std::size_t>(bytes.size());
    std::size_t at = 12;
    // The padding byte of an odd chunk that ends the file would take `at` past `size`.
    while (at <= size && size - at >= 8) {
        const std::uint32_t length = littleEndian32(data + at + 4);
        if (length > size - at - 8)
            return {};
        if (std::memcmp(data + at, "EXIF", 4) == 0)
            return withoutExifStart(bytes.sliced(static_cast<qsizetype>(at + 8), length));
        at += 8 + std::size_t{length} + (length & 1);
    }
    return {};
}

QByteArray heifExifBlock(QByteArrayView bytes) {
    struct ContextFree {
        void operator()(heif_context* context) const { heif_context_free(context); }
    };
    struct HandleRelease {
        void operator()(heif_image_handle* handle) const { heif_image_handle_release(handle); }
    };
    if (bytes.isEmpty())
        return {};
    const std::unique_ptr<heif_context, ContextFree> context(heif_context_alloc());
    if (!context || heif_context_read_from_memory_without_copy(context.get(), bytes.data(),
                                                               static_cast<size_t>(bytes.size()), nullptr)
                            .code != heif_error_Ok)
        return {};
    heif_image_handle* rawHandle = nullptr;
    if (heif_context_get_primary_image_handle(context.get(), &rawHandle).code != heif_error_Ok)
        return {};
    const std::unique_ptr<heif_image_handle, HandleRelease> handle(rawHandle);
    heif_item_id id = 0;
    if (heif_image_handle_get_list_of_metadata_block_IDs(handle.get(), "Exif", &id, 1) != 1)
        return {};
    const size_t size = heif_image_handle_get_metadata_size(handle.get(), id);
    if (size < 4 || size > (size_t{64} << 20))
        return {};
    QByteArray item(static_cast<qsizetype>(size), Qt::Uninitialized);
    if (heif_image_handle_get_metadata(handle.get(), id, item.data()).code != heif_error_Ok)
        return {};
    // The item starts with the big-endian offset of the TIFF header after these four bytes.
    const std::uint32_t offset = bigEndian32(reinterpret_cast<const std::uint8_t*>(item.constData()));
    if (offset > size - 4)
        return {};
    return item.sliced(4 + static_cast<qsizetype>(offset));
}

QByteArray exifBlockOf(QByteArrayView bytes, const QString& suffix) {
    // Views into `bytes` (no copy of a large file), except HEIF's, which libheif copies out.
    auto view = [](QByteArrayView block) { return QByteArray::fromRawData(block.data(), block.size()); };
    if (suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg"))
        return view(jpegExifBlock(bytes));
    if (suffix == QLatin1String("png"))
        return view(pngExifBlock(bytes));
    if (suffix == QLatin1String("webp"))
        return view(webpExifBlock(bytes));
    if (suffix == QLatin1String("heic") || suffix == QLatin1String("heif") || suffix == QLatin1String("avif"))
        return heifExifBlock(bytes);
    if (suffix == QLatin1String("tif") || suffix == QLatin1String("tiff"))
        return view(bytes);
    return {};
}

} // namespace vistello::media
