#include "media/wmf_player.h"

#include "media/dib_image.h"
#include "media/gdi_canvas.h"
#include "media/metafile_records.h"

#include <QString>

#include <set>
#include <vector>

namespace vistello::media::metafile {

namespace {

using gdi::Canvas;

enum Meta : std::uint16_t {
    SaveDc = 0x001E,
    SetBkMode = 0x0102,
    SetMapMode = 0x0103,
    SetPolyFillMode = 0x0106,
    SetStretchBltMode = 0x0107,
    SetTextAlign = 0x012E,
    SetBkColor = 0x0201,
    SetTextColor = 0x0209,
    SetWindowOrg = 0x020B,
    SetWindowExt = 0x020C,
    SetViewportOrg = 0x020D,
    SetViewportExt = 0x020E,
    OffsetWindowOrg = 0x020F,
    LineTo = 0x0213,
    MoveTo = 0x0214,
    ScaleWindowExt = 0x0410,
    ExcludeClipRect = 0x0415,
    IntersectClipRect = 0x0416,
    Ellipse = 0x0418,
    Rectangle = 0x041B,
    RoundRect = 0x061C,
    PatBlt = 0x061D,
    Arc = 0x0817,
    Pie = 0x081A,
    Chord = 0x0830,
    Polygon = 0x0324,
    Polyline = 0x0325,
    PolyPolygon = 0x0538,
    TextOut = 0x0521,
    ExtTextOut = 0x0A32,
    RestoreDc = 0x0127,
    SelectObject = 0x012D,
    DeleteObject = 0x01F0,
    CreatePalette = 0x00F7,
    CreatePatternBrush = 0x01F9,
    CreatePenIndirect = 0x02FA,
    CreateFontIndirect = 0x02FB,
    CreateBrushIndirect = 0x02FC,
    DibCreatePatternBrush = 0x0142,
    CreateRegion = 0x06FF,
    DibBitBlt = 0x0940,
    DibStretchBlt = 0x0B41,
    StretchDib = 0x0F43,
};

constexpr qint64 kParams = 6; // after the record's size (32 bits) and function (16 bits)

// Parameters are 16-bit words; a point is stored y first.
qint64 word(const RecordView& r, int index) {
    return r.i16(kParams + 2 * index);
}
QPointF pointAt(const RecordView& r, int yIndex) {
    return QPointF(word(r, yIndex + 1), word(r, yIndex));
}
// A rectangle stored bottom, right, top, left from word `index`.
QRectF boxAt(const RecordView& r, int index) {
    return QRectF(QPointF(word(r, index + 3), word(r, index + 2)),
                  QPointF(word(r, index + 1), word(r, index)));
}

QPolygonF pointsAt(const RecordView& r, qint64 at, qint64 count) {
    if (count <= 0 || !r.has(at, 4 * count))
        return {};
    QPolygonF out;
    out.reserve(count);
    for (qint64 i = 0; i < count; ++i)
        out.append(QPointF(r.i16(at + 4 * i), r.i16(at + 4 * i + 2)));
    return out;
}

// WMF objects take the lowest free slot of the table when created.
class ObjectTable {
  public:
    explicit ObjectTable(Canvas& canvas) : canvas_(canvas) {}
    void create(gdi::Object object) {
        constexpr std::uint32_t kMaxSlots = 65536;
        std::uint32_t slot;
        if (!freed_.empty()) {
            slot = *freed_.begin();
            freed_.erase(freed_.begin());
        } else if (next_ < kMaxSlots) {
            slot = next_++;
        } else {
            return;
        }
        canvas_.createObject(slot, std::move(object));
    }
    void remove(std::uint16_t slot) {
        if (slot < next_ && canvas_.deleteObject(slot))
            freed_.insert(slot);
    }

