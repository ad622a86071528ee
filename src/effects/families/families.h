#pragma once
// The effect procedures, one function per catalogue entry, grouped by the file that draws them.
//
// Each family lives in a file of its own under src/effects/families/ and defines the functions
// declared for it below, with the signature `EffectFunction` (engine/catalogue.h). The catalogue
// (engine/catalogue.cpp) lists them in number order and wraps each in the guard for degenerate
// calls, so a family function may assume P in 1..100, B >= 1, and both bitmaps of the rectangle's
// size. Family-private helpers (stripe, shred, speckle, sector builders) stay in an anonymous
// namespace of their file or in a header next to it.
//
//   fade.cpp       effect 1 (BlendBitmaps)
//   slides.cpp     slides, wipes and pushes
//   stretches.cpp  stretches, roll-outs and flow-ins
//   bars.cpp       bars, criss-cross and blinds (stripe regions S = 10 and S = 20)
//   shreds.cpp     uneven shreds and speckles
//   curves.cpp     curved and elliptic reveals (rounded-rectangle regions)
//   triangles.cpp  diagonals, triangles and grid shreds
//   sweeps.cpp     sweeps and rotations (sector regions, rotated polygons)

#include "effects/engine/catalogue.h"

namespace vistello::effects {

// fade.cpp
EffectFunction Effect1;

// slides.cpp
EffectFunction Effect2, Effect3, Effect4, Effect5, Effect9, Effect10, Effect15, Effect16, Effect17, Effect18,
    Effect22, Effect23, Effect28, Effect29, Effect30, Effect31, Effect37, Effect38, Effect39, Effect40,
    Effect95, Effect96, Effect97, Effect98;

// stretches.cpp
EffectFunction Effect6, Effect7, Effect8, Effect11, Effect12, Effect13, Effect14, Effect19, Effect20,
    Effect21, Effect24, Effect25, Effect26, Effect27, Effect32, Effect33, Effect34, Effect35, Effect36;

// bars.cpp
EffectFunction Effect43, Effect44, Effect45, Effect46, Effect53, Effect54, Effect65, Effect66, Effect67,
    Effect68, Effect69, Effect70, Effect71, Effect72, Effect73, Effect99, Effect100;

// shreds.cpp
EffectFunction Effect47, Effect48, Effect49, Effect50, Effect55, Effect56, Effect57, Effect58, Effect74,
    Effect75, Effect76, Effect77, Effect78, Effect79, Effect80, Effect81, Effect82, Effect91, Effect92,
    Effect93, Effect94;

// curves.cpp
EffectFunction Effect41, Effect42, Effect51, Effect52, Effect59, Effect60, Effect61, Effect62, Effect63,
    Effect64;

// triangles.cpp
EffectFunction Effect83, Effect84, Effect85, Effect86, Effect87, Effect88, Effect89, Effect90, Effect101;

// sweeps.cpp
EffectFunction Effect102, Effect103, Effect104, Effect105;

// Copies the whole new picture over Dest: the guard's drawing, and what a member still to be
// written draws meanwhile.
void DrawNewWhole(Bitmap& Dest, const Bitmap& New);

} // namespace vistello::effects
