#pragma once
// What painting a metafile's drawing costs Qt's raster engine, estimated from above before
// anything is painted, so that a hostile file (pens wider than the page, countless edges or
// dashes, a clip redone for every item, the whole page painted over and over) is refused at
// once rather than keeping the reader busy for minutes. The unit is a pixel step: a pixel
// covered, a pixel of an edge's length walked, a pixel of a bitmap converted.

#include <QImage>
#include <QPainterPath>
#include <QPen>
#include <QRectF>

namespace vistello::media::gdi {

// Far more than any real drawing spends: the picture's area eight times over, and at least
// 2^27 steps (well under a second on one core).
double paintBudget(const QRectF& picture);

// Filling `devicePath` (picture pixels) when `fill`, and stroking it with `pen` whose width on
// the picture is `penWidth` pixels when `stroke`.
double shapeCost(const QPainterPath& devicePath, bool fill, bool stroke, const QPen& pen, double penWidth,
                 const QRectF& picture);

// Making `deviceClip` the painter's clip: it is rasterised like a fill.
double clipCost(const QPainterPath& deviceClip, const QRectF& picture);

// Whether Qt's antialiasing rasteriser can draw a shape (or clip) that reaches `deviceBounds`
// in reasonable time. It walks every cell an edge passes along a row, also far to the sides of
// the picture, and its time grows faster than that length (a shape a million pixels wide took
// seconds); shapes reaching that far beyond the picture are drawn without antialiasing, which
// shows only in their cut through the picture.
bool antialiasable(const QRectF& deviceBounds, const QRectF& picture);

// The cells of the picture that Qt's rasteriser visits along the edges of a shape: its edges
// for each of `fills` fills, both sides of them and the joins for a stroke.
double rasterCells(const QPainterPath& devicePath, int fills, bool stroke, double penWidth,
                   const QRectF& picture);

// What antialiasing a shape that passes `cells` cells costs. Qt's antialiasing rasteriser holds
// a few hundred cells at a time, so it draws a shape band by band and walks all its edges again
// for every band: its work grows with the square of the cells (a filled polygon of a hundred
// random points across a picture took a second, one of a thousand took eight). A shape over
// kMaxAntialiasCost is drawn without antialiasing, which costs no more than its cells.
double antialiasCost(double cells, const QRectF& picture);
inline constexpr double kMaxAntialiasCost = double(1 << 24);

// Drawing `bitmap` into `deviceBounds`: converting its pixels and covering the area.
double pictureCost(const QImage& bitmap, const QRectF& deviceBounds, const QRectF& picture);

} // namespace vistello::media::gdi
