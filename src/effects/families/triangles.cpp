// Diagonals, triangles and grid shreds: placeholder members that draw the new picture whole until the family is written.

#include "effects/families/families.h"

namespace vistello::effects {

void Effect83(Bitmap& Dest, const Bitmap& New, const Rect&, int, int, RandomSource&) {
    DrawNewWhole(Dest, New);
}

void Effect84(Bitmap& Dest, const Bitmap& New, const Rect&, int, int, RandomSource&) {
    DrawNewWhole(Dest, New);
}

void Effect85(Bitmap& Dest, const Bitmap& New, const Rect&, int, int, RandomSource&) {
    DrawNewWhole(Dest, New);
}

void Effect86(Bitmap& Dest, const Bitmap& New, const Rect&, int, int, RandomSource&) {
    DrawNewWhole(Dest, New);
}

void Effect87(Bitmap& Dest, const Bitmap& New, const Rect&, int, int, RandomSource&) {
    DrawNewWhole(Dest, New);
}

void Effect88(Bitmap& Dest, const Bitmap& New, const Rect&, int, int, RandomSource&) {
    DrawNewWhole(Dest, New);
}

void Effect89(Bitmap& Dest, const Bitmap& New, const Rect&, int, int, RandomSource&) {
    DrawNewWhole(Dest, New);
}

void Effect90(Bitmap& Dest, const Bitmap& New, const Rect&, int, int, RandomSource&) {
    DrawNewWhole(Dest, New);
}

void Effect101(Bitmap& Dest, const Bitmap& New, const Rect&, int, int, RandomSource&) {
    DrawNewWhole(Dest, New);
}

} // namespace vistello::effects
