#pragma once
// GdiCanvas: the drawing state of a Windows device context (objects, map mode, window and
// viewport, world transform, current position, path bracket, clip, saved states) as the EMF
// and WMF players drive it, and a display list of what was drawn.
//
// Drawing calls take logical coordinates. Each drawn item keeps its logical geometry with the
// logical-to-device transform in force when it was drawn, so that pens scale as GDI's do.
// `render` then draws the list onto white, mapping a chosen device-space area onto the
// picture; `contentBounds` tells where the drawing lies, for headers that misstate it.

#include "media/gdi_objects.h"

#include <QImage>
#include <QPainterPath>
#include <QPolygonF>
#include <QRectF>
#include <QString>
#include <QTransform>

#include <algorithm>
#include <map>
#include <optional>
#include <vector>

namespace vistello::media::gdi {

enum class ClipMode { And = 1, Or = 2, Xor = 3, Diff = 4, Copy = 5 };
enum class ArcKind { Arc, Chord, Pie };

// How logical coordinates become device ones: GDI's own rules (EMF), or a metafile's window
// placed at the device origin with its axes' directions kept (WMF, whose viewport belongs to
// the program that plays it).
enum class PageRule { Gdi, WindowAtOrigin };

class Canvas {
  public:
    // `deviceUnitsPerMm` gives the fixed map modes (twips, millimetres, inches) their size.
    Canvas(PageRule rule, QSizeF deviceUnitsPerMm);

    // Objects. Indices with the top bit set name GDI's stock objects.
    void createObject(std::uint32_t index, Object object);
    bool deleteObject(std::uint32_t index); // false when there was none

    void selectObject(std::uint32_t index);

    // Page and world.
    void setMapMode(int mode);
    void setWindowOrg(QPointF origin);
    void setWindowExt(QSizeF extent);
    void setViewportOrg(QPointF origin);
    void setViewportExt(QSizeF extent);
    void offsetWindowOrg(QPointF by);
    void offsetViewportOrg(QPointF by);
    void scaleWindowExt(double xNum, double xDenom, double yNum, double yDenom);
    void scaleViewportExt(double xNum, double xDenom, double yNum, double yDenom);
    void setWorldTransform(const QTransform& transform);
    void modifyWorldTransform(const QTransform& transform, int mode);
    QTransform toDevice() const;

    void saveDc();
    void restoreDc(int relative);

    // Simple state.
    void setBackgroundOpaque(bool opaque) { state_.opaqueBackground = opaque; }
    void setBackgroundColour(QColor colour) { state_.backgroundColour = colour; }
    void setTextColour(QColor colour) { state_.textColour = colour; }
    void setFillRule(Qt::FillRule rule) { state_.fillRule = rule; }
    void setTextAlign(std::uint32_t align) { state_.textAlign = align; }
    void setArcClockwise(bool clockwise) { state_.arcClockwise = clockwise; }
    // HALFTONE (4) smooths stretched bitmaps; GDI's other modes drop or merge whole pixels.
    void setStretchMode(int mode) { state_.smoothStretch = mode == 4; }
    QColor backgroundColour() const { return state_.backgroundColour; }
    QBrush currentBrush() const { return state_.brush.null ? QBrush() : state_.brush.brush; }

    // Drawing.
    void moveTo(QPointF point);
    void lineTo(QPointF point);
    void polyline(const QPolygonF& points);
    void polylineTo(const QPolygonF& points);
    void polyBezier(const QPolygonF& points);
    void polyBezierTo(const QPolygonF& points);
    void polygon(const QPolygonF& points);
    void polyPolygon(const std::vector<QPolygonF>& polygons);
    void polyPolyline(const std::vector<QPolygonF>& polylines);
    void rectangle(const QRectF& rect);
    void roundRect(const QRectF& rect, QSizeF corner);
    void ellipse(const QRectF& rect);
    void arc(const QRectF& box, QPointF start, QPointF end, ArcKind kind);
    void fillRect(const QRectF& rect, const QBrush& brush);
    void text(QPointF reference, const QString& text);
    // 8-bit text in the code page of the selected font's character set.
    QString decodeText(QByteArrayView bytes) const;
    void image(const QImage& picture, const QRectF& target);

