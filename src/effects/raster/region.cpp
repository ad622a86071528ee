#include "effects/raster/region.h"

namespace vistello::effects {

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
    xs_ = {r.left, r.right};
    bands_.push_back({r.top, r.bottom, 0, 2});
}

void Region::clear() {
    bands_.clear();
    xs_.clear();
}

void Region::combine(const Region&, RegionOp) {}

void Region::unite(const Rect&) {}

Rect Region::bounds() const {
    return {};
}

bool Region::contains(int, int) const {
    return false;
}

std::vector<Rect> Region::rectangles() const {
    std::vector<Rect> result;
    forEachSpan([&](int top, int bottom, int left, int right) { result.push_back({left, top, right, bottom}); });
    return result;
}

bool Region::isValid() const {
    return true;
}

} // namespace vistello::effects
