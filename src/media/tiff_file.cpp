#include "media/tiff_file.h"

#include <QFile>

#include <algorithm>
#include <set>

namespace vistello::media {

namespace {
constexpr std::uint16_t kTagStripOffsets = 273;
constexpr std::uint16_t kTagStripByteCounts = 279;
constexpr std::uint16_t kTypeShort = 3;
constexpr std::uint64_t kEntrySize = 12;
} // namespace

// ---- TGraphicTiff ----

bool TGraphicTiff::read(std::uint32_t offset) {
    entries_.clear();
    strips_.clear();
    stripTableUnreadable_ = false;
    nextOffset_ = 0;

    const auto count = owner_.read16(offset);
    if (!count)
        return false;
    const std::uint64_t first = std::uint64_t{offset} + 2;
    if (!owner_.at(first, kEntrySize * *count))
        return false;
    entries_.reserve(*count);
    for (std::uint64_t i = 0; i < *count; ++i) {
        const std::uint64_t at = first + i * kEntrySize;
        TiffEntry entry;
        entry.Tag = *owner_.read16(at);
        entry.Type = *owner_.read16(at + 2);
        entry.Count = *owner_.read32(at + 4);
        entry.Field = *owner_.read32(at + 8);
        entry.Value = entry.Type == kTypeShort ? *owner_.read16(at + 8) : entry.Field;
        entry.FieldPosition = static_cast<std::uint32_t>(at + 8);
        entries_.push_back(entry);
    }
    readStripTable();
    nextOffset_ = owner_.read32(first + kEntrySize * *count).value_or(0);
    return true;
}

const TiffEntry* TGraphicTiff::FindTag(std::uint16_t tag) const {
    const auto found = std::find_if(entries_.rbegin(), entries_.rend(),
                                    [tag](const TiffEntry& entry) { return entry.Tag == tag; });
    return found == entries_.rend() ? nullptr : &*found;
}

const TiffStrip* TGraphicTiff::Strip(int index) const {
    if (index < 0 || index >= StripCount())
        return nullptr;
    return &strips_[static_cast<std::size_t>(index)];
}

// Values of an array entry: SHORT arrays as 16-bit numbers, everything else as 32-bit;
// values that fit in the four bytes of the field lie there, otherwise at the field's offset.
std::optional<std::vector<std::uint32_t>> TGraphicTiff::readArray(const TiffEntry& entry,
                                                                  std::uint32_t count) const {
    const std::uint64_t width = entry.Type == kTypeShort ? 2 : 4;
    const std::uint64_t start = width * count <= 4 ? entry.FieldPosition : entry.Field;
    if (!owner_.at(start, width * count))
        return std::nullopt;
    std::vector<std::uint32_t> values(count);
    for (std::uint64_t i = 0; i < count; ++i)
        values[i] = width == 2 ? *owner_.read16(start + 2 * i) : *owner_.read32(start + 4 * i);
    return values;
}

void TGraphicTiff::readStripTable() {
    const TiffEntry* offsets = FindTag(kTagStripOffsets);
    const TiffEntry* counts = FindTag(kTagStripByteCounts);
    if (!offsets || !counts || offsets->Count != counts->Count || offsets->Count == 0)
        return;
    // The strip count is a 16-bit number; a larger table cannot be this reader's.
    if (offsets->Count > 0xFFFF) {
        stripTableUnreadable_ = true;
        return;
    }
    const std::uint32_t n = offsets->Count;
    const auto offsetValues = readArray(*offsets, n);
    const auto countValues = readArray(*counts, n);
    if (!offsetValues || !countValues) {
        stripTableUnreadable_ = true;
        return;
    }
    strips_.resize(n);
    for (std::uint32_t i = 0; i < n; ++i)
        strips_[i] = TiffStrip{(*offsetValues)[i], (*countValues)[i]};
}

// ---- TFileTiff ----

void TFileTiff::clear() {
    images_.clear();
    bytes_.clear();
    fileName_.clear();
    valid_ = false;
    littleEndian_ = true;
}

void TFileTiff::setFileName(const QString& fileName) {
    if (fileName.isEmpty()) {
        clear();
        return;
    }
    if (fileName == fileName_)
        return;
    QFile file(fileName);
    QByteArray bytes;
    if (file.open(QIODevice::ReadOnly))
        bytes = file.readAll();
    setData(bytes, fileName);
}

void TFileTiff::setData(const QByteArray& bytes, const QString& fileName) {
    clear();
    bytes_ = bytes;
    fileName_ = fileName;
    parse();
}

void TFileTiff::parse() {
    if (bytes_.size() < 8)
        return;
    if (bytes_.startsWith("II"))
        littleEndian_ = true;
    else if (bytes_.startsWith("MM"))
        littleEndian_ = false;
    else
        return;
    if (read16(2) != 42)
        return;
    valid_ = true;

    std::set<std::uint32_t> visited;
    std::uint32_t offset = *read32(4);
    while (offset >= 8 && ImageCount() < kMaxImages && visited.insert(offset).second) {
        auto image = std::make_unique<TGraphicTiff>(*this);
        if (!image->read(offset))
            break;
        offset = image->nextOffset();
        images_.push_back(std::move(image));
    }
}

const TGraphicTiff* TFileTiff::Image(int index) const {
    if (index < 0 || index >= ImageCount())
        return nullptr;
    return images_[static_cast<std::size_t>(index)].get();
}

const std::uint8_t* TFileTiff::at(std::uint64_t offset, std::uint64_t length) const {
    const std::uint64_t size = fileSize();
    if (offset > size || length > size - offset)
        return nullptr;
    return reinterpret_cast<const std::uint8_t*>(bytes_.constData()) + offset;
}

std::optional<std::uint16_t> TFileTiff::read16(std::uint64_t offset) const {
    const std::uint8_t* p = at(offset, 2);
    if (!p)
        return std::nullopt;
    return littleEndian_ ? static_cast<std::uint16_t>(p[0] | p[1] << 8)
                         : static_cast<std::uint16_t>(p[1] | p[0] << 8);
}

std::optional<std::uint32_t> TFileTiff::read32(std::uint64_t offset) const {
    const std::uint8_t* p = at(offset, 4);
    if (!p)
        return std::nullopt;
    const std::uint32_t b0 = p[0], b1 = p[1], b2 = p[2], b3 = p[3];
    return littleEndian_ ? (b0 | b1 << 8 | b2 << 16 | b3 << 24) : (b3 | b2 << 8 | b1 << 16 | b0 << 24);
}

} // namespace vistello::media
