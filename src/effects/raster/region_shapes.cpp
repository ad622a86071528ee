// Scan conversion of the curved and slanted shapes into bands of spans. A pixel belongs to a
// shape when its centre (x + 0.5, y + 0.5) lies inside; the platform's own rules may differ from
// this by a pixel along curved and slanted edges.

#include "effects/raster/region.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstdlib>

namespace vistello::effects {

namespace {

// First pixel whose centre is at or right of x.
int firstPixelFrom(double x) {
    return static_cast<int>(std::ceil(x - 0.5));
}

} // namespace

Region Region::roundRect(int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight) {
    Region region;
    region.setRoundRect(left, top, right, bottom, ellipseWidth, ellipseHeight);
    return region;
}

Region Region::ellipse(int left, int top, int right, int bottom) {
    return roundRect(left, top, right, bottom, std::abs(right - left), std::abs(bottom - top));
}

Region Region::polygon(std::span<const Point> points) {
    Region region;
    region.setPolygon(points);
    return region;
}

void Region::setRoundRect(int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight) {
    if (left > right)
        std::swap(left, right);
    if (top > bottom)
        std::swap(top, bottom);
    const int width = right - left;
    const int height = bottom - top;
    const int ew = std::min(std::abs(ellipseWidth), width);
    const int eh = std::min(std::abs(ellipseHeight), height);
    if (width == 0 || height == 0 || ew < 2 || eh < 2) {
        setRect({left, top, right, bottom});
        return;
    }
    clear();
    // The corner ellipses' half axes; rows inside the top and bottom eh / 2 are inset by the
    // ellipse, the rows between are full width.
    const double a = ew / 2.0;
    const double b = eh / 2.0;
    const double upperCentre = top + b;
    const double lowerCentre = bottom - b;
    for (int y = top; y < bottom; ++y) {
        const double yc = y + 0.5;
        double dy = 0;
        if (yc < upperCentre)
            dy = upperCentre - yc;
        else if (yc > lowerCentre)
            dy = yc - lowerCentre;
        double inset = 0;
        if (dy > 0) {
            const double t = dy / b;
            inset = a - a * std::sqrt(std::max(0.0, 1.0 - t * t));
        }
        const int x0 = firstPixelFrom(left + inset);
        const int x1 = firstPixelFrom(right - inset);
        const int start = static_cast<int>(xs_.size());
        if (x0 < x1) {
            xs_.push_back(x0);
            xs_.push_back(x1);
        }
        finishBand(bands_, xs_, start, y, y + 1);
    }
    assert(isValid());
}

void Region::setPolygon(std::span<const Point> points) {
    clear();
    const std::size_t count = points.size();
    if (count < 3)
        return;
    // Edge table: each non-horizontal edge crosses the centres of rows [top, bottom); edges
    // enter the active list when the scan reaches their top and leave past their bottom, so a
    // row only looks at the edges it crosses.
    struct Edge {
        int top;
        int bottom;
        Point from;
        Point to;
    };
    std::vector<Edge> edges;
    edges.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const Point& p = points[i];
        const Point& q = points[(i + 1) % count];
        if (p.y != q.y)
            edges.push_back({std::min(p.y, q.y), std::max(p.y, q.y), p, q});
    }
    if (edges.empty())
        return;
    std::sort(edges.begin(), edges.end(), [](const Edge& a, const Edge& b) { return a.top < b.top; });
    int maxY = edges.front().bottom;
    for (const Edge& edge : edges)
        maxY = std::max(maxY, edge.bottom);

    struct Crossing {
        double x;
        int direction;
    };
    std::vector<Crossing> crossings;
    crossings.reserve(edges.size());
    std::vector<const Edge*> active;
    active.reserve(edges.size());
    std::size_t nextEdge = 0;
    for (int y = edges.front().top; y < maxY; ++y) {
        while (nextEdge < edges.size() && edges[nextEdge].top <= y)
            active.push_back(&edges[nextEdge++]);
        std::erase_if(active, [y](const Edge* edge) { return edge->bottom <= y; });
        const double yc = y + 0.5;
        crossings.clear();
        for (const Edge* edge : active) {
            const Point& p = edge->from;
            const Point& q = edge->to;
            const double x = p.x + (yc - p.y) * static_cast<double>(q.x - p.x) / (q.y - p.y);
            crossings.push_back({x, q.y > p.y ? 1 : -1});
        }
        std::sort(crossings.begin(), crossings.end(),
                  [](const Crossing& l, const Crossing& r) { return l.x < r.x; });
        const int start = static_cast<int>(xs_.size());
        int winding = 0;
        double spanStart = 0;
        for (const Crossing& c : crossings) {
            const int before = winding;
            winding += c.direction;
            if (before == 0 && winding != 0) {
                spanStart = c.x;
            } else if (before != 0 && winding == 0) {
                const int x0 = firstPixelFrom(spanStart);
                const int x1 = firstPixelFrom(c.x);
                if (x0 >= x1)
                    continue;
                // Spans that touch the previous one join it.
                if (static_cast<int>(xs_.size()) > start && xs_.back() >= x0) {
                    xs_.back() = std::max(xs_.back(), x1);
                } else {
                    xs_.push_back(x0);
                    xs_.push_back(x1);
                }
            }
        }
        finishBand(bands_, xs_, start, y, y + 1);
    }
    assert(isValid());
}

} // namespace vistello::effects
