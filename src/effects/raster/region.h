#pragma once
// The clipping region of the transitions: a set of pixels built from rectangles, rounded
// rectangles, ellipses and winding-rule polygons and combined by union, intersection and
// exclusive-or.
//
// A region is stored as y-x bands: each band is a run of rows [top, bottom) that share the same
// sorted, disjoint spans [left, right). Bands are sorted, do not overlap, and two touching bands
// never hold equal spans (they are merged). Combining sweeps both band lists once; an operand
// that lies at or below the end of this region (the common case when effects build their region
// from top to bottom) only touches the last bands, and the storage of a region is reused by
// later operations, so thousands of small rectangles per step stay cheap. Coordinates may lie
// anywhere; drawing through a region simply skips what falls outside the bitmap.

#include "effects/raster/bitmap.h"

#include <span>
#include <vector>

namespace vistello::effects {

enum class RegionOp { Union, Intersect, Xor };

class Region {
  public:
    Region() = default; // empty
    // Copies take the pixels, not the scratch storage.
    Region(const Region& other) : bands_(other.bands_), xs_(other.xs_) {}
    Region& operator=(const Region& other) {
        bands_ = other.bands_;
        xs_ = other.xs_;
        return *this;
    }
    Region(Region&&) noexcept = default;
    Region& operator=(Region&&) noexcept = default;
    // Rectangle region; like the platform's, left > right or top > bottom are swapped first.
    explicit Region(const Rect& rect);

    static Region rectangle(int left, int top, int right, int bottom);
    // Rectangle with corners rounded by quarter ellipses ellipseWidth × ellipseHeight; an ellipse
    // size larger than the rectangle's own side is limited to that side.
    static Region roundRect(int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight);
    static Region ellipse(int left, int top, int right, int bottom);
    // Polygon closed from the last point back to the first, filled with the winding rule; a pixel
    // belongs to it when its centre lies inside.
    static Region polygon(std::span<const Point> points);

    // The same shapes, built into this region's existing storage.
    void setRect(const Rect& rect);
    void setRoundRect(int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight);
    void setPolygon(std::span<const Point> points);
    void clear();
    // Moves every pixel of the region by (dx, dy), the platform's region offset.
    void offset(int dx, int dy);

    // this = this op other.
    void combine(const Region& other, RegionOp op);
    void unite(const Region& other) { combine(other, RegionOp::Union); }
    void intersect(const Region& other) { combine(other, RegionOp::Intersect); }
    void exclusiveOr(const Region& other) { combine(other, RegionOp::Xor); }
    void unite(const Rect& rect); // without building a second region
    // Appends rows [top, bottom) holding the spans [edges[0], edges[1]), [edges[2], edges[3]), ...
    // below every band, for builders that produce a region top to bottom in one pass. The edges
    // must rise strictly and top must not lie above the region's bottom; otherwise nothing is
    // changed and the result is false. Empty rows or no edges append nothing.
    bool appendBand(int top, int bottom, std::span<const int> edges);

    bool isEmpty() const { return bands_.empty(); }
    bool isRect() const { return bands_.size() == 1 && spanCount(bands_[0]) == 1; }
    Rect bounds() const; // (0, 0, 0, 0) when empty
    bool contains(int x, int y) const;
    int bandCount() const { return static_cast<int>(bands_.size()); }

    // Calls visit(top, bottom, left, right) for every span of every band, top to bottom, left
    // to right.
    template <typename Visit> void forEachSpan(Visit&& visit) const {
        for (const Band& band : bands_)
            for (int i = band.first; i < band.end; i += 2)
                visit(band.top, band.bottom, xs_[i], xs_[i + 1]);
    }
    // The region as disjoint rectangles, one per span of each band.
    std::vector<Rect> rectangles() const;

    // True when the band invariants above hold. Debug builds assert them after every operation
    // that changes bands, checking only the bands it changed.
    bool isValid() const;

    friend bool operator==(const Region& a, const Region& b) { return a.rectangles() == b.rectangles(); }

  private:
    struct Band {
        int top;
        int bottom;
        int first; // index of the first span edge in xs_
        int end;   // one past the last span edge
    };
    static int spanCount(const Band& band) { return (band.end - band.first) / 2; }
    static void finishBand(std::vector<Band>& bands, std::vector<int>& xs, int start, int top, int bottom);
    static void sweep(std::span<const Band> a, const int* aXs, std::span<const Band> b, const int* bXs,
                      RegionOp op, std::vector<Band>& outBands, std::vector<int>& outXs);
    void combineWith(std::span<const Band> other, const int* otherXs, RegionOp op);
    // The invariants for the bands from firstBand on (and the one above it).
    bool bandsValidFrom(std::size_t firstBand) const;

    std::vector<Band> bands_;
    std::vector<int> xs_; // span edges, pairs [left, right), in band order
    // Storage reused by combine().
    std::vector<Band> scratchBands_;
    std::vector<int> scratchXs_;
};

} // namespace vistello::effects
