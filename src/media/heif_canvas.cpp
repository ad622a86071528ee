#include "media/heif_canvas.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace vistello::media {

namespace {

// Big-endian reading inside one box's payload; any read past its end marks the reader bad
// and yields zero, so a parse checks `ok` once at the end instead of at every field.
class BoxReader {
  public:
    BoxReader(QByteArrayView bytes, qsizetype begin, qsizetype end) : bytes_(bytes), at_(begin), end_(end) {}

    std::uint64_t read(int size) {
        if (size < 0 || size > 8 || end_ - at_ < size) {
            ok_ = false;
            at_ = end_;
            return 0;
        }
        std::uint64_t value = 0;
        for (int i = 0; i < size; ++i)
            value = (value << 8) | static_cast<std::uint8_t>(bytes_[at_ + i]);
        at_ += size;
        return value;
    }
    void skip(qsizetype size) {
        if (size < 0 || end_ - at_ < size) {
            ok_ = false;
            at_ = end_;
        } else {
            at_ += size;
        }
    }
    qsizetype at() const { return at_; }
    bool ok() const { return ok_; }

  private:
    QByteArrayView bytes_;
    qsizetype at_;
    qsizetype end_;
    bool ok_ = true;
};

struct Box {
    std::uint32_t type = 0;
    qsizetype begin = 0;   // the box's first byte (its size field)
    qsizetype payload = 0; // its first byte after the header
    qsizetype end = 0;     // one past its last byte
};

constexpr std::uint32_t fourcc(const char (&name)[5]) {
    return (std::uint32_t{static_cast<std::uint8_t>(name[0])} << 24) |
           (std::uint32_t{static_cast<std::uint8_t>(name[1])} << 16) |
           (std::uint32_t{static_cast<std::uint8_t>(name[2])} << 8) | static_cast<std::uint8_t>(name[3]);
}

// The child boxes between `begin` and `end`, in order; stops at the first malformed header.
template <typename Visit> void forEachBox(QByteArrayView bytes, qsizetype begin, qsizetype end, Visit visit) {
    qsizetype at = begin;
    while (end - at >= 8) {
        BoxReader header(bytes, at, end);
        std::uint64_t size = header.read(4);
        const auto type = static_cast<std::uint32_t>(header.read(4));
        if (size == 1)
            size = header.read(8);
        else if (size == 0)
            size = static_cast<std::uint64_t>(end - at);
        if (!header.ok() || size < static_cast<std::uint64_t>(header.at() - at) ||
            size > static_cast<std::uint64_t>(end - at))
            return;
        const Box box{type, at, header.at(), at + static_cast<qsizetype>(size)};
        if (!visit(box))
            return;
        at = box.end;
    }
}

struct Extent {
    std::uint64_t offset = 0;
    std::uint64_t length = 0;
};

struct PrimaryItem {
    std::uint32_t id = 0;
    std::uint32_t type = 0;
    int constructionMethod = -1;
    Extent first; // the first extent of its data, base offset included
    Box idat;
};

void readPitm(QByteArrayView bytes, const Box& box, PrimaryItem& item) {
    BoxReader r(bytes, box.payload, box.end);
    const auto version = r.read(1);
    r.skip(3);
    const auto id = static_cast<std::uint32_t>(r.read(version == 0 ? 2 : 4));
    if (r.ok())
        item.id = id;
}

void readIinf(QByteArrayView bytes, const Box& box, PrimaryItem& item) {
    BoxReader r(bytes, box.payload, box.end);
    const auto version = r.read(1);
    r.skip(3);
    r.read(version == 0 ? 2 : 4);
    if (!r.ok())
        return;
    forEachBox(bytes, r.at(), box.end, [&](const Box& infe) {
        if (infe.type != fourcc("infe"))
            return true;
        BoxReader e(bytes, infe.payload, infe.end);
        const auto infeVersion = e.read(1);
        e.skip(3);
        if (infeVersion < 2)
            return true;
        const auto id = static_cast<std::uint32_t>(e.read(infeVersion == 2 ? 2 : 4));
        e.skip(2); // protection index
        const auto type = static_cast<std::uint32_t>(e.read(4));
        if (e.ok() && id == item.id)
            item.type = type;
        return true;
    });
}

void readIloc(QByteArrayView bytes, const Box& box, PrimaryItem& item) {
    BoxReader r(bytes, box.payload, box.end);
    const auto version = r.read(1);
    r.skip(3);
    const auto sizes = r.read(2);
    const int offsetSize = static_cast<int>(sizes >> 12), lengthSize = static_cast<int>((sizes >> 8) & 15),
              baseSize = static_cast<int>((sizes >> 4) & 15),
              indexSize = version == 1 || version == 2 ? static_cast<int>(sizes & 15) : 0;
    const auto count = r.read(version < 2 ? 2 : 4);
    for (std::uint64_t i = 0; i < count && r.ok(); ++i) {
        const auto id = static_cast<std::uint32_t>(r.read(version < 2 ? 2 : 4));
        const int method = version == 1 || version == 2 ? static_cast<int>(r.read(2) & 15) : 0;
        r.read(2); // data reference index
        const auto base = r.read(baseSize);
        const auto extents = r.read(2);
        for (std::uint64_t x = 0; x < extents && r.ok(); ++x) {
            r.read(indexSize);
            const auto offset = r.read(offsetSize);
            const auto length = r.read(lengthSize);
            if (x == 0 && id == item.id && item.constructionMethod < 0 && r.ok()) {
                item.constructionMethod = method;
                item.first = {base + offset, length};
            }
        }
    }
}

// The primary item as the file's boxes describe it; its id is 0 when they do not name one.
PrimaryItem primaryItemOf(QByteArrayView file) {
    PrimaryItem item;
    Box meta;
    forEachBox(file, 0, file.size(), [&](const Box& box) {
        if (box.type != fourcc("meta"))
            return true;
        meta = box;
        return false;
    });
    if (meta.type == 0 || meta.end - meta.payload < 4)
        return item;
    // Children of meta in any order: pitm first, as iinf and iloc are read for its item.
    const qsizetype children = meta.payload + 4; // past meta's version and flags
    forEachBox(file, children, meta.end, [&](const Box& box) {
        if (box.type == fourcc("pitm"))
            readPitm(file, box, item);
        if (box.type == fourcc("idat"))
            item.idat = box;
        return true;
    });
    if (item.id == 0)
        return item;
    forEachBox(file, children, meta.end, [&](const Box& box) {
        if (box.type == fourcc("iinf"))
            readIinf(file, box, item);
        if (box.type == fourcc("iloc"))
            readIloc(file, box, item);
        return true;
    });
    return item;
}

} // namespace

