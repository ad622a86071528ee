#include "media/gdi_canvas.h"

#include "media/paint_budget.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QStringDecoder>

#include <algorithm>
#include <cmath>

namespace vistello::media::gdi {

namespace {

constexpr std::uint32_t kStockBit = 0x80000000u;
constexpr std::size_t kMaxSavedStates = 1024;
constexpr std::size_t kMaxItems = 1 << 20;

bool finite(const QTransform& t) {
    for (double v : {t.m11(), t.m12(), t.m21(), t.m22(), t.dx(), t.dy(), t.m13(), t.m23(), t.m33()})
        if (!std::isfinite(v))
            return false;
    return true;
}

// The scale of a transform along its axes, for pen widths and text sizes.
double scaleOf(const QTransform& t) {
    return std::sqrt(std::abs(t.determinant()));
}

// The largest scale of a transform along any direction.
double largestScaleOf(const QTransform& t) {
    const double sum = t.m11() * t.m11() + t.m12() * t.m12() + t.m21() * t.m21() + t.m22() * t.m22();
    const double det = t.determinant();
    return std::sqrt((sum + std::sqrt(std::max(sum * sum - 4 * det * det, 0.0))) / 2);
}

// The outline of a dashed stroke of `path` (logical units). Qt's painter dashes a wide pen in
// the drawing's own units with curves as exact as a fraction of a picture pixel, which under a
// large scale takes it minutes for a single arc; an outline as exact as a sixty-fourth of the
// pen looks the same and is made at once, and it can be priced like any fill.
QPainterPath dashedOutline(const QPainterPath& path, const QPen& pen, const QTransform& transform) {
    QPainterPathStroker stroker(pen);
    stroker.setCurveThreshold(std::max(0.25 / std::max(largestScaleOf(transform), 1e-9), pen.widthF() / 64));
    return stroker.createStroke(path);
}

// Angle in degrees of `point` around `centre`, with y pointing down as in device space.
double angleOf(QPointF centre, QPointF point, QSizeF radii) {
    return std::atan2(-(point.y() - centre.y()) / radii.height(), (point.x() - centre.x()) / radii.width()) *
           180.0 / M_PI;
}

} // namespace

Canvas::Canvas(PageRule rule, QSizeF deviceUnitsPerMm) : rule_(rule), unitsPerMm_(deviceUnitsPerMm) {
    state_.pen = Pen{false, QPen(Qt::black, 0)};
    state_.brush = Brush{false, QBrush(Qt::white)};
}

void Canvas::createObject(std::uint32_t index, Object object) {
    if (index & kStockBit)
        return;
    objects_[index] = std::move(object);
}

bool Canvas::deleteObject(std::uint32_t index) {
    return objects_.erase(index) > 0;
}

void Canvas::chargeImagePixels(const QImage& picture) {
    imagePixelsLeft_ = std::max<qint64>(0, imagePixelsLeft_ - qint64{picture.width()} * picture.height());
}

void Canvas::selectObject(std::uint32_t index) {
    Object object;
    if (index & kStockBit) {
        object = stockObject(index & ~kStockBit);
    } else {
        const auto found = objects_.find(index);
        if (found == objects_.end())
            return;
        object = found->second;
    }
    if (const auto* pen = std::get_if<Pen>(&object))
        state_.pen = *pen;
    else if (const auto* brush = std::get_if<Brush>(&object))
        state_.brush = *brush;
    else if (const auto* font = std::get_if<Font>(&object))
        state_.font = *font;
}

void Canvas::setMapMode(int mode) {
    if (mode < 1 || mode > 8)
        return;
    state_.mapMode = mode;
}
void Canvas::setWindowOrg(QPointF origin) {
    state_.windowOrg = origin;
}
void Canvas::setWindowExt(QSizeF extent) {
    if (extent.width() != 0 && extent.height() != 0) {
        state_.windowExt = extent;
        state_.windowExtSet = true;
    }
}
void Canvas::setViewportOrg(QPointF origin) {
    state_.viewportOrg = origin;
}
void Canvas::setViewportExt(QSizeF extent) {
    if (extent.width() != 0 && extent.height() != 0)
        state_.viewportExt = extent;
}
void Canvas::offsetWindowOrg(QPointF by) {
    state_.windowOrg += by;
}
void Canvas::offsetViewportOrg(QPointF by) {
    state_.viewportOrg += by;
}
void Canvas::scaleWindowExt(double xNum, double xDenom, double yNum, double yDenom) {
    if (xDenom != 0 && yDenom != 0)
        setWindowExt({state_.windowExt.width() * xNum / xDenom, state_.windowExt.height() * yNum / yDenom});
}
void Canvas::scaleViewportExt(double xNum, double xDenom, double yNum, double yDenom) {
    if (xDenom != 0 && yDenom != 0)
        setViewportExt(
            {state_.viewportExt.width() * xNum / xDenom, state_.viewportExt.height() * yNum / yDenom});
}

void Canvas::setWorldTransform(const QTransform& transform) {
    if (finite(transform) && transform.isInvertible())
        state_.world = transform;
}

void Canvas::modifyWorldTransform(const QTransform& transform, int mode) {
    constexpr int kIdentity = 1, kLeftMultiply = 2, kRightMultiply = 3, kSet = 4;
    QTransform result = state_.world;
    if (mode == kIdentity)
        result = QTransform();
    else if (mode == kLeftMultiply)
        result = transform * state_.world; // QTransform maps row vectors: the new one applies first
    else if (mode == kRightMultiply)
        result = state_.world * transform;
    else if (mode == kSet)
        result = transform;
    setWorldTransform(result);
}

QTransform Canvas::toDevice() const {
    const State& s = state_;
    double sx = 1, sy = 1;
    QPointF viewportOrg = s.viewportOrg;
    if (rule_ == PageRule::WindowAtOrigin) {
        // A fixed map mode counts y upwards; an isotropic or anisotropic window says by its signs.
        if (s.mapMode >= 2 && s.mapMode <= 6)
            sy = -1;
        else if (s.mapMode >= 7) {
            sx = s.windowExt.width() < 0 ? -1 : 1;
            sy = s.windowExt.height() < 0 ? -1 : 1;
        }
        viewportOrg = {};
    } else {
        const auto fixed = [&](double mmPerUnit) {
            sx = mmPerUnit * unitsPerMm_.width();
            sy = -mmPerUnit * unitsPerMm_.height();
        };
        switch (s.mapMode) {
        case 2:
            fixed(0.1);
            break;
        case 3:
            fixed(0.01);
            break;
        case 4:
            fixed(0.254);
            break;
        case 5:
            fixed(0.0254);
            break;
        case 6:
            fixed(25.4 / 1440);
            break;
        case 7:
        case 8:
            sx = s.viewportExt.width() / s.windowExt.width();
            sy = s.viewportExt.height() / s.windowExt.height();
            if (s.mapMode == 7) { // isotropic: the smaller magnitude on both axes
                const double m = std::min(std::abs(sx), std::abs(sy));
                sx = std::copysign(m, sx);
                sy = std::copysign(m, sy);
            }
            break;
        default:
            break;
        }
    }
    const QTransform page(sx, 0, 0, sy, viewportOrg.x() - s.windowOrg.x() * sx,
                          viewportOrg.y() - s.windowOrg.y() * sy);
    return s.world * page;
}

void Canvas::saveDc() {
    if (saved_.size() < kMaxSavedStates)
        saved_.push_back(state_);
}

void Canvas::restoreDc(int relative) {
    // Negative: that many states back from the newest; positive: the state with that number.
    std::size_t keep;
    if (relative < 0) {
        const auto back = static_cast<std::size_t>(-static_cast<long long>(relative));
        if (back > saved_.size())
            return;
        keep = saved_.size() - back;
    } else {
        if (relative == 0 || static_cast<std::size_t>(relative) > saved_.size())
            return;
        keep = static_cast<std::size_t>(relative) - 1;
    }
    state_ = saved_[keep];
    saved_.resize(keep);
}

QPen Canvas::strokePen() const {
    if (state_.pen.null)
        return QPen(Qt::NoPen);
    return state_.pen.pen;
}

void Canvas::add(Item item, QRectF deviceBounds) {
    work_ += item.path.elementCount();
    if (items_.size() >= kMaxItems)
        return;
    if (item.clip)
        deviceBounds &= item.clip->boundingRect();
    if (!std::isfinite(deviceBounds.width() + deviceBounds.height() + deviceBounds.left() +
                       deviceBounds.top()) ||
        deviceBounds.isEmpty())
        return;
    if (!first_) {
        first_ = FirstDrawing{toDevice(), std::nullopt};
        if (state_.windowExtSet)
            first_->window = QRectF(state_.windowOrg, state_.windowExt).normalized();
    }
    content_ = content_.isNull() ? deviceBounds : content_.united(deviceBounds);
    items_.push_back(std::move(item));
}

void Canvas::draw(const QPainterPath& path, bool fill, bool stroke) {
    Item item;
    item.path = path;
    item.path.setFillRule(state_.fillRule);
    item.toDevice = toDevice();
    item.clip = state_.clip;
    if (stroke)
        item.pen = strokePen();
    if (fill && !state_.brush.null) {
        item.brush = state_.brush.brush;
        const Qt::BrushStyle style = item.brush.style();
        if (style >= Qt::HorPattern && style <= Qt::DiagCrossPattern && state_.opaqueBackground)
            item.hatchBackground = state_.backgroundColour;
    }
    if (item.pen.style() == Qt::NoPen && item.brush.style() == Qt::NoBrush)
        return;
    QRectF bounds = item.toDevice.map(path).controlPointRect();
    if (item.pen.style() != Qt::NoPen) {
        const double half = std::max(item.pen.widthF() * scaleOf(item.toDevice), 1.0) / 2;
        bounds.adjust(-half, -half, half, half);
    }
    add(std::move(item), bounds);
}

void Canvas::pathOrDraw(const QPainterPath& shape, bool fill, bool stroke) {
    if (inPath_) {
        work_ += shape.elementCount();
        path_.addPath(shape);
    } else {
        draw(shape, fill, stroke);
    }
}

void Canvas::moveTo(QPointF point) {
    state_.position = point;
    if (inPath_)
        path_.moveTo(point);
}

void Canvas::lineTo(QPointF point) {
    if (inPath_) {
        if (path_.elementCount() == 0)
            path_.moveTo(state_.position);
        path_.lineTo(point);
    } else {
        QPainterPath line(state_.position);
        line.lineTo(point);
        draw(line, false, true);
    }
    state_.position = point;
}

void Canvas::polyline(const QPolygonF& points) {
    if (points.size() < 2)
        return;
    QPainterPath line;
    line.addPolygon(points);
    pathOrDraw(line, false, true);
}

void Canvas::polylineTo(const QPolygonF& points) {
    if (points.isEmpty())
        return;
    if (inPath_) {
        for (const QPointF& p : points)
            lineTo(p);
        return;
    }
    QPainterPath line(state_.position); // one stroke, so that its corners are joined
    for (const QPointF& p : points)
        line.lineTo(p);
    draw(line, false, true);
    state_.position = points.back();
}

void Canvas::polyBezier(const QPolygonF& points) {
    if (points.size() < 4)
        return;
    QPainterPath curve(points[0]); // PolyBezier leaves the current position alone
    for (qsizetype i = 1; i + 2 < points.size(); i += 3)
        curve.cubicTo(points[i], points[i + 1], points[i + 2]);
    pathOrDraw(curve, false, true);
}

void Canvas::polyBezierTo(const QPolygonF& points) {
    QPainterPath curve(state_.position);
    if (inPath_ && path_.elementCount() == 0)
        path_.moveTo(state_.position);
    for (qsizetype i = 0; i + 2 < points.size(); i += 3) {
        if (inPath_)
            path_.cubicTo(points[i], points[i + 1], points[i + 2]);
        else
            curve.cubicTo(points[i], points[i + 1], points[i + 2]);
        state_.position = points[i + 2];
    }
    if (!inPath_ && curve.elementCount() > 1)
        draw(curve, false, true);
}

void Canvas::polygon(const QPolygonF& points) {
    if (points.size() < 2)
        return;
    QPainterPath shape;
    shape.addPolygon(points);
    shape.closeSubpath();
    pathOrDraw(shape, true, true);
}

void Canvas::polyPolygon(const std::vector<QPolygonF>& polygons) {
    QPainterPath shape;
    for (const QPolygonF& points : polygons) {
        shape.addPolygon(points);
        shape.closeSubpath();
    }
    if (!shape.isEmpty())
        pathOrDraw(shape, true, true);
}

void Canvas::polyPolyline(const std::vector<QPolygonF>& polylines) {
    QPainterPath lines;
    for (const QPolygonF& points : polylines)
        lines.addPolygon(points);
    if (!lines.isEmpty())
        pathOrDraw(lines, false, true);
}

void Canvas::rectangle(const QRectF& rect) {
    QPainterPath shape;
    shape.addRect(rect.normalized());
    pathOrDraw(shape, true, true);
}

void Canvas::roundRect(const QRectF& rect, QSizeF corner) {
    QPainterPath shape;
    shape.addRoundedRect(rect.normalized(), std::abs(corner.width()) / 2, std::abs(corner.height()) / 2);
    pathOrDraw(shape, true, true);
}

void Canvas::ellipse(const QRectF& rect) {
    QPainterPath shape;
    shape.addEllipse(rect.normalized());
    pathOrDraw(shape, true, true);
}

void Canvas::arc(const QRectF& box, QPointF start, QPointF end, ArcKind kind) {
    const QRectF r = box.normalized();
    if (r.width() <= 0 || r.height() <= 0)
        return;
    const QPointF centre = r.center();
    const QSizeF radii = r.size() / 2;
    const double from = angleOf(centre, start, radii);
    double sweep = angleOf(centre, end, radii) - from;
    // GDI draws counter-clockwise (in a y-down view) unless the arc direction says otherwise.
    if (state_.arcClockwise) {
        if (sweep >= 0)
            sweep -= 360;
    } else if (sweep <= 0) {
        sweep += 360;
    }
    QPainterPath shape;
    if (kind == ArcKind::Pie)
        shape.moveTo(centre);
    else
        shape.arcMoveTo(r, from);
    shape.arcTo(r, from, sweep);
    if (kind != ArcKind::Arc)
        shape.closeSubpath();
    pathOrDraw(shape, kind != ArcKind::Arc, true);
}

void Canvas::fillRect(const QRectF& rect, const QBrush& brush) {
    Item item;
    item.path.addRect(rect.normalized());
    item.toDevice = toDevice();
    item.clip = state_.clip;
    item.brush = brush;
    const QRectF bounds = item.toDevice.map(item.path).controlPointRect();
    add(std::move(item), bounds);
}

void Canvas::text(QPointF reference, const QString& text) {
    if (text.isEmpty())
        return;
    constexpr std::uint32_t kUpdateCp = 1, kRight = 2, kCentre = 6, kBottom = 8, kBaseline = 24;
    QPointF at = (state_.textAlign & kUpdateCp) ? state_.position : reference;
    // Text is drawn at a fixed size and scaled into place, so that logical units of any size work.
    constexpr double kDrawSize = 100;
    const double height = std::abs(state_.font.height) > 0 ? std::abs(state_.font.height) : 12;
    QFont font = state_.font.font;
    font.setPixelSize(static_cast<int>(kDrawSize));
    const QFontMetricsF metrics(font);
    const double advance = metrics.horizontalAdvance(text);
    double dx = 0, dy = 0;
    const std::uint32_t horizontal = state_.textAlign & kCentre, vertical = state_.textAlign & kBaseline;
    if (horizontal == kCentre)
        dx = -advance / 2;
    else if (horizontal == kRight)
        dx = -advance;
    if (vertical == kBaseline)
        dy = 0;
    else if (vertical == kBottom)
        dy = -metrics.descent();
    else
        dy = metrics.ascent();
    if ((state_.textAlign & kUpdateCp) && horizontal != kCentre)
        state_.position = at + QPointF(horizontal == kRight ? 0 : advance * height / kDrawSize, 0);
    // The glyphs as outlines: a filled path takes any transform, where Qt's glyph cache fails
    // on extreme ones.
    Item item;
    item.path.addText(QPointF(dx, dy), font, text);
    item.path.setFillRule(Qt::WindingFill);
    item.brush = QBrush(state_.textColour);
    QTransform local;
    local.translate(at.x(), at.y());
    local.rotate(-state_.font.angleDeg);
    local.scale(height / kDrawSize, height / kDrawSize);
    item.toDevice = local * toDevice();
    item.clip = state_.clip;
    if (!finite(item.toDevice))
        return;
    const QRectF bounds = item.toDevice.map(item.path).controlPointRect();
    add(std::move(item), bounds);
}

QString Canvas::decodeText(QByteArrayView bytes) const {
    if (const char* name = codePageOf(state_.font.charset)) {
        QStringDecoder decoder(name);
        if (decoder.isValid())
            return decoder.decode(bytes);
    }
    return QString::fromLatin1(bytes);
}

void Canvas::image(const QImage& picture, const QRectF& target) {
    chargeImagePixels(picture);
    if (picture.isNull() || target.isEmpty())
        return;
    Item item;
    item.picture = picture;
    item.smooth = state_.smoothStretch;
    item.path.addRect(target);
    item.toDevice = toDevice();
    item.clip = state_.clip;
    const QRectF bounds = item.toDevice.map(item.path).controlPointRect();
    add(std::move(item), bounds);
}

void Canvas::beginPath() {
    inPath_ = true;
    path_ = QPainterPath();
}

void Canvas::abortPath() {
    inPath_ = false;
    path_ = QPainterPath();
}

void Canvas::closeFigure() {
    if (inPath_)
        path_.closeSubpath();
}

void Canvas::fillPath() {
    draw(path_, true, false);
    path_ = QPainterPath();
}
void Canvas::strokePath() {
    draw(path_, false, true);
    path_ = QPainterPath();
}
void Canvas::strokeAndFillPath() {
    draw(path_, true, true);
    path_ = QPainterPath();
}

void Canvas::combineClip(const QPainterPath& given, ClipMode mode) {
    // Qt's path operations grow faster than linearly: a clip too complex to combine quickly
    // is taken as its bounding rectangle.
    constexpr int kMaxClipElements = 4096;
    QPainterPath deviceShape = given;
    if (deviceShape.elementCount() > kMaxClipElements) {
        deviceShape = QPainterPath();
        deviceShape.addRect(given.boundingRect());
    }
    if (state_.clip && state_.clip->elementCount() > kMaxClipElements) {
        const QRectF bounds = state_.clip->boundingRect();
        state_.clip = QPainterPath();
        state_.clip->addRect(bounds);
    }
    work_ += deviceShape.elementCount();
    if (mode == ClipMode::Copy || !state_.clip) {
        if (mode == ClipMode::Copy || mode == ClipMode::And || mode == ClipMode::Or || mode == ClipMode::Xor)
            state_.clip = deviceShape;
        return; // a difference from "everything" cannot be held as a bounded shape; keep it open
    }
    QPainterPath& clip = *state_.clip;
    // Qt combines two paths in time that grows with the product of their sizes (about 0.4 µs
    // for each pair of elements, measured with many crossings): eight steps a pair.
    work_ += 8 * qint64{clip.elementCount()} * deviceShape.elementCount();
    if (!withinBudget())
        return; // the picture is given up; no need to do the work
    switch (mode) {
    case ClipMode::And:
        clip = clip.intersected(deviceShape);
        break;
    case ClipMode::Or:
        clip = clip.united(deviceShape);
        break;
    case ClipMode::Xor:
        clip = clip.united(deviceShape).subtracted(clip.intersected(deviceShape));
        break;
    case ClipMode::Diff:
        clip = clip.subtracted(deviceShape);
        break;
    case ClipMode::Copy:
        break;
    }
}

void Canvas::selectClipPath(ClipMode mode) {
    QPainterPath shape = toDevice().map(path_);
    shape.setFillRule(state_.fillRule);
    path_ = QPainterPath();
    combineClip(shape, mode);
}

void Canvas::intersectClipRect(const QRectF& rect) {
    QPainterPath shape;
    shape.addRect(rect.normalized());
    combineClip(toDevice().map(shape), ClipMode::And);
}

void Canvas::excludeClipRect(const QRectF& rect) {
    QPainterPath shape;
    shape.addRect(rect.normalized());
    combineClip(toDevice().map(shape), ClipMode::Diff);
}

void Canvas::selectClipRegion(const std::vector<QRectF>& deviceRects, ClipMode mode) {
    if (deviceRects.empty() && mode == ClipMode::Copy) {
        state_.clip.reset();
        return;
    }
    QPainterPath shape;
    shape.setFillRule(Qt::WindingFill); // the union of the region's rectangles
    for (const QRectF& r : deviceRects)
        shape.addRect(r.normalized());
    combineClip(shape, mode);
}

namespace {

// Draws a bitmap record's picture into `target` (logical units) under `transform`. Qt's raster
// engine can read outside a picture that a mirroring transform shrinks below a pixel, so when
// the transform only scales and moves, the mirroring is done on the picture and it is drawn
// unmirrored at its device rectangle.
void drawPicture(QPainter& painter, const QTransform& transform, const QRectF& target,
                 const QImage& picture) {
    if (transform.type() > QTransform::TxScale) {
        painter.drawImage(target, picture);
        return;
    }
    const bool mirrorX = transform.m11() * target.width() < 0;
    const bool mirrorY = transform.m22() * target.height() < 0;
    const QRectF device = transform.mapRect(target).normalized();
    if (device.isEmpty())
        return;
    painter.setTransform(QTransform());
    painter.drawImage(device, mirrorX || mirrorY ? picture.mirrored(mirrorX, mirrorY) : picture);
}

} // namespace

QImage Canvas::render(const QRectF& area, QSizeF pixelsPerUnit, qint64 maxPixels) const {
    const double width = std::ceil(area.width() * pixelsPerUnit.width() - 1e-6);
    const double height = std::ceil(area.height() * pixelsPerUnit.height() - 1e-6);
    constexpr double kMaxSide = 32767;
    if (!(width >= 1 && height >= 1 && width <= kMaxSide && height <= kMaxSide) ||
        width * height > double(maxPixels))
        return {};
    QImage canvas(static_cast<int>(width), static_cast<int>(height), QImage::Format_RGB32);
    if (canvas.isNull())
        return {};
    canvas.fill(Qt::white);
    QTransform toPicture;
    toPicture.scale(pixelsPerUnit.width(), pixelsPerUnit.height());
    toPicture.translate(-area.left(), -area.top());
    // Painting is priced before anything is painted: a drawing over its budget is refused as
    // a whole rather than shown in part. Qt rasterises a clip when it is set and again whenever
    // a render hint changes under it, so consecutive items share their clip, hints change only
    // when they must, and each rasterisation is charged.
    const QRectF pictureRect(0, 0, width, height);
    const double budget = paintBudget(pictureRect);
    double cost = 0;
    struct Plan {
        bool shown = false;
        bool newClip = false; // another clip than the item before
        QPainter::RenderHints hints;
        std::optional<QPainterPath> dashOutline; // logical; filled with the pen's brush
    };
    std::vector<Plan> plans(items_.size());
    const std::optional<QPainterPath>* lastClip = nullptr;
    QPainter::RenderHints lastHints;
    double clipRasterCost = 0;
    double clipAntialiasCost = 0;
    for (std::size_t i = 0; i < items_.size(); ++i) {
        const Item& item = items_[i];
        Plan& plan = plans[i];
        const QTransform transform = item.toDevice * toPicture;
        const QPainterPath devicePath = transform.map(item.path);
        const QRectF bounds = devicePath.controlPointRect();
        if ((bounds & pictureRect).isEmpty() && item.pen.style() == Qt::NoPen)
            continue;
        plan.shown = true;
        const bool stroke = item.pen.style() != Qt::NoPen;
        const double penWidth = stroke ? item.pen.widthF() * scaleOf(transform) : 0;
        const double reach = stroke ? penWidth / 2 + 1 : 0;
        plan.newClip = !lastClip || *lastClip != item.clip;
        lastClip = &item.clip;
        if (plan.newClip) {
            const QPainterPath deviceClip = item.clip ? toPicture.map(*item.clip) : QPainterPath();
            clipRasterCost = item.clip ? clipCost(deviceClip, pictureRect) : 0;
            clipAntialiasCost =
                clipRasterCost > 0
                    ? antialiasCost(rasterCells(deviceClip, 1, false, 0, pictureRect), pictureRect)
                    : 0;
        }
        constexpr double kItemCost = 256; // the painter's state changes and the path's mapping
        cost += kItemCost;
        double cells = 0; // those the shape's edges pass, for its antialiasing
        if (!item.picture.isNull()) {
            cost += pictureCost(item.picture, bounds, pictureRect);
        } else {
            const int fills = (item.brush.style() != Qt::NoBrush) + item.hatchBackground.isValid();
            for (int f = 0; f < std::max(fills, 1); ++f)
                cost += shapeCost(devicePath, fills > 0, stroke && f == 0, item.pen, penWidth, pictureRect);
            const bool dashed = stroke && item.pen.style() != Qt::SolidLine && penWidth >= 1;
            cells = rasterCells(devicePath, fills, stroke && !dashed, penWidth, pictureRect);
            // A dashed pen of a pixel or more is drawn as its outline (the dashes are priced
            // above, before the outline is made).
            if (dashed && cost <= budget) {
                plan.dashOutline = dashedOutline(item.path, item.pen, transform);
                const QPainterPath deviceOutline = transform.map(*plan.dashOutline);
                cost += shapeCost(deviceOutline, true, false, QPen(), 0, pictureRect);
                cells += rasterCells(deviceOutline, 1, false, 0, pictureRect);
            }
        }
        const double shapeAntialiasCost = item.picture.isNull() ? antialiasCost(cells, pictureRect) : 0;
        bool smooth = antialiasable(bounds.adjusted(-reach, -reach, reach, reach), pictureRect) &&
                      shapeAntialiasCost <= kMaxAntialiasCost;
        if (item.clip)
            smooth = smooth && antialiasable(toPicture.mapRect(item.clip->controlPointRect()), pictureRect) &&
                     clipAntialiasCost <= kMaxAntialiasCost;
        plan.hints.setFlag(QPainter::Antialiasing, smooth);
        plan.hints.setFlag(QPainter::SmoothPixmapTransform, !item.picture.isNull() && item.smooth);
        if (smooth)
            cost += shapeAntialiasCost;
        if (plan.newClip || plan.hints != lastHints)
            cost += clipRasterCost + (smooth ? clipAntialiasCost : 0);
        lastHints = plan.hints;
        if (!(cost <= budget))
            return {};
    }
    QPainter painter(&canvas);
    for (std::size_t i = 0; i < items_.size(); ++i) {
        const Plan& plan = plans[i];
        if (!plan.shown)
            continue;
        const Item& item = items_[i];
        const QTransform transform = item.toDevice * toPicture;
        if (plan.newClip) { // replaced first by a rectangle, so that the hints below do not rasterise it
                            // again
            painter.resetTransform();
            painter.setClipRect(pictureRect);
        }
        if (plan.hints != painter.renderHints()) {
            painter.setRenderHints(~plan.hints & painter.renderHints(), false);
            painter.setRenderHints(plan.hints, true);
        }
        if (plan.newClip && item.clip) {
            painter.setTransform(toPicture);
            painter.setClipPath(*item.clip);
        }
        painter.setTransform(transform);
        if (!item.picture.isNull()) {
            drawPicture(painter, transform, item.path.boundingRect(), item.picture);
        } else {
            if (item.hatchBackground.isValid())
                painter.fillPath(item.path, item.hatchBackground);
            QPen pen = item.pen;
            if (pen.style() != Qt::NoPen && pen.widthF() * scaleOf(transform) < 1) {
                pen.setCosmetic(true); // GDI draws at least one pixel
                pen.setWidthF(1);
            }
            painter.setPen(plan.dashOutline ? QPen(Qt::NoPen) : pen);
            painter.setBrush(item.brush);
            painter.drawPath(item.path);
            if (plan.dashOutline)
                painter.fillPath(*plan.dashOutline, pen.brush());
        }
    }
    painter.end();
    return canvas.convertToFormat(QImage::Format_BGR888);
}

QRectF pictureArea(const QRectF& stated, const QRectF& content) {
    if (content.isEmpty())
        return stated;
    if (stated.isEmpty())
        return content;
    const QRectF shown = stated & content;
    const double shownArea = shown.isEmpty() ? 0 : shown.width() * shown.height();
    return shownArea >= 0.5 * content.width() * content.height() ? stated : content;
}

} // namespace vistello::media::gdi
