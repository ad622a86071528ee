#include "effects/raster/region.h"

namespace vistello::effects {

Region Region::roundRect(int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight) {
    Region region;
    region.setRoundRect(left, top, right, bottom, ellipseWidth, ellipseHeight);
    return region;
}

Region Region::ellipse(int left, int top, int right, int bottom) {
    return roundRect(left, top, right, bottom, right - left, bottom - top);
}

Region Region::polygon(std::span<const Point> points) {
    Region region;
    region.setPolygon(points);
    return region;
}

void Region::setRoundRect(int left, int top, int right, int bottom, int, int) {
    setRect({left, top, right, bottom});
}

void Region::setPolygon(std::span<const Point>) {
    clear();
}

} // namespace vistello::effects
