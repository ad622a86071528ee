#include "media/metafile.h"

#include "media/emf_player.h"
#include "media/wmf_player.h"

#include <cstdint>
#include <cstring>

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

// The size of the fixed fields of each record kind the player reads; 8 for the others.
std::uint32_t emfFixedSize(std::uint32_t type) {
    switch (type) {
    case 2:
    case 3:
    case 4:
    case 5:
    case 6:
    case 85:
    case 86:
    case 87:
    case 88:
    case 89:
        return 28;
    case 7:
    case 8:
    case 90:
    case 91:
        return 32;
    case 9:
    case 10:
    case 11:
    case 12:
    case 27:
    case 54:
        return 16;
    case 17:
    case 18:
    case 19:
    case 21:
    case 22:
    case 24:
    case 25:
    case 34:
    case 37:
    case 40:
    case 57:
    case 67:
        return 12;
    case 29:
    case 30:
    case 31:
    case 32:
    case 39:
    case 42:
    case 43:
    case 62:
    case 63:
    case 64:
        return 24;
    case 35:
        return 32;
    case 38:
        return 28;
    case 36:
        return 36;
    case 44:
    case 93:
    case 94:
        return 32;
    case 45:
    case 46:
    case 47:
        return 40;
    case 75:
        return 16;
    case 76:
        return 100;
    case 77:
        return 108;
    case 81:
        return 80;
    case 82:
        return 104;
    case 83:
    case 84:
        return 76;
    case 95:
        return 52;
    default:
        return 8;
    }
}

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
    // The pixel-format fields follow the base header only when the description does not
    // begin there: older writers put the description right after the base header.
    const bool hasFormat = headerSize >= 100 && (descriptionLength == 0 || descriptionAt >= 100);
    if (hasFormat) {
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
        // A record the player reads must hold its fixed fields.
        if (length < emfFixedSize(type))
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
    return metafile::playEmf(bytes, maxPixels);
}

QImage decodeWmf(QByteArrayView bytes, qint64 maxPixels) {
    if (!wmfStructureValid(bytes))
        return {};
    return metafile::playWmf(bytes, maxPixels);
}

} // namespace vistello::media