bool heifPrimaryIsDerivedCopy(QByteArrayView file) {
    return primaryItemOf(file).type == fourcc("iden");
}

std::optional<QSize> heifComposedCanvas(QByteArrayView file) {
    const PrimaryItem item = primaryItemOf(file);
    if (item.id == 0)
        return std::nullopt;
    const bool grid = item.type == fourcc("grid"), overlay = item.type == fourcc("iovl");
    if (!grid && !overlay)
        return std::nullopt;

    // Where the item data starts: in the file (method 0) or in idat (method 1). libheif
    // bounds a read from idat by the whole box's size, header included, so that is the
    // bound here too: the bytes it reads are the bytes read here.
    qsizetype begin = 0, end = 0;
    if (item.constructionMethod == 0) {
        const auto fileSize = static_cast<std::uint64_t>(file.size());
        if (item.first.offset > fileSize)
            return std::nullopt;
        begin = static_cast<qsizetype>(item.first.offset);
        // A length of zero reaches to the end of the file.
        const std::uint64_t length = item.first.length == 0
                                         ? fileSize - item.first.offset
                                         : std::min(item.first.length, fileSize - item.first.offset);
        end = begin + static_cast<qsizetype>(length);
    } else if (item.constructionMethod == 1 && item.idat.type != 0) {
        const auto boxSize = static_cast<std::uint64_t>(item.idat.end - item.idat.begin);
        if (item.first.offset > boxSize || item.first.length > boxSize - item.first.offset)
            return std::nullopt;
        begin = item.idat.payload + static_cast<qsizetype>(item.first.offset);
        end = std::min(begin + static_cast<qsizetype>(item.first.length), file.size());
    } else {
        return std::nullopt;
    }

    BoxReader r(file, begin, end);
    r.skip(1); // version
    const bool wide = (r.read(1) & 1) != 0;
    if (grid)
        r.skip(2); // rows - 1, columns - 1
    else
        r.skip(8); // the fill colour, four 16-bit values
    const auto width = r.read(wide ? 4 : 2);
    const auto height = r.read(wide ? 4 : 2);
    if (!r.ok() || width > std::numeric_limits<int>::max() || height > std::numeric_limits<int>::max())
        return std::nullopt;
    return QSize(static_cast<int>(width), static_cast<int>(height));
}

} // namespace vistello::media
