#include "media/gdi_objects.h"

#include <cmath>

namespace vistello::media::gdi {

Object stockObject(std::uint32_t number) {
    const auto solid = [](QColor c) { return Brush{false, QBrush(c)}; };
    switch (number) {
    case 0:
        return solid(Qt::white);
    case 1:
        return solid(QColor(192, 192, 192));
    case 2:
        return solid(QColor(128, 128, 128));
    case 3:
        return solid(QColor(64, 64, 64));
    case 4:
        return solid(Qt::black);
    case 5:
        return Brush{true, {}};
    case 6:
        return Pen{false, QPen(Qt::white, 0)};
    case 7:
        return Pen{false, QPen(Qt::black, 0)};
    case 8:
        return Pen{true, {}};
    case 10:
    case 11:
    case 12:
    case 13:
    case 14:
    case 16:
    case 17:
        return Font{};
    case 18:
        return solid(Qt::white); // DC brush
    case 19:
        return Pen{false, QPen(Qt::black, 0)};
    default:
        return Placeholder{};
    }
}

// The Windows code page of a LOGFONT character set; Latin-1 for symbol fonts and unknown sets.
const char* codePageOf(int charset) {
    switch (charset) {
    case 0:
    case 1:
        return "windows-1252"; // ANSI, and the default set of a machine unknown here
    case 128:
        return "Shift_JIS";
    case 129:
        return "CP949";
    case 134:
        return "GBK";
    case 136:
        return "Big5";
    case 161:
        return "windows-1253";
    case 162:
        return "windows-1254";
    case 163:
        return "windows-1258";
    case 177:
        return "windows-1255";
    case 178:
        return "windows-1256";
    case 186:
        return "windows-1257";
    case 204:
        return "windows-1251";
    case 222:
        return "windows-874";
    case 238:
        return "windows-1250";
    case 255:
        return "IBM437";
    default:
        return nullptr;
    }
}

Pen penFromStyle(std::uint32_t style, double width, QColor colour, bool geometric,
                 const QList<qreal>& userDashes) {
    constexpr std::uint32_t kNull = 5;
    if ((style & 0xF) == kNull)
        return Pen{true, {}};
    QPen pen(colour, geometric ? std::abs(width) : 0);
    switch (style & 0xF) {
    case 1:
        pen.setStyle(Qt::DashLine);
        break;
    case 2:
        pen.setStyle(Qt::DotLine);
        break;
    case 3:
        pen.setStyle(Qt::DashDotLine);
        break;
    case 4:
        pen.setStyle(Qt::DashDotDotLine);
        break;
    default:
        pen.setStyle(Qt::SolidLine);
        break;
    }
    const std::uint32_t cap = style & 0xF00, join = style & 0xF000;
    pen.setCapStyle(cap == 0x100 ? Qt::SquareCap : cap == 0x200 ? Qt::FlatCap : Qt::RoundCap);
    pen.setJoinStyle(join == 0x1000 ? Qt::BevelJoin : join == 0x2000 ? Qt::MiterJoin : Qt::RoundJoin);
    constexpr std::uint32_t kUserStyle = 7;
    if ((style & 0xF) == kUserStyle && !userDashes.isEmpty())
        pen.setDashPattern(userDashes);
    return Pen{false, pen};
}

Brush brushFromStyle(std::uint32_t style, QColor colour, std::uint32_t hatch) {
    constexpr std::uint32_t kNull = 1, kHatched = 2;
    if (style == kNull)
        return Brush{true, {}};
    if (style == kHatched) {
        static constexpr Qt::BrushStyle kHatches[] = {Qt::HorPattern,   Qt::VerPattern,
                                                      Qt::BDiagPattern, Qt::FDiagPattern,
                                                      Qt::CrossPattern, Qt::DiagCrossPattern};
        return Brush{false, QBrush(colour, hatch < 6 ? kHatches[hatch] : Qt::SolidPattern)};
    }
    // Solid, and pattern kinds whose picture comes in records of their own, fill with the colour.
    return Brush{false, QBrush(colour)};
}

} // namespace vistello::media::gdi
