#pragma once
// The objects a GDI device context selects (pens, brushes, fonts; palettes and regions only
// hold their slot), made from the fields of GDI's LOG* structures as metafiles store them.

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QList>
#include <QPen>

#include <cstdint>
#include <variant>

namespace vistello::media::gdi {

struct Pen {
    bool null = false;
    QPen pen; // width in logical units; 0 = one device pixel
};
struct Brush {
    bool null = false;
    QBrush brush; // hatches keep their background to the DC's background mode
};
struct Font {
    QFont font;          // pixel size unset: `height` is in logical units
    double height = 12;  // em height in logical units
    double angleDeg = 0; // escapement, counter-clockwise
    int charset = 0;     // LOGFONT's: how 8-bit text in this font is coded
};
// Palettes and regions only hold their place in the object table.
struct Placeholder {};
using Object = std::variant<Placeholder, Pen, Brush, Font>;

// Stock object `number` (GetStockObject's, without the metafile's top bit).
Object stockObject(std::uint32_t number);

// A pen from the style bits, width and colour of GDI's LOGPEN or EXTLOGPEN (`geometric`: the
// width is in logical units, else the pen is one pixel wide), with a user style's dashes.
Pen penFromStyle(std::uint32_t style, double width, QColor colour, bool geometric,
                 const QList<qreal>& userDashes = {});
// A brush from the style, colour and hatch of GDI's LOGBRUSH.
Brush brushFromStyle(std::uint32_t style, QColor colour, std::uint32_t hatch);

// The Windows code page of a LOGFONT character set, by ICU's name; none for symbol fonts and
// unknown sets, whose bytes are taken as Latin-1.
const char* codePageOf(int charset);

} // namespace vistello::media::gdi
