// Uneven shreds and speckles: placeholder members that draw the new picture whole until the family is written.

#include "effects/families/families.h"

namespace vistello::effects {

void Effect47(Bitmap& Dest, const Bitmap& New, const Rect&, int, int, RandomSource&) {
    DrawNewWhole(Dest, New);
}

void Effect48(Bitmap& Dest, const Bitmap& New, const Rect&, int, int, RandomSource&) {
    DrawNewWhole(Dest, New);
}

void Effect49(Bitmap& Dest, const Bitmap& New, const Rect&, int, int, RandomSource&) {
    DrawNewWhole(Dest, New);
}

void Effect50(Bitmap& Dest, const Bitmap& New, const Rect&, int, int, RandomSource&) {
    DrawNewWhole(Dest, New);
}

void Effect55(Bitmap& Dest, const Bitmap& New, const Rect&, int, int, RandomSource&) {
    DrawNewWhole(Dest, New);
}

void Effect56(Bitmap& Dest, const Bitmap& New, const Rect&, int, int, RandomSource&) {
    DrawNewWhole(Dest, New);
}

void Effect57(Bitmap& Dest, const Bitmap& New, const Rect&, int, int, RandomSource&) {
    DrawNewWhole(Dest, New);
}

void Effect58(Bitmap& Dest, const Bitmap& New, const Rect&, int, int, RandomSource&) {
    DrawNewWhole(Dest, New);
}

void Effect74(Bitmap& Dest, const Bitmap& New, const Rect&, int, int, RandomSource&) {
    DrawNewWhole(Dest, New);
}

void Effect75(Bitmap& Dest, const Bitmap& New, const Rect&, int, int, RandomSource&) {
    DrawNewWhole(Dest, New);
}

void Effect76(Bitmap& Dest, const Bitmap& New, const Rect&, int, int, RandomSource&) {
    DrawNewWhole(Dest, New);
}

void Effect77(Bitmap& Dest, const Bitmap& New, const Rect&, int, int, RandomSource&) {
    DrawNewWhole(Dest, New);
}

void Effect78(Bitmap& Dest, const Bitmap& New, const Rect&, int, int, RandomSource&) {
    DrawNewWhole(Dest, New);
}

void Effect79(Bitmap& Dest, const Bitmap& New, const Rect&, int, int, RandomSource&) {
    DrawNewWhole(Dest, New);
}

void Effect80(Bitmap& Dest, const Bitmap& New, const Rect&, int, int, RandomSource&) {
    DrawNewWhole(Dest, New);
}

void Effect81(Bitmap& Dest, const Bitmap& New, const Rect&, int, int, RandomSource&) {
    DrawNewWhole(Dest, New);
}

void Effect82(Bitmap& Dest, const Bitmap& New, const Rect&, int, int, RandomSource&) {
    DrawNewWhole(Dest, New);
}

void Effect91(Bitmap& Dest, const Bitmap& New, const Rect&, int, int, RandomSource&) {
    DrawNewWhole(Dest, New);
}

void Effect92(Bitmap& Dest, const Bitmap& New, const Rect&, int, int, RandomSource&) {
    DrawNewWhole(Dest, New);
}

void Effect93(Bitmap& Dest, const Bitmap& New, const Rect&, int, int, RandomSource&) {
    DrawNewWhole(Dest, New);
}

void Effect94(Bitmap& Dest, const Bitmap& New, const Rect&, int, int, RandomSource&) {
    DrawNewWhole(Dest, New);
}

} // namespace vistello::effects
