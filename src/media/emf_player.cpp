#include "media/emf_player.h"

#include "media/dib_image.h"
#include "media/gdi_canvas.h"
#include "media/metafile_records.h"

#include <QString>

#include <cmath>

namespace vistello::media::metafile {

namespace {

using gdi::Canvas;

enum Emr : std::uint32_t {
    PolyBezier = 2,
    Polygon = 3,
    Polyline = 4,
    PolyBezierTo = 5,
    PolylineTo = 6,
    PolyPolyline = 7,
    PolyPolygon = 8,
    SetWindowExtEx = 9,
    SetWindowOrgEx = 10,
    SetViewportExtEx = 11,
    SetViewportOrgEx = 12,
    SetMapMode = 17,
    SetBkMode = 18,
    SetPolyFillMode = 19,
    SetStretchBltMode = 21,
    SetTextAlign = 22,
    SetTextColor = 24,
    SetBkColor = 25,
    MoveToEx = 27,
    ExcludeClipRect = 29,
    IntersectClipRect = 30,
    ScaleViewportExtEx = 31,
    ScaleWindowExtEx = 32,
    SaveDc = 33,
    RestoreDc = 34,
    SetWorldTransform = 35,
    ModifyWorldTransform = 36,
    SelectObject = 37,
    CreatePen = 38,
    CreateBrushIndirect = 39,
    DeleteObject = 40,
    Ellipse = 42,
    Rectangle = 43,
    RoundRect = 44,
    Arc = 45,
    Chord = 46,
    Pie = 47,
    LineTo = 54,
    SetArcDirection = 57,
    BeginPath = 59,
    EndPath = 60,
    CloseFigure = 61,
    FillPath = 62,
    StrokeAndFillPath = 63,
    StrokePath = 64,
    SelectClipPath = 67,
    AbortPath = 68,
    ExtSelectClipRgn = 75,
    BitBlt = 76,
    StretchBlt = 77,
    StretchDiBits = 81,
    ExtCreateFontIndirectW = 82,
    ExtTextOutA = 83,
    ExtTextOutW = 84,
    PolyBezier16 = 85,
    Polygon16 = 86,
    Polyline16 = 87,
    PolyBezierTo16 = 88,
    PolylineTo16 = 89,
    PolyPolyline16 = 90,
    PolyPolygon16 = 91,
    CreateMonoBrush = 93,
    CreateDibPatternBrushPt = 94,
    ExtCreatePen = 95,
};

QPointF point32(const RecordView& r, qint64 at) {
    return QPointF(r.i32(at), r.i32(at + 4));
}
QRectF rect32(const RecordView& r, qint64 at) {
    return QRectF(QPointF(r.i32(at), r.i32(at + 4)), QPointF(r.i32(at + 8), r.i32(at + 12)));
}

// `count` points at `at`, 16 or 32 bits a coordinate; empty when they do not fit.
QPolygonF points(const RecordView& r, qint64 at, qint64 count, bool small) {
    const qint64 size = small ? 4 : 8;
    if (count <= 0 || !r.has(at, count * size))
        return {};
    QPolygonF out;
    out.reserve(count);
    for (qint64 i = 0; i < count; ++i) {
        const qint64 p = at + i * size;
        out.append(small ? QPointF(r.i16(p), r.i16(p + 2)) : point32(r, p));
    }
    return out;
}

// PolyPolygon and PolyPolyline: counts after the bounds, then all the points.
std::vector<QPolygonF> polygons(const RecordView& r, bool small) {
    const qint64 groups = r.u32(24), total = r.u32(28);
    constexpr qint64 kCountsAt = 32;
    if (!r.has(kCountsAt, groups * 4))
        return {};
    const QPolygonF all = points(r, kCountsAt + groups * 4, total, small);
    std::vector<QPolygonF> out;
    qint64 used = 0;
    for (qint64 g = 0; g < groups; ++g) {
        const qint64 n = r.u32(kCountsAt + 4 * g);
        if (n > all.size() - used)
            return {};
        out.push_back(all.mid(used, n));
        used += n;
    }
    return out;
}

// The dash and gap lengths of a user-styled pen, in logical units, as Qt's multiples of the
// pen's width; none when they are missing or unusable.
QList<qreal> userDashes(const RecordView& r, double width) {
    constexpr qint64 kCountAt = 48, kEntriesAt = 52, kMaxEntries = 16;
    const qint64 count = r.u32(kCountAt);
    if (count < 2 || count > kMaxEntries || count % 2 || !r.has(kEntriesAt, 4 * count))
        return {};
    const double unit = std::max(width, 1.0);
    QList<qreal> dashes;
    for (qint64 i = 0; i < count; ++i) {
        const std::uint32_t length = r.u32(kEntriesAt + 4 * i);
        if (length == 0 || length > 1u << 20)
            return {};
        dashes.append(length / unit);
    }
    return dashes;
}

gdi::Font fontFrom(const RecordView& r, qint64 at, QString face) {
    gdi::Font font;
    font.height = r.i32(at);
    font.angleDeg = r.i32(at + 8) / 10.0;
    const int weight = r.i32(at + 16);
    if (weight > 0)
        font.font.setWeight(static_cast<QFont::Weight>(std::clamp(weight, 1, 1000)));
    font.font.setItalic(r.u8(at + 20) != 0);
    font.font.setUnderline(r.u8(at + 21) != 0);
    font.font.setStrikeOut(r.u8(at + 22) != 0);
    font.charset = r.u8(at + 23);
    if (!face.isEmpty())
        font.font.setFamily(face);
    return font;
}

QImage bitmapOf(const RecordView& r, qint64 infoAt, qint64 infoSize, qint64 bitsAt, qint64 bitsSize,
                qint64 maxPixels) {
    const QByteArrayView info = r.slice(infoAt, infoSize), bits = r.slice(bitsAt, bitsSize);
    if (info.isEmpty() || bits.isEmpty())
        return {};
    return decodeDib(info, bits, maxPixels);
}

// The part of a bitmap that a blit names, in top-down rows.
QImage sourcePart(const QImage& bitmap, qint64 x, qint64 y, qint64 width, qint64 height) {
    if (bitmap.isNull() || (x == 0 && y == 0 && width == bitmap.width() && height == bitmap.height()))
        return bitmap;
    const QRect part = QRect(QPoint(0, 0), bitmap.size()) &
                       QRect(static_cast<int>(std::clamp<qint64>(x, -1, bitmap.width())),
                             static_cast<int>(std::clamp<qint64>(y, -1, bitmap.height())),
                             static_cast<int>(std::clamp<qint64>(width, 0, bitmap.width())),
                             static_cast<int>(std::clamp<qint64>(height, 0, bitmap.height())));
    return part.isEmpty() ? QImage() : bitmap.copy(part);
}

// UTF-16 text read unit by unit: the file need not align it.
QString utf16(const RecordView& r, qint64 at, qint64 count) {
    QString out;
    out.reserve(count);
    for (qint64 i = 0; i < count && r.has(at + 2 * i, 2); ++i)
        out.append(QChar(r.u16(at + 2 * i)));
    return out;
}

void text(Canvas& canvas, const RecordView& r, bool wide) {
    constexpr qint64 kTextAt = 36;
    const QPointF reference = point32(r, kTextAt);
    const qint64 count = r.u32(kTextAt + 8), offset = r.u32(kTextAt + 12);
    const std::uint32_t options = r.u32(kTextAt + 16);
    constexpr std::uint32_t kOpaque = 2;
    if (options & kOpaque) {
        const QRectF box = rect32(r, kTextAt + 20);
        if (!box.isEmpty())
            canvas.fillRect(box, QBrush(canvas.backgroundColour()));
    }
    if (count <= 0 || !r.has(offset, count * (wide ? 2 : 1)))
        return;
    canvas.text(reference, wide ? utf16(r, offset, count) : canvas.decodeText(r.slice(offset, count)));
}

void play(Canvas& canvas, const RecordView& r, std::uint32_t type, qint64 maxPixels) {
    switch (type) {
    case PolyBezier:
    case PolyBezier16:
        canvas.polyBezier(points(r, 28, r.u32(24), type == PolyBezier16));
        break;
    case Polygon:
    case Polygon16:
        canvas.polygon(points(r, 28, r.u32(24), type == Polygon16));
        break;
    case Polyline:
    case Polyline16:
        canvas.polyline(points(r, 28, r.u32(24), type == Polyline16));
        break;
    case PolyBezierTo:
    case PolyBezierTo16:
        canvas.polyBezierTo(points(r, 28, r.u32(24), type == PolyBezierTo16));
        break;
    case PolylineTo:
    case PolylineTo16:
        canvas.polylineTo(points(r, 28, r.u32(24), type == PolylineTo16));
        break;
    case PolyPolyline:
    case PolyPolyline16:
        canvas.polyPolyline(polygons(r, type == PolyPolyline16));
        break;
    case PolyPolygon:
    case PolyPolygon16:
        canvas.polyPolygon(polygons(r, type == PolyPolygon16));
        break;
    case SetWindowExtEx:
        canvas.setWindowExt(QSizeF(r.i32(8), r.i32(12)));
        break;
    case SetWindowOrgEx:
        canvas.setWindowOrg(point32(r, 8));
        break;
    case SetViewportExtEx:
        canvas.setViewportExt(QSizeF(r.i32(8), r.i32(12)));
        break;
    case SetViewportOrgEx:
        canvas.setViewportOrg(point32(r, 8));
        break;
    case ScaleViewportExtEx:
        canvas.scaleViewportExt(r.i32(8), r.i32(12), r.i32(16), r.i32(20));
        break;
    case ScaleWindowExtEx:
        canvas.scaleWindowExt(r.i32(8), r.i32(12), r.i32(16), r.i32(20));
        break;
    case SetMapMode:
        canvas.setMapMode(r.i32(8));
        break;
    case SetBkMode:
        canvas.setBackgroundOpaque(r.u32(8) == 2);
        break;
    case SetPolyFillMode:
        canvas.setFillRule(r.u32(8) == 2 ? Qt::WindingFill : Qt::OddEvenFill);
        break;
    case SetTextAlign:
        canvas.setTextAlign(r.u32(8));
        break;
    case SetStretchBltMode:
        canvas.setStretchMode(r.i32(8));
        break;
    case SetTextColor:
        canvas.setTextColour(r.colour(8));
        break;
    case SetBkColor:
        canvas.setBackgroundColour(r.colour(8));
        break;
    case SetArcDirection:
        canvas.setArcClockwise(r.u32(8) == 2);
        break;
    case MoveToEx:
        canvas.moveTo(point32(r, 8));
        break;
    case LineTo:
        canvas.lineTo(point32(r, 8));
        break;
    case ExcludeClipRect:
        canvas.excludeClipRect(rect32(r, 8));
        break;
    case IntersectClipRect:
        canvas.intersectClipRect(rect32(r, 8));
        break;
    case SaveDc:
        canvas.saveDc();
        break;
    case RestoreDc:
        canvas.restoreDc(r.i32(8));
        break;
    case SetWorldTransform:
    case ModifyWorldTransform: {
        const QTransform t(r.f32(8), r.f32(12), r.f32(16), r.f32(20), r.f32(24), r.f32(28));
        if (type == SetWorldTransform)
            canvas.setWorldTransform(t);
        else
            canvas.modifyWorldTransform(t, static_cast<int>(r.u32(32)));
        break;
    }
    case SelectObject:
        canvas.selectObject(r.u32(8));
        break;
    case DeleteObject:
        canvas.deleteObject(r.u32(8));
        break;
    case CreatePen:
        canvas.createObject(r.u32(8), gdi::penFromStyle(r.u32(12), r.i32(16), r.colour(24), true));
        break;
    case ExtCreatePen: {
        constexpr std::uint32_t kGeometric = 0x10000;
        const std::uint32_t style = r.u32(28), width = r.u32(32);
        canvas.createObject(r.u32(8), gdi::penFromStyle(style, width, r.colour(40), style & kGeometric,
                                                        userDashes(r, width)));
        break;
    }
    case CreateBrushIndirect:
        canvas.createObject(r.u32(8), gdi::brushFromStyle(r.u32(12), r.colour(16), r.u32(20)));
        break;
    case CreateMonoBrush:
    case CreateDibPatternBrushPt: {
        const QImage pattern =
            bitmapOf(r, r.u32(16), r.u32(20), r.u32(24), r.u32(28), canvas.imagePixelsLeft(1 << 20));
        canvas.chargeImagePixels(pattern);
        canvas.createObject(r.u32(8), pattern.isNull() ? gdi::Brush{false, QBrush(Qt::gray)}
                                                       : gdi::Brush{false, QBrush(pattern)});
        break;
    }
    case ExtCreateFontIndirectW: {
        constexpr qint64 kFaceAt = 12 + 28, kFaceChars = 32;
        QString name = utf16(r, kFaceAt, kFaceChars);
        if (const qsizetype end = name.indexOf(QChar(0)); end >= 0)
            name.truncate(end);
        canvas.createObject(r.u32(8), fontFrom(r, 12, name));
        break;
    }
    case Ellipse:
        canvas.ellipse(rect32(r, 8));
        break;
    case Rectangle:
        canvas.rectangle(rect32(r, 8));
        break;
    case RoundRect:
        canvas.roundRect(rect32(r, 8), QSizeF(r.i32(24), r.i32(28)));
        break;
    case Arc:
    case Chord:
    case Pie:
        canvas.arc(rect32(r, 8), point32(r, 24), point32(r, 32),
                   type == Arc     ? gdi::ArcKind::Arc
                   : type == Chord ? gdi::ArcKind::Chord
                                   : gdi::ArcKind::Pie);
        break;
    case BeginPath:
        canvas.beginPath();
        break;
    case EndPath:
        canvas.endPath();
        break;
    case CloseFigure:
        canvas.closeFigure();
        break;
    case FillPath:
        canvas.fillPath();
        break;
    case StrokeAndFillPath:
        canvas.strokeAndFillPath();
        break;
    case StrokePath:
        canvas.strokePath();
        break;
    case AbortPath:
        canvas.abortPath();
        break;
    case SelectClipPath:
        canvas.selectClipPath(static_cast<gdi::ClipMode>(std::clamp<std::uint32_t>(r.u32(8), 1, 5)));
        break;
    case ExtSelectClipRgn: {
        const qint64 dataSize = r.u32(8);
        const auto mode = static_cast<gdi::ClipMode>(std::clamp<std::uint32_t>(r.u32(12), 1, 5));
        constexpr qint64 kRegionAt = 16, kRectsAt = kRegionAt + 32;
        const qint64 count = dataSize >= 32 ? r.u32(kRegionAt + 8) : 0;
        std::vector<QRectF> rects;
        if (count > 0 && r.has(kRectsAt, count * 16))
            for (qint64 i = 0; i < count; ++i)
                rects.push_back(rect32(r, kRectsAt + 16 * i));
        canvas.selectClipRegion(rects, mode);
        break;
    }
    case BitBlt:
    case StretchBlt: {
        const QRectF target(r.i32(24), r.i32(28), r.i32(32), r.i32(36));
        const qint64 infoSize = r.u32(88);
        if (infoSize == 0) { // no source: a pattern fill with the brush, or black or white
            const std::uint32_t rop = r.u32(40);
            canvas.fillRect(target, rop == 0x42       ? QBrush(Qt::black)
                                    : rop == 0xFF0062 ? QBrush(Qt::white)
                                                      : canvas.currentBrush());
            break;
        }
        const QImage bitmap =
            bitmapOf(r, r.u32(84), infoSize, r.u32(92), r.u32(96), canvas.imagePixelsLeft(maxPixels));
        const qint64 width = type == StretchBlt ? r.i32(100) : r.i32(32);
        const qint64 height = type == StretchBlt ? r.i32(104) : r.i32(36);
        canvas.image(sourcePart(bitmap, r.i32(44), r.i32(48), width, height), target);
        break;
    }
    case StretchDiBits: {
        const QImage bitmap =
            bitmapOf(r, r.u32(48), r.u32(52), r.u32(56), r.u32(60), canvas.imagePixelsLeft(maxPixels));
        const qint64 srcHeight = r.i32(44), srcY = r.i32(36);
        // The source rectangle counts rows from the bottom of a bottom-up bitmap.
        const bool bottomUp = r.i32(r.u32(48) + 8) > 0;
        const qint64 top = bottomUp && !bitmap.isNull() ? bitmap.height() - srcY - srcHeight : srcY;
        canvas.image(sourcePart(bitmap, r.i32(32), top, r.i32(40), srcHeight),
                     QRectF(r.i32(24), r.i32(28), r.i32(72), r.i32(76)));
        break;
    }
    case ExtTextOutW:
        text(canvas, r, true);
        break;
    case ExtTextOutA:
        text(canvas, r, false);
        break;
    default:
        break; // comments (EMF+ among them), palettes and the rest change nothing drawn
    }
}

} // namespace

QImage playEmf(QByteArrayView bytes, qint64 maxPixels) {
    const RecordView header(bytes.first(std::min<qsizetype>(bytes.size(), RecordView(bytes).u32(4))));
    const QRectF frame = rect32(header, 24); // 0.01 mm
    // The reference device's size in pixels and in millimetres (micrometres when given).
    QSizeF unitsPerMm(header.i32(72) / std::max(1.0, double(header.i32(80))),
                      header.i32(76) / std::max(1.0, double(header.i32(84))));
    const std::uint32_t descriptionLength = header.u32(60), descriptionAt = header.u32(64);
    const std::uint32_t formatLength = header.u32(88), formatAt = header.u32(92);
    const bool hasMicrometres = header.has(100, 8) && (descriptionLength == 0 || descriptionAt >= 108) &&
                                (formatLength == 0 || formatAt >= 108) && header.i32(100) > 0 &&
                                header.i32(104) > 0;
    if (hasMicrometres)
        unitsPerMm =
            QSizeF(header.i32(72) * 1000.0 / header.i32(100), header.i32(76) * 1000.0 / header.i32(104));
    if (!(unitsPerMm.width() > 0 && unitsPerMm.height() > 0))
        unitsPerMm = QSizeF(96 / 25.4, 96 / 25.4);
    Canvas canvas(gdi::PageRule::Gdi, unitsPerMm);
    qint64 at = 0;
    while (at + 8 <= bytes.size()) {
        const RecordView fields(bytes.sliced(at, 8));
        const std::uint32_t type = fields.u32(0), length = fields.u32(4);
        if (length < 8 || length > bytes.size() - at)
            break;
        constexpr std::uint32_t kEof = 14;
        if (type == kEof)
            break;
        canvas.chargeRecord();
        play(canvas, RecordView(bytes.sliced(at, length)), type, maxPixels);
        if (!canvas.withinBudget())
            return {}; // more work than any real drawing: refused like a damaged file
        at += length;
    }
    const QRectF stated(frame.left() / 100 * unitsPerMm.width(), frame.top() / 100 * unitsPerMm.height(),
                        frame.width() / 100 * unitsPerMm.width(), frame.height() / 100 * unitsPerMm.height());
    const QRectF area = gdi::pictureArea(stated.normalized(), canvas.contentBounds());
    // Screen resolution: a frame of one inch comes out 96 pixels wide.
    const QSizeF pixelsPerUnit(96 / 25.4 / unitsPerMm.width(), 96 / 25.4 / unitsPerMm.height());
    return canvas.render(area, pixelsPerUnit, maxPixels);
}

} // namespace vistello::media::metafile