  private:
    Canvas& canvas_;
    std::uint32_t next_ = 0;        // slots from here on were never used
    std::set<std::uint32_t> freed_; // used once, free again
};

// LOGPEN16: style, width (x; y unused), colour. WMF pens are always geometric.
gdi::Pen penFrom(const RecordView& r) {
    return gdi::penFromStyle(r.u16(kParams), std::abs(word(r, 1)), r.colour(kParams + 6), true);
}

// LOGBRUSH16: style, colour, hatch.
gdi::Brush brushFrom(const RecordView& r) {
    return gdi::brushFromStyle(r.u16(kParams), r.colour(kParams + 2), r.u16(kParams + 6));
}

gdi::Font fontFrom(const RecordView& r) {
    gdi::Font font;
    font.height = word(r, 0);
    font.angleDeg = word(r, 2) / 10.0;
    const qint64 weight = word(r, 4);
    if (weight > 0)
        font.font.setWeight(static_cast<QFont::Weight>(std::clamp<qint64>(weight, 1, 1000)));
    font.font.setItalic(r.u8(kParams + 10) != 0);
    font.font.setUnderline(r.u8(kParams + 11) != 0);
    font.font.setStrikeOut(r.u8(kParams + 12) != 0);
    font.charset = r.u8(kParams + 13);
    const QByteArrayView face = r.slice(kParams + 18, std::min<qint64>(32, r.size() - kParams - 18));
    const qsizetype end = face.indexOf('\0');
    const QString name = QString::fromLatin1(end < 0 ? face : face.first(end));
    if (!name.isEmpty())
        font.font.setFamily(name);
    return font;
}

void image(Canvas& canvas, const RecordView& r, qint64 dibAt, QRectF target, qint64 maxPixels) {
    const QImage bitmap =
        decodePackedDib(r.slice(dibAt, r.size() - dibAt), canvas.imagePixelsLeft(maxPixels));
    canvas.image(bitmap, target.normalized());
}

void play(Canvas& canvas, ObjectTable& objects, const RecordView& r, std::uint16_t function,
          qint64 maxPixels) {
    switch (function) {
    case SaveDc:
        canvas.saveDc();
        break;
    case RestoreDc:
        canvas.restoreDc(static_cast<int>(word(r, 0)));
        break;
    case SetBkMode:
        canvas.setBackgroundOpaque(r.u16(kParams) == 2);
        break;
    case SetMapMode:
        canvas.setMapMode(r.u16(kParams));
        break;
    case SetPolyFillMode:
        canvas.setFillRule(r.u16(kParams) == 2 ? Qt::WindingFill : Qt::OddEvenFill);
        break;
    case SetTextAlign:
        canvas.setTextAlign(r.u16(kParams));
        break;
    case SetStretchBltMode:
        canvas.setStretchMode(r.u16(kParams));
        break;
    case SetBkColor:
        canvas.setBackgroundColour(r.colour(kParams));
        break;
    case SetTextColor:
        canvas.setTextColour(r.colour(kParams));
        break;
    case SetWindowOrg:
        canvas.setWindowOrg(pointAt(r, 0));
        break;
    case SetWindowExt:
        canvas.setWindowExt(QSizeF(word(r, 1), word(r, 0)));
        break;
    case SetViewportOrg:
        canvas.setViewportOrg(pointAt(r, 0));
        break;
    case SetViewportExt:
        canvas.setViewportExt(QSizeF(word(r, 1), word(r, 0)));
        break;
    case OffsetWindowOrg:
        canvas.offsetWindowOrg(pointAt(r, 0));
        break;
    case ScaleWindowExt:
        canvas.scaleWindowExt(word(r, 3), word(r, 2), word(r, 1), word(r, 0));
        break;
    case MoveTo:
        canvas.moveTo(pointAt(r, 0));
        break;
    case LineTo:
        canvas.lineTo(pointAt(r, 0));
        break;
    case ExcludeClipRect:
        canvas.excludeClipRect(boxAt(r, 0));
        break;
    case IntersectClipRect:
        canvas.intersectClipRect(boxAt(r, 0));
        break;
    case Ellipse:
        canvas.ellipse(boxAt(r, 0));
        break;
    case Rectangle:
        canvas.rectangle(boxAt(r, 0));
        break;
    case RoundRect:
        canvas.roundRect(boxAt(r, 2), QSizeF(word(r, 1), word(r, 0)));
        break;
    case Arc:
    case Pie:
    case Chord:
        canvas.arc(boxAt(r, 4), pointAt(r, 2), pointAt(r, 0),
                   function == Arc   ? gdi::ArcKind::Arc
                   : function == Pie ? gdi::ArcKind::Pie
                                     : gdi::ArcKind::Chord);
        break;
    case PatBlt: {
        const std::uint32_t rop = r.u32(kParams);
        const QRectF target(word(r, 5), word(r, 4), word(r, 3), word(r, 2));
        canvas.fillRect(target, rop == 0x42       ? QBrush(Qt::black)
                                : rop == 0xFF0062 ? QBrush(Qt::white)
                                                  : canvas.currentBrush());
        break;
    }
    case Polygon:
        canvas.polygon(pointsAt(r, kParams + 2, r.u16(kParams)));
        break;
    case Polyline:
        canvas.polyline(pointsAt(r, kParams + 2, r.u16(kParams)));
        break;
    case PolyPolygon: {
        const qint64 groups = r.u16(kParams);
        qint64 at = kParams + 2 + 2 * groups;
        std::vector<QPolygonF> polygons;
        for (qint64 g = 0; g < groups && r.has(at, 0); ++g) {
            const qint64 n = r.u16(kParams + 2 + 2 * g);
            polygons.push_back(pointsAt(r, at, n));
            at += 4 * n;
        }
        canvas.polyPolygon(polygons);
        break;
    }
    case TextOut: {
        const qint64 count = r.u16(kParams), padded = (count + 1) & ~qint64{1};
        const QByteArrayView chars = r.slice(kParams + 2, count);
        const qint64 after = kParams + 2 + padded;
        canvas.text(QPointF(r.i16(after + 2), r.i16(after)), canvas.decodeText(chars));
        break;
    }
    case ExtTextOut: {
        const qint64 count = r.u16(kParams + 4);
        const std::uint16_t options = r.u16(kParams + 6);
        constexpr std::uint16_t kOpaque = 2, kClipped = 4;
        const bool hasBox = options & (kOpaque | kClipped);
        if (options & kOpaque)
            canvas.fillRect(QRectF(QPointF(word(r, 4), word(r, 5)), QPointF(word(r, 6), word(r, 7))),
                            QBrush(canvas.backgroundColour()));
        const QByteArrayView chars = r.slice(kParams + 8 + (hasBox ? 8 : 0), count);
        canvas.text(pointAt(r, 0), canvas.decodeText(chars));
        break;
    }
    case SelectObject:
        canvas.selectObject(r.u16(kParams));
        break;
    case DeleteObject:
        objects.remove(r.u16(kParams));
        break;
    case CreatePenIndirect:
        objects.create(penFrom(r));
        break;
    case CreateBrushIndirect:
        objects.create(brushFrom(r));
        break;
    case CreateFontIndirect:
        objects.create(fontFrom(r));
        break;
    case DibCreatePatternBrush: {
        const QImage pattern =
            decodePackedDib(r.slice(kParams + 4, r.size() - kParams - 4), canvas.imagePixelsLeft(1 << 20));
        canvas.chargeImagePixels(pattern);
        objects.create(pattern.isNull() ? gdi::Brush{false, QBrush(Qt::gray)}
                                        : gdi::Brush{false, QBrush(pattern)});
        break;
    }
    case CreatePatternBrush:
        objects.create(gdi::Brush{false, QBrush(Qt::gray)});
        break;
    case CreatePalette:
    case CreateRegion:
        objects.create(gdi::Placeholder{});
        break;
    case StretchDib:
        image(canvas, r, kParams + 22, QRectF(word(r, 10), word(r, 9), word(r, 8), word(r, 7)), maxPixels);
        break;
    case DibStretchBlt:
        image(canvas, r, kParams + 20, QRectF(word(r, 9), word(r, 8), word(r, 7), word(r, 6)), maxPixels);
        break;
    case DibBitBlt:
        image(canvas, r, kParams + 16, QRectF(word(r, 7), word(r, 6), word(r, 5), word(r, 4)), maxPixels);
        break;
    default:
        break; // escapes, palettes and the rest change nothing drawn
    }
}

} // namespace

QImage playWmf(QByteArrayView bytes, qint64 maxPixels) {
    constexpr std::uint32_t kPlaceableKey = 0x9AC6CDD7;
    constexpr qint64 kPlaceableSize = 22, kHeaderSize = 18;
    const RecordView file(bytes);
    const bool placeable = file.u32(0) == kPlaceableKey;
    const qint64 inch = placeable ? file.u16(14) : 0;
    const QRectF frame =
        placeable ? QRectF(QPointF(file.i16(6), file.i16(8)), QPointF(file.i16(10), file.i16(12))) : QRectF();
    Canvas canvas(gdi::PageRule::WindowAtOrigin, QSizeF(1, 1));
    ObjectTable objects(canvas);
    qint64 at = (placeable ? kPlaceableSize : 0) + kHeaderSize;
    while (at + 6 <= bytes.size()) {
        const qint64 length = qint64{file.u32(at)} * 2;
        const std::uint16_t function = file.u16(at + 4);
        if (length < 6 || length > bytes.size() - at || function == 0)
            break;
        canvas.chargeRecord();
        play(canvas, objects, RecordView(bytes.sliced(at, length)), function, maxPixels);
        if (!canvas.withinBudget())
            return {}; // more work than any real drawing: refused like a damaged file
        at += length;
    }
    // The frame, or else the window, as the page placed them when drawing began.
    QRectF stated;
    if (const auto first = canvas.firstDrawing()) {
        if (placeable)
            stated = first->toDevice.mapRect(frame.normalized());
        else if (first->window)
            stated = first->toDevice.mapRect(*first->window);
    }
    const QRectF area = gdi::pictureArea(stated, canvas.contentBounds());
    const double pixelsPerUnit = placeable && inch > 0 ? 96.0 / inch : 1.0;
    return canvas.render(area, QSizeF(pixelsPerUnit, pixelsPerUnit), maxPixels);
}

} // namespace vistello::media::metafile
