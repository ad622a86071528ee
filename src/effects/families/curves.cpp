// Curved and elliptic reveals: placeholder members that draw the new picture whole until the family is written.

#include "effects/families/families.h"

namespace vistello::effects {

void Effect41(Bitmap& Dest, const Bitmap& New, const Rect&, int, int, RandomSource&) {
    DrawNewWhole(Dest, New);
}

void Effect42(Bitmap& Dest, const Bitmap& New, const Rect&, int, int, RandomSource&) {
    DrawNewWhole(Dest, New);
}

void Effect51(Bitmap& Dest, const Bitmap& New, const Rect&, int, int, RandomSource&) {
    DrawNewWhole(Dest, New);
}

void Effect52(Bitmap& Dest, const Bitmap& New, const Rect&, int, int, RandomSource&) {
    DrawNewWhole(Dest, New);
}

void Effect59(Bitmap& Dest, const Bitmap& New, const Rect&, int, int, RandomSource&) {
    DrawNewWhole(Dest, New);
}

void Effect60(Bitmap& Dest, const Bitmap& New, const Rect&, int, int, RandomSource&) {
    DrawNewWhole(Dest, New);
}

void Effect61(Bitmap& Dest, const Bitmap& New, const Rect&, int, int, RandomSource&) {
    DrawNewWhole(Dest, New);
}

void Effect62(Bitmap& Dest, const Bitmap& New, const Rect&, int, int, RandomSource&) {
    DrawNewWhole(Dest, New);
}

void Effect63(Bitmap& Dest, const Bitmap& New, const Rect&, int, int, RandomSource&) {
    DrawNewWhole(Dest, New);
}

void Effect64(Bitmap& Dest, const Bitmap& New, const Rect&, int, int, RandomSource&) {
    DrawNewWhole(Dest, New);
}

} // namespace vistello::effects
