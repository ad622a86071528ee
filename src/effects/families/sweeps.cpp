// Sweeps and rotations: placeholder members that draw the new picture whole until the family is written.

#include "effects/families/families.h"

namespace vistello::effects {

void Effect102(Bitmap& Dest, const Bitmap& New, const Rect&, int, int, RandomSource&) {
    DrawNewWhole(Dest, New);
}

void Effect103(Bitmap& Dest, const Bitmap& New, const Rect&, int, int, RandomSource&) {
    DrawNewWhole(Dest, New);
}

void Effect104(Bitmap& Dest, const Bitmap& New, const Rect&, int, int, RandomSource&) {
    DrawNewWhole(Dest, New);
}

void Effect105(Bitmap& Dest, const Bitmap& New, const Rect&, int, int, RandomSource&) {
    DrawNewWhole(Dest, New);
}

} // namespace vistello::effects
