#pragma once
// Writes small TIFF files for the tests, in either byte order: directories of entries whose
// values are placed inline or after the header as TIFF lays them out, and strips of pixel
// bytes. Tests break the result on purpose by editing entries or bytes afterwards.

#include <QByteArray>

#include <cstdint>
#include <optional>
#include <vector>

namespace vistello::media::testing {

struct Tag {
    std::uint16_t tag;
    std::uint16_t type; // 3 SHORT, 4 LONG
    std::vector<std::uint32_t> values;
    // When set, the value field holds exactly this number and no values are written.
    std::optional<std::uint32_t> rawField{};
    std::optional<std::uint32_t> rawCount{};
};

struct Directory {
    std::vector<Tag> tags;          // the strip tags 273/279 are added from `strips`
    std::vector<QByteArray> strips; // pixel data, one blob per strip
    bool addStripTags = true;
    std::optional<std::uint32_t> nextOffset{}; // forced next-directory offset
};

class TiffBuilder {
  public:
    explicit TiffBuilder(bool littleEndian = true) : little_(littleEndian) {}

    QByteArray build(const std::vector<Directory>& directories) {
        QByteArray out(8, '\0');
        out[0] = out[1] = little_ ? 'I' : 'M';
        put16(out, 2, 42);
        std::vector<std::uint32_t> directoryOffsets;
        std::vector<std::vector<Tag>> finalTags;
        // Strips and out-of-line values first, directories after them.
        for (const auto& directory : directories) {
            std::vector<Tag> tags = directory.tags;
            if (directory.addStripTags) {
                Tag offsets{273, 4, {}}, counts{279, 4, {}};
                for (const auto& strip : directory.strips) {
                    offsets.values.push_back(static_cast<std::uint32_t>(out.size()));
                    counts.values.push_back(static_cast<std::uint32_t>(strip.size()));
                    out.append(strip);
                    align(out);
                }
                tags.push_back(offsets);
                tags.push_back(counts);
            }
            for (auto& tag : tags) {
                const std::size_t width = tag.type == 3 ? 2 : 4;
                if (tag.rawField || tag.values.size() * width <= 4)
                    continue;
                tag.rawField = static_cast<std::uint32_t>(out.size());
                for (auto value : tag.values)
                    width == 2 ? append16(out, value) : append32(out, value);
                align(out);
            }
            finalTags.push_back(tags);
        }
        for (std::size_t d = 0; d < directories.size(); ++d) {
            directoryOffsets.push_back(static_cast<std::uint32_t>(out.size()));
            auto& tags = finalTags[d];
            append16(out, static_cast<std::uint32_t>(tags.size()));
            for (const auto& tag : tags) {
                append16(out, tag.tag);
                append16(out, tag.type);
                append32(out, tag.rawCount.value_or(static_cast<std::uint32_t>(tag.values.size())));
                if (tag.rawField) {
                    append32(out, *tag.rawField);
                } else {
                    // Inline values, left-justified in the four bytes.
                    QByteArray field;
                    for (auto value : tag.values)
                        tag.type == 3 ? append16(field, value) : append32(field, value);
                    field.resize(4, '\0');
                    out.append(field);
                }
            }
            append32(out, 0); // patched below
        }
        put32(out, 4, directoryOffsets.empty() ? 0 : directoryOffsets[0]);
        for (std::size_t d = 0; d < directories.size(); ++d) {
            const std::uint32_t next =
                directories[d].nextOffset.value_or(d + 1 < directories.size() ? directoryOffsets[d + 1] : 0);
            const std::uint32_t at =
                directoryOffsets[d] + 2 + 12 * static_cast<std::uint32_t>(finalTags[d].size());
            put32(out, at, next);
        }
        return out;
    }

    void put16(QByteArray& out, std::uint32_t at, std::uint32_t v) const {
        out[at] = static_cast<char>(little_ ? v : v >> 8);
        out[at + 1] = static_cast<char>(little_ ? v >> 8 : v);
    }
    void put32(QByteArray& out, std::uint32_t at, std::uint32_t v) const {
        for (int i = 0; i < 4; ++i)
            out[at + i] = static_cast<char>(v >> (little_ ? 8 * i : 8 * (3 - i)));
    }

  private:
    void append16(QByteArray& out, std::uint32_t v) const {
        out.append(2, '\0');
        put16(out, static_cast<std::uint32_t>(out.size() - 2), v);
    }
    void append32(QByteArray& out, std::uint32_t v) const {
        out.append(4, '\0');
        put32(out, static_cast<std::uint32_t>(out.size() - 4), v);
    }
    static void align(QByteArray& out) {
        while (out.size() % 2)
            out.append('\0');
    }

    bool little_;
};

// A one-strip image with the usual tags: width, height, bits per sample, compression 1,
// photometric, rows per strip = height, and `extra` tags after them.
inline Directory simpleImage(std::uint32_t width, std::uint32_t height, std::vector<std::uint32_t> bits,
                             std::uint32_t photometric, const QByteArray& pixels,
                             std::vector<Tag> extra = {}) {
    Directory directory;
    directory.tags = {{256, 4, {width}}, {257, 4, {height}},      {258, 3, bits},
                      {259, 3, {1}},     {262, 3, {photometric}}, {278, 4, {height}}};
    for (auto& tag : extra)
        directory.tags.push_back(tag);
    directory.strips = {pixels};
    return directory;
}

} // namespace vistello::media::testing
