#include "effects/raster/drawing.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

namespace vistello::effects {

namespace {

// One axis of a stretch copy: destination pixels [first, first + count) take source pixels
// chosen by nearest-centre mapping, mirrored when `mirrored`.
struct AxisMap {
    int destFirst = 0; // first destination pixel written
    int destEnd = 0;   // one past the last
    int destOrigin = 0;
    int destCount = 0;
    int sourceOrigin = 0;
    int sourceCount = 0;
    bool mirrored = false;

    // The source pixel for destination pixel d.
    int sourceAt(int d) const {
        const std::int64_t i = d - destOrigin;
        const std::int64_t k = mirrored ? destCount - 1 - i : i;
        return sourceOrigin +
               static_cast<int>(((2 * k + 1) * sourceCount) / (2 * static_cast<std::int64_t>(destCount)));
    }
};

// The source columns of consecutive destination pixels, stepped without a division per pixel
// (and without a heap table, so a copy allocates nothing).
class ColumnWalk {
  public:
    ColumnWalk(const AxisMap& map, int d)
        : origin_(map.sourceOrigin), denominator_(2 * static_cast<std::int64_t>(map.destCount)),
          stepQuotient_((2 * static_cast<std::int64_t>(map.sourceCount)) / denominator_),
          stepRemainder_((2 * static_cast<std::int64_t>(map.sourceCount)) % denominator_),
          backward_(map.mirrored) {
        const std::int64_t i = d - map.destOrigin;
        const std::int64_t k = backward_ ? map.destCount - 1 - i : i;
        const std::int64_t numerator = (2 * k + 1) * map.sourceCount;
        quotient_ = numerator / denominator_;
        remainder_ = numerator % denominator_;
    }
    int column() const { return origin_ + static_cast<int>(quotient_); }
    void next() {
        if (backward_) {
            quotient_ -= stepQuotient_;
            remainder_ -= stepRemainder_;
            if (remainder_ < 0) {
                --quotient_;
                remainder_ += denominator_;
            }
        } else {
            quotient_ += stepQuotient_;
            remainder_ += stepRemainder_;
            if (remainder_ >= denominator_) {
                ++quotient_;
                remainder_ -= denominator_;
            }
        }
    }

