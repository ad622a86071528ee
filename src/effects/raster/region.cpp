#include "effects/raster/region.h"

#include <algorithm>
#include <cassert>
#include <climits>
#include <utility>

namespace vistello::effects {

namespace {

// Edges of one band's spans, [left0, right0, left1, right1, ...].
struct SpanList {
    const int* edges = nullptr;
    int count = 0;
};

bool keeps(RegionOp op, bool inA, bool inB) {
    switch (op) {
    case RegionOp::Union:
        return inA || inB;
    case RegionOp::Intersect:
        return inA && inB;
    case RegionOp::Xor:
        return inA != inB;
    }
    return false;
}

// Appends the edges of a op b to out: one walk over both sorted edge lists, emitting an edge
// wherever the combined inside/outside state changes.
void combineSpans(SpanList a, SpanList b, RegionOp op, std::vector<int>& out) {
    int i = 0;
    int j = 0;
    bool inA = false;
    bool inB = false;
    bool inside = false;
    while (i < a.count || j < b.count) {
        const int x = std::min(i < a.count ? a.edges[i] : INT_MAX, j < b.count ? b.edges[j] : INT_MAX);
        if (i < a.count && a.edges[i] == x) {
            inA = !inA;
            ++i;
        }
        if (j < b.count && b.edges[j] == x) {
            inB = !inB;
            ++j;
        }
        const bool now = keeps(op, inA, inB);
        if (now != inside) {
            out.push_back(x);
            inside = now;
        }
    }
}

} // namespace

// Closes a band whose edges were appended to xs from index start: drops it when empty, merges it
// into the band above when that one touches it and holds the same spans.
void Region::finishBand(std::vector<Band>& bands, std::vector<int>& xs, int start, int top, int bottom) {
    const int end = static_cast<int>(xs.size());
    if (end == start || bottom <= top) {
        xs.resize(static_cast<std::size_t>(start));
        return;
    }
    if (!bands.empty()) {
        Band& last = bands.back();
        if (last.bottom == top && last.end - last.first == end - start &&
            std::equal(xs.begin() + last.first, xs.begin() + last.end, xs.begin() + start)) {
            last.bottom = bottom;
            xs.resize(static_cast<std::size_t>(start));
            return;
        }
    }
    bands.push_back({top, bottom, start, end});
}

void Region::sweep(std::span<const Band> a, const int* aXs, std::span<const Band> b, const int* bXs,
                   RegionOp op, std::vector<Band>& outBands, std::vector<int>& outXs) {
    std::size_t ia = 0;
    std::size_t ib = 0;
    int y = std::min(a.empty() ? INT_MAX : a[0].top, b.empty() ? INT_MAX : b[0].top);
    while (ia < a.size() || ib < b.size()) {
        const bool aActive = ia < a.size() && a[ia].top <= y;
        const bool bActive = ib < b.size() && b[ib].top <= y;
        int next = INT_MAX;
        if (ia < a.size())
            next = std::min(next, aActive ? a[ia].bottom : a[ia].top);
        if (ib < b.size())
            next = std::min(next, bActive ? b[ib].bottom : b[ib].top);
        if (aActive || bActive) {
            SpanList spansA;
            SpanList spansB;
            if (aActive)
                spansA = {aXs + a[ia].first, a[ia].end - a[ia].first};
            if (bActive)
                spansB = {bXs + b[ib].first, b[ib].end - b[ib].first};
            const int start = static_cast<int>(outXs.size());
            combineSpans(spansA, spansB, op, outXs);
            finishBand(outBands, outXs, start, y, next);
        }
        y = next;
        if (ia < a.size() && a[ia].bottom <= y)
            ++ia;
        if (ib < b.size() && b[ib].bottom <= y)
            ++ib;
    }
}

Region::Region(const Rect& rect) {
    setRect(rect);
}

Region Region::rectangle(int left, int top, int right, int bottom) {
    return Region(Rect{left, top, right, bottom});
}

void Region::setRect(const Rect& rect) {
    clear();
    Rect r = rect;
    if (r.left > r.right)
        std::swap(r.left, r.right);
    if (r.top > r.bottom)
        std::swap(r.top, r.bottom);
    if (r.isEmpty())
        return;
    xs_.push_back(r.left);
    xs_.push_back(r.right);
    bands_.push_back({r.top, r.bottom, 0, 2});
}

void Region::clear() {
    bands_.clear();
    xs_.clear();
}

void Region::offset(int dx, int dy) {
    for (Band& band : bands_) {
        band.top += dy;
        band.bottom += dy;
    }
    for (int& x : xs_)
        x += dx;
}

void Region::combineWith(std::span<const Band> other, const int* otherXs, RegionOp op) {
    if (other.empty()) {
        if (op == RegionOp::Intersect)
            clear();
        return;
    }
    const int otherTop = other.front().top;
    const int otherBottom = other.back().bottom;
    // Bands wholly above or below the operand are unchanged by union and exclusive-or and vanish
    // under intersection; only the bands it overlaps go through the sweep.
    const auto firstOverlap = std::partition_point(bands_.begin(), bands_.end(),
                                                   [&](const Band& band) { return band.bottom <= otherTop; });
    const auto pastOverlap = std::partition_point(firstOverlap, bands_.end(),
                                                  [&](const Band& band) { return band.top < otherBottom; });
    const std::size_t i0 = static_cast<std::size_t>(firstOverlap - bands_.begin());
    const std::size_t i1 = static_cast<std::size_t>(pastOverlap - bands_.begin());

    scratchBands_.clear();
    scratchXs_.clear();
    sweep(std::span<const Band>(bands_).subspan(i0, i1 - i0), xs_.data(), other, otherXs, op, scratchBands_,
          scratchXs_);
    const bool keepOutside = op != RegionOp::Intersect;

    std::size_t keptBands = keepOutside ? i0 : 0;
    std::size_t keptXs =
        keptBands < bands_.size() ? static_cast<std::size_t>(bands_[keptBands].first) : xs_.size();
    if (keepOutside) {
        // Move the unchanged tail behind the sweep's result in the scratch storage.
        for (std::size_t k = i1; k < bands_.size(); ++k) {
            const Band& band = bands_[k];
            const int start = static_cast<int>(scratchXs_.size());
            scratchXs_.insert(scratchXs_.end(), xs_.begin() + band.first, xs_.begin() + band.end);
            finishBand(scratchBands_, scratchXs_, start, band.top, band.bottom);
        }
    }
    bands_.resize(keptBands);
    xs_.resize(keptXs);
    for (const Band& band : scratchBands_) {
        const int start = static_cast<int>(xs_.size());
        xs_.insert(xs_.end(), scratchXs_.begin() + band.first, scratchXs_.begin() + band.end);
        finishBand(bands_, xs_, start, band.top, band.bottom);
    }
    // Only the bands from the first changed one on need checking, so the check costs no more
    // than the combination did.
    assert(bandsValidFrom(keptBands));
}

void Region::combine(const Region& other, RegionOp op) {
    if (&other == this) {
        if (op == RegionOp::Xor)
            clear();
        return;
    }
    combineWith(other.bands_, other.xs_.data(), op);
}

void Region::unite(const Rect& rect) {
    Rect r = rect;
    if (r.left > r.right)
        std::swap(r.left, r.right);
    if (r.top > r.bottom)
        std::swap(r.top, r.bottom);
    if (r.isEmpty())
        return;
    const int edges[2] = {r.left, r.right};
    const Band band{r.top, r.bottom, 0, 2};
    combineWith(std::span<const Band>(&band, 1), edges, RegionOp::Union);
}

bool Region::appendBand(int top, int bottom, std::span<const int> edges) {
    if (edges.size() % 2 != 0 || (!bands_.empty() && top < bands_.back().bottom))
        return false;
    for (std::size_t i = 1; i < edges.size(); ++i)
        if (edges[i - 1] >= edges[i])
            return false;
    if (edges.empty() || bottom <= top)
        return true;
    const int start = static_cast<int>(xs_.size());
    xs_.insert(xs_.end(), edges.begin(), edges.end());
    finishBand(bands_, xs_, start, top, bottom);
    assert(bandsValidFrom(bands_.size() - 1));
    return true;
}

Rect Region::bounds() const {
    if (bands_.empty())
        return {};
    Rect result{INT_MAX, bands_.front().top, INT_MIN, bands_.back().bottom};
    for (const Band& band : bands_) {
        result.left = std::min(result.left, xs_[static_cast<std::size_t>(band.first)]);
        result.right = std::max(result.right, xs_[static_cast<std::size_t>(band.end - 1)]);
    }
    return result;
}

bool Region::contains(int x, int y) const {
    const auto band =
        std::partition_point(bands_.begin(), bands_.end(), [&](const Band& b) { return b.bottom <= y; });
    if (band == bands_.end() || band->top > y)
        return false;
    for (int i = band->first; i < band->end; i += 2)
        if (x >= xs_[static_cast<std::size_t>(i)] && x < xs_[static_cast<std::size_t>(i + 1)])
            return true;
    return false;
}

std::vector<Rect> Region::rectangles() const {
    std::vector<Rect> result;
    forEachSpan([&](int top, int bottom, int left, int right) {
        result.push_back({left, top, right, bottom});
    });
    return result;
}

bool Region::isValid() const {
    return bandsValidFrom(0);
}

bool Region::bandsValidFrom(std::size_t firstBand) const {
    std::size_t k = firstBand > 0 ? firstBand - 1 : 0; // the band above takes part in the merge rule
    int expectedFirst = k < bands_.size() ? bands_[k].first : static_cast<int>(xs_.size());
    if (k == 0 && expectedFirst != 0 && !bands_.empty())
        return false;
    for (; k < bands_.size(); ++k) {
        const Band& band = bands_[k];
        if (band.top >= band.bottom || band.first != expectedFirst || band.end <= band.first ||
            (band.end - band.first) % 2 != 0)
            return false;
        expectedFirst = band.end;
        for (int i = band.first + 1; i < band.end; ++i)
            if (xs_[static_cast<std::size_t>(i - 1)] >= xs_[static_cast<std::size_t>(i)])
                return false;
        if (k > 0) {
            const Band& above = bands_[k - 1];
            if (above.bottom > band.top)
                return false;
            if (above.bottom == band.top && above.end - above.first == band.end - band.first &&
                std::equal(xs_.begin() + above.first, xs_.begin() + above.end, xs_.begin() + band.first))
                return false;
        }
    }
    return expectedFirst == static_cast<int>(xs_.size());
}

} // namespace vistello::effects
