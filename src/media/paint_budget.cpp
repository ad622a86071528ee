#include "media/paint_budget.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace vistello::media::gdi {

namespace {

constexpr double kUnpaintable = std::numeric_limits<double>::infinity();
// The outline of one dash of a styled pen: its edges, caps and the stroker's own work.
constexpr double kDashCost = 16;

double coveredArea(const QRectF& bounds, const QRectF& picture) {
    const QRectF shown = bounds & picture;
    return shown.isEmpty() ? 0 : shown.width() * shown.height();
}

// The lengths (in picture pixels) of a path's edges, each as far as the rasteriser can walk it
// on the picture, and of the whole path, for its dashes.
struct Edges {
    double walked = 0;
    double length = 0;
};

Edges edgesOf(const QPainterPath& path, const QRectF& picture) {
    const double limit = picture.width() + picture.height();
    Edges edges;
    QPointF last;
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        const QPointF point(e.x, e.y);
        // Curves are charged along their control polygon, which is never shorter than the curve.
        const double step =
            e.isMoveTo() ? 0 : std::abs(point.x() - last.x()) + std::abs(point.y() - last.y());
        if (!std::isfinite(step))
            return {kUnpaintable, kUnpaintable};
        edges.walked += std::min(step, limit) + 1;
        edges.length += step;
        last = point;
    }
    return edges;
}

} // namespace

double paintBudget(const QRectF& picture) {
    return double(1 << 27) + 8 * picture.width() * picture.height();
}

double shapeCost(const QPainterPath& devicePath, bool fill, bool stroke, const QPen& pen, double penWidth,
                 const QRectF& picture) {
    const Edges edges = edgesOf(devicePath, picture);
    if (!std::isfinite(edges.walked) || !std::isfinite(penWidth))
        return kUnpaintable;
    QRectF bounds = devicePath.controlPointRect();
    double cost = 0;
    if (fill)
        cost += edges.walked + coveredArea(bounds, picture);
    if (stroke) {
        // The outline runs along both sides of every edge, with a join of the pen's size at
        // each point, and covers the shape's bounds grown by half the pen.
        const double limit = picture.width() + picture.height();
        const double width = std::max(penWidth, 1.0);
        cost += 2 * edges.walked + devicePath.elementCount() * std::min(4 * width, limit);
        bounds.adjust(-width / 2, -width / 2, width / 2, width / 2);
        cost += std::min(coveredArea(bounds, picture), edges.walked * width);
        if (pen.style() != Qt::SolidLine && pen.style() != Qt::NoPen) {
            double pattern = 0;
            for (const qreal length : pen.dashPattern())
                pattern += std::max<qreal>(length, 0);
            const auto dashesPerPattern = static_cast<double>(pen.dashPattern().size()) / 2;
            cost += kDashCost * dashesPerPattern * edges.length / std::max(pattern * width, 1e-3);
        }
    }
    return std::isfinite(cost) ? cost : kUnpaintable;
}

double rasterCells(const QPainterPath& devicePath, int fills, bool stroke, double penWidth,
                   const QRectF& picture) {
    const double walked = edgesOf(devicePath, picture).walked;
    const double limit = picture.width() + picture.height();
    double cells = fills * walked;
    if (stroke)
        cells += 2 * walked + devicePath.elementCount() * std::min(2 * std::max(penWidth, 1.0), limit);
    return std::isfinite(cells) ? cells : kUnpaintable;
}

double antialiasCost(double cells, const QRectF& picture) {
    // The cells one band holds, and the budget steps of one cell walked in one band (measured
    // at up to 20 ns, against about 5 ns for a step of the budget).
    constexpr double kCellsPerBand = 400;
    constexpr double kStepsPerCell = 4;
    const double bands = std::clamp(cells / kCellsPerBand, 1.0, std::max(picture.height(), 1.0));
    return kStepsPerCell * cells * bands;
}

double clipCost(const QPainterPath& deviceClip, const QRectF& picture) {
    // Qt clips to an upright rectangle without rasterising it.
    const QRectF bounds = deviceClip.controlPointRect();
    if (deviceClip.elementCount() <= 5 && deviceClip.elementCount() >= 4) {
        bool upright = true;
        for (int i = 0; i < deviceClip.elementCount(); ++i) {
            const QPainterPath::Element e = deviceClip.elementAt(i);
            upright = upright && (e.x == bounds.left() || e.x == bounds.right()) &&
                      (e.y == bounds.top() || e.y == bounds.bottom());
        }
        if (upright)
            return 0;
    }
    return shapeCost(deviceClip, true, false, QPen(), 0, picture);
}

bool antialiasable(const QRectF& deviceBounds, const QRectF& picture) {
    const double margin = 4 * std::max({picture.width(), picture.height(), 1024.0});
    return picture.adjusted(-margin, -margin, margin, margin).contains(deviceBounds);
}

double pictureCost(const QImage& bitmap, const QRectF& deviceBounds, const QRectF& picture) {
    return double(bitmap.width()) * bitmap.height() + 2 * coveredArea(deviceBounds, picture);
}

} // namespace vistello::media::gdi
