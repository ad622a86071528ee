// Slides, wipes and pushes: placeholder members that draw the new picture whole until the family is written.

#include "effects/families/families.h"

namespace vistello::effects {

void Effect2(Bitmap& Dest, const Bitmap& New, const Rect&, int, int, RandomSource&) {
    DrawNewWhole(Dest, New);
}

void Effect3(Bitmap& Dest, const Bitmap& New, const Rect&, int, int, RandomSource&) {
    DrawNewWhole(Dest, New);
}

void Effect4(Bitmap& Dest, const Bitmap& New, const Rect&, int, int, RandomSource&) {
    DrawNewWhole(Dest, New);
}

void Effect5(Bitmap& Dest, const Bitmap& New, const Rect&, int, int, RandomSource&) {
    DrawNewWhole(Dest, New);
}

void Effect9(Bitmap& Dest, const Bitmap& New, const Rect&, int, int, RandomSource&) {
    DrawNewWhole(Dest, New);
}

void Effect10(Bitmap& Dest, const Bitmap& New, const Rect&, int, int, RandomSource&) {
    DrawNewWhole(Dest, New);
}

void Effect15(Bitmap& Dest, const Bitmap& New, const Rect&, int, int, RandomSource&) {
    DrawNewWhole(Dest, New);
}

void Effect16(Bitmap& Dest, const Bitmap& New, const Rect&, int, int, RandomSource&) {
    DrawNewWhole(Dest, New);
}

void Effect17(Bitmap& Dest, const Bitmap& New, const Rect&, int, int, RandomSource&) {
    DrawNewWhole(Dest, New);
}

void Effect18(Bitmap& Dest, const Bitmap& New, const Rect&, int, int, RandomSource&) {
    DrawNewWhole(Dest, New);
}

void Effect22(Bitmap& Dest, const Bitmap& New, const Rect&, int, int, RandomSource&) {
    DrawNewWhole(Dest, New);
}

void Effect23(Bitmap& Dest, const Bitmap& New, const Rect&, int, int, RandomSource&) {
    DrawNewWhole(Dest, New);
}

void Effect28(Bitmap& Dest, const Bitmap& New, const Rect&, int, int, RandomSource&) {
    DrawNewWhole(Dest, New);
}

void Effect29(Bitmap& Dest, const Bitmap& New, const Rect&, int, int, RandomSource&) {
    DrawNewWhole(Dest, New);
}

void Effect30(Bitmap& Dest, const Bitmap& New, const Rect&, int, int, RandomSource&) {
    DrawNewWhole(Dest, New);
}

void Effect31(Bitmap& Dest, const Bitmap& New, const Rect&, int, int, RandomSource&) {
    DrawNewWhole(Dest, New);
}

void Effect37(Bitmap& Dest, const Bitmap& New, const Rect&, int, int, RandomSource&) {
    DrawNewWhole(Dest, New);
}

void Effect38(Bitmap& Dest, const Bitmap& New, const Rect&, int, int, RandomSource&) {
    DrawNewWhole(Dest, New);
}

void Effect39(Bitmap& Dest, const Bitmap& New, const Rect&, int, int, RandomSource&) {
    DrawNewWhole(Dest, New);
}

void Effect40(Bitmap& Dest, const Bitmap& New, const Rect&, int, int, RandomSource&) {
    DrawNewWhole(Dest, New);
}

void Effect95(Bitmap& Dest, const Bitmap& New, const Rect&, int, int, RandomSource&) {
    DrawNewWhole(Dest, New);
}

void Effect96(Bitmap& Dest, const Bitmap& New, const Rect&, int, int, RandomSource&) {
    DrawNewWhole(Dest, New);
}

void Effect97(Bitmap& Dest, const Bitmap& New, const Rect&, int, int, RandomSource&) {
    DrawNewWhole(Dest, New);
}

void Effect98(Bitmap& Dest, const Bitmap& New, const Rect&, int, int, RandomSource&) {
    DrawNewWhole(Dest, New);
}

} // namespace vistello::effects