    // Embedded bitmaps share one budget of decoded pixels, so that a small file cannot hold
    // many large ones: the most the next one may have, and the charge for one kept.
    qint64 imagePixelsLeft(qint64 limit) const { return std::min(limit, imagePixelsLeft_); }
    void chargeImagePixels(const QImage& picture);

    // Paths.
    void beginPath();
    void endPath() { inPath_ = false; }
    void abortPath();
    void closeFigure();
    void fillPath();
    void strokePath();
    void strokeAndFillPath();
    void selectClipPath(ClipMode mode);

    // Clipping; regions come in device units.
    void intersectClipRect(const QRectF& rect);
    void excludeClipRect(const QRectF& rect);
    void selectClipRegion(const std::vector<QRectF>& deviceRects, ClipMode mode);

    // The page when the first item was drawn, and the window then, when one was set.
    struct FirstDrawing {
        QTransform toDevice;
        std::optional<QRectF> window;
    };
    std::optional<FirstDrawing> firstDrawing() const { return first_; }

    // Union of the device-space bounds of everything drawn; empty when nothing was.
    QRectF contentBounds() const { return content_; }
    // The drawing's `area` (device units) at `pixelsPerUnit`, onto white. Null when the area
    // is empty, the picture would exceed `maxPixels`, or painting it would cost more than
    // its budget (see paint_budget.h).
    QImage render(const QRectF& area, QSizeF pixelsPerUnit, qint64 maxPixels) const;

    // The work of playing the records so far, in steps (a record, a point added to a path, a
    // point of a clip combined with another). Past `kMaxWork`, more than any real drawing
    // needs, the players give the picture up as unreadable.
    static constexpr qint64 kMaxWork = qint64{1} << 24;
    void chargeRecord() { ++work_; }
    bool withinBudget() const { return work_ <= kMaxWork; }

  private:
    struct State {
        Pen pen;
        Brush brush;
        Font font;
        QColor textColour = Qt::black;
        QColor backgroundColour = Qt::white;
        bool opaqueBackground = true;
        Qt::FillRule fillRule = Qt::OddEvenFill;
        std::uint32_t textAlign = 0;
        bool arcClockwise = false;
        bool smoothStretch = false;
        int mapMode = 1;
        QPointF windowOrg, viewportOrg;
        QSizeF windowExt{1, 1}, viewportExt{1, 1};
        bool windowExtSet = false;
        QTransform world;
        QPointF position;
        std::optional<QPainterPath> clip; // device space; none = everything
    };
    struct Item {
        QPainterPath path; // logical
        QTransform toDevice;
        QPen pen{Qt::NoPen};
        QBrush brush{Qt::NoBrush};
        QColor hatchBackground; // invalid = transparent
        std::optional<QPainterPath> clip;
        QImage picture; // drawn into path's bounding rect when set
        bool smooth = false;
    };

    void draw(const QPainterPath& path, bool fill, bool stroke);
    void add(Item item, QRectF deviceBounds);
    void pathOrDraw(const QPainterPath& shape, bool fill, bool stroke);
    QPen strokePen() const;
    void combineClip(const QPainterPath& deviceShape, ClipMode mode);

    PageRule rule_;
    QSizeF unitsPerMm_;
    State state_;
    std::vector<State> saved_;
    std::map<std::uint32_t, Object> objects_;
    bool inPath_ = false;
    QPainterPath path_; // logical, of the open or last closed bracket
    std::vector<Item> items_;
    QRectF content_;
    std::optional<FirstDrawing> first_;
    qint64 imagePixelsLeft_ = qint64{1} << 26;
    qint64 work_ = 0;
};

// The device-space area a picture shows: the one its header states, unless most of what was
// drawn lies outside it (a header written with the wrong units), then the drawing's bounds.
QRectF pictureArea(const QRectF& stated, const QRectF& content);

} // namespace vistello::media::gdi
