#pragma once
// Bounds-checked reads of a TIFF-form EXIF block in its own byte order ("II" little-endian,
// "MM" big-endian), shared by the readers of the orientation and of the date taken.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>

namespace vistello::media {

struct ExifBytes {
    const std::uint8_t* data;
    std::size_t size;
    bool littleEndian;

    // The block's reader, or nullopt when it does not start with "II" or "MM".
    static std::optional<ExifBytes> of(const std::uint8_t* data, std::size_t size) {
        if (!data || size < 8)
            return std::nullopt;
        if (std::memcmp(data, "II", 2) == 0)
            return ExifBytes{data, size, true};
        if (std::memcmp(data, "MM", 2) == 0)
            return ExifBytes{data, size, false};
        return std::nullopt;
    }

    bool has(std::size_t offset, std::size_t length) const {
        return offset <= size && length <= size - offset;
    }
    unsigned read16(std::size_t at) const {
        return littleEndian ? data[at] | data[at + 1] << 8 : data[at + 1] | data[at] << 8;
    }
    std::uint32_t read32(std::size_t at) const {
        return littleEndian ? read16(at) | std::uint32_t(read16(at + 2)) << 16
                            : read16(at + 2) | std::uint32_t(read16(at)) << 16;
    }
    // The offset of the 12-byte entry of `tag` in the directory at `directory`, if any.
    std::optional<std::size_t> findEntry(std::size_t directory, unsigned tag) const {
        if (!has(directory, 2))
            return std::nullopt;
        const unsigned count = read16(directory);
        for (unsigned i = 0; i < count; ++i) {
            const std::size_t entry = directory + 2 + std::size_t{i} * 12;
            if (!has(entry, 12))
                return std::nullopt;
            if (read16(entry) == tag)
                return entry;
        }
        return std::nullopt;
    }
};

} // namespace vistello::media