  private:
    int origin_;
    std::int64_t denominator_;
    std::int64_t stepQuotient_;
    std::int64_t stepRemainder_;
    bool backward_;
    std::int64_t quotient_ = 0;
    std::int64_t remainder_ = 0;
};

// Moves count pixels from in + offsets[i] to consecutive pixels at out. Four-byte moves, each
// overwriting the stray fourth byte of the one before; the last pixel moves by three bytes. A
// four-byte read stays inside the pixel data unless it starts at the bitmap's very last pixel,
// which is why the caller says whether wide reads are safe on this row.
void copyRowPixels(std::uint8_t* out, const std::uint8_t* in, const int* offsets, int count, bool wideReads) {
    int i = 0;
    if (wideReads) {
        for (; i + 1 < count; ++i) {
            std::uint32_t pixel;
            std::memcpy(&pixel, in + offsets[i], 4);
            std::memcpy(out, &pixel, 4);
            out += 3;
        }
    }
    for (; i < count; ++i) {
        const std::uint8_t* p = in + offsets[i];
        out[0] = p[0];
        out[1] = p[1];
        out[2] = p[2];
        out += 3;
    }
}

// Normalises signed extents to a left-to-right mapping and clips it to both bitmaps' extents.
// Returns false when nothing would be drawn.
bool mapAxis(int destPos, int destExtent, int sourcePos, int sourceExtent, int destLimit, int sourceLimit,
             AxisMap& map) {
    if (destExtent == 0 || sourceExtent == 0)
        return false;
    map.mirrored = false;
    if (sourceExtent < 0) {
        sourcePos += sourceExtent;
        sourceExtent = -sourceExtent;
        map.mirrored = !map.mirrored;
    }
    if (destExtent < 0) {
        destPos += destExtent;
        destExtent = -destExtent;
        map.mirrored = !map.mirrored;
    }
    map.destOrigin = destPos;
    map.destCount = destExtent;
    map.sourceOrigin = sourcePos;
    map.sourceCount = sourceExtent;
    // The source index is monotonic in d, so the pixels whose source lies inside the source
    // bitmap form one run; find it by narrowing from both ends.
    int first = std::max(destPos, 0);
    int end = std::min(destPos + destExtent, destLimit);
    auto inside = [&](int d) {
        const int s = map.sourceAt(d);
        return s >= 0 && s < sourceLimit;
    };
    while (first < end && !inside(first))
        ++first;
    while (end > first && !inside(end - 1))
        --end;
    map.destFirst = first;
    map.destEnd = end;
    return first < end;
}

} // namespace

void StretchCopy(Bitmap& dest, int destX, int destY, int destWidth, int destHeight, const Bitmap& source,
                 int sourceX, int sourceY, int sourceWidth, int sourceHeight) {
    AxisMap columns;
    AxisMap rows;
    if (!mapAxis(destX, destWidth, sourceX, sourceWidth, dest.width(), source.width(), columns) ||
        !mapAxis(destY, destHeight, sourceY, sourceHeight, dest.height(), source.height(), rows))
        return;
    const bool plain = !columns.mirrored && columns.destCount == columns.sourceCount && !rows.mirrored &&
                       rows.destCount == rows.sourceCount;
    if (plain) {
        // Same size: one block move per row; rows run against the shift so that a copy within
        // one bitmap reads every source row before it is overwritten.
        const int x0 = columns.destFirst;
        const std::size_t bytes = static_cast<std::size_t>(columns.destEnd - x0) * 3;
        const int sx0 = columns.sourceAt(x0);
        const bool upward = &dest == &source && rows.sourceAt(rows.destFirst) < rows.destFirst;
        for (int n = 0; n < rows.destEnd - rows.destFirst; ++n) {
            const int y = upward ? rows.destEnd - 1 - n : rows.destFirst + n;
            std::memmove(dest.row(y) + x0 * 3, source.row(rows.sourceAt(y)) + sx0 * 3, bytes);
        }
        return;
    }
    if (&dest == &source) {
        // A stretched or mirrored copy within one bitmap reads the source as a whole first.
        const Bitmap copy = source;
        StretchCopy(dest, destX, destY, destWidth, destHeight, copy, sourceX, sourceY, sourceWidth,
                    sourceHeight);
        return;
    }
    // Every row uses the same column mapping: it is worked out once per chunk of columns into
    // a table on the stack (no allocation), then applied to all rows of the chunk.
    constexpr int kChunk = 1024;
    std::array<int, kChunk> offsets;
    ColumnWalk walk(columns, columns.destFirst);
    for (int chunkFirst = columns.destFirst; chunkFirst < columns.destEnd; chunkFirst += kChunk) {
        const int count = std::min(kChunk, columns.destEnd - chunkFirst);
        for (int i = 0; i < count; ++i, walk.next())
            offsets[static_cast<std::size_t>(i)] = walk.column() * 3;
        const std::size_t chunkBytes = static_cast<std::size_t>(count) * 3;
        int previousSourceRow = -1;
        int previousY = -1;
        for (int y = rows.destFirst; y < rows.destEnd; ++y) {
            const int sy = rows.sourceAt(y);
            std::uint8_t* out = dest.row(y) + chunkFirst * 3;
            if (sy == previousSourceRow) {
                // Magnified rows repeat the row just drawn.
                std::memcpy(out, dest.row(previousY) + chunkFirst * 3, chunkBytes);
            } else {
                copyRowPixels(out, source.row(sy), offsets.data(), count,
                              sy + 1 < source.height() || source.stride() > source.width() * 3);
            }
            previousSourceRow = sy;
            previousY = y;
        }
    }
}

void CopyRect(Bitmap& dest, const Rect& destRect, const Bitmap& source, const Rect& sourceRect) {
    StretchCopy(dest, destRect.left, destRect.top, destRect.width(), destRect.height(), source,
                sourceRect.left, sourceRect.top, sourceRect.width(), sourceRect.height());
}

void DrawMirrored(Bitmap& target, const Rect& destRect, const Bitmap& source, const Rect& sourceRect,
                  bool mirrorHorizontally, bool mirrorVertically) {
    const Rect cut = sourceRect.intersected(source.bounds());
    Rect d = destRect;
    if (mirrorHorizontally)
        d = {destRect.right + 1, d.top, destRect.left - 1, d.bottom};
    if (mirrorVertically)
        d = {d.left, destRect.bottom + 1, d.right, destRect.top - 1};
    StretchCopy(target, d.left, d.top, d.right - d.left, d.bottom - d.top, source, cut.left, cut.top,
                cut.width(), cut.height());
}

void ClipDraw(Bitmap& dest, const Bitmap& newPicture, const Region& region) {
    const int width = std::min(dest.width(), newPicture.width());
    const int height = std::min(dest.height(), newPicture.height());
    region.forEachSpan([&](int top, int bottom, int left, int right) {
        const int x0 = std::max(left, 0);
        const int x1 = std::min(right, width);
        if (x0 >= x1)
            return;
        const std::size_t bytes = static_cast<std::size_t>(x1 - x0) * 3;
        for (int y = std::max(top, 0); y < std::min(bottom, height); ++y)
            std::memcpy(dest.row(y) + x0 * 3, newPicture.row(y) + x0 * 3, bytes);
    });
}

void BlendBitmaps(Bitmap& dest, const Bitmap& newPicture, int progress) {
    const unsigned p = static_cast<unsigned>(std::clamp(progress, 0, 100));
    const unsigned keep = 100 - p;
    const int width = std::min(dest.width(), newPicture.width());
    const int height = std::min(dest.height(), newPicture.height());
    const std::size_t bytes = static_cast<std::size_t>(std::max(width, 0)) * 3;
    for (int y = 0; y < height; ++y) {
        std::uint8_t* d = dest.row(y);
        const std::uint8_t* n = newPicture.row(y);
        for (std::size_t i = 0; i < bytes; ++i)
            d[i] = static_cast<std::uint8_t>((keep * d[i] + p * n[i]) / 100);
    }
}

} // namespace vistello::effects
