#include "effects/engine/catalogue.h"

#include "effects/engine/geometry.h"
#include "effects/engine/random_source.h"
#include "effects/families/families.h"
#include "effects/raster/drawing.h"

#include <algorithm>
#include <array>

namespace vistello::effects {

namespace {

// Runs a family function only on calls it can draw: P <= 0 or a band count below 1 (a rectangle
// whose longer side is under 9 pixels) would divide by zero in several families, so such a call
// draws the new picture whole; P above 100 is drawn as 100.
template <EffectFunction* Family>
void guarded(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress,
             RandomSource& random) {
    const Extents e = ProgressExtents(rect, Grain, std::min(Progress, 100));
    if (Progress <= 0 || e.W <= 0 || e.H <= 0 || e.B < 1) {
        DrawNewWhole(Dest, New);
        return;
    }
    Family(Dest, New, rect, Grain, std::min(Progress, 100), random);
}

constexpr std::array<TEffect, kEffectCount> kEffects = {
    TEffect{"Fade", &guarded<Effect1>},
    TEffect{"Slide in from right", &guarded<Effect2>},
    TEffect{"Slide in from left", &guarded<Effect3>},
    TEffect{"Reveal from left", &guarded<Effect4>},
    TEffect{"Reveal from right", &guarded<Effect5>},
    TEffect{"Expand in from right", &guarded<Effect6>},
    TEffect{"Expand in from left", &guarded<Effect7>},
    TEffect{"Expand in to middle", &guarded<Effect8>},
    TEffect{"Reveal out from middle", &guarded<Effect9>},
    TEffect{"Reveal in from sides", &guarded<Effect10>},
    TEffect{"Unroll from left", &guarded<Effect11>},
    TEffect{"Unroll from right", &guarded<Effect12>},
    TEffect{"Build up from right", &guarded<Effect13>},
    TEffect{"Build up from left", &guarded<Effect14>},
    TEffect{"Slide in from bottom", &guarded<Effect15>},
    TEffect{"Slide in from top", &guarded<Effect16>},
    TEffect{"Reveal from top", &guarded<Effect17>},
    TEffect{"Reveal from bottom", &guarded<Effect18>},
    TEffect{"Expand in from bottom", &guarded<Effect19>},
    TEffect{"Expand in from top", &guarded<Effect20>},
    TEffect{"Expand in to middle (horiz)", &guarded<Effect21>},
    TEffect{"Reveal from middle (horiz)", &guarded<Effect22>},
    TEffect{"Slide in from top / bottom", &guarded<Effect23>},
    TEffect{"Unroll from top", &guarded<Effect24>},
    TEffect{"Unroll from bottom", &guarded<Effect25>},
    TEffect{"Expand from bottom", &guarded<Effect26>},
    TEffect{"Expand in from top", &guarded<Effect27>},
    TEffect{"Reveal from top left", &guarded<Effect28>},
    TEffect{"Reveal from bottom left", &guarded<Effect29>},
    TEffect{"Reveal from bottom right", &guarded<Effect30>},
    TEffect{"Reveal from top right", &guarded<Effect31>},
    TEffect{"Appear and Contract to top left", &guarded<Effect32>},
    TEffect{"Appear and Contract to bottom left", &guarded<Effect33>},
    TEffect{"Appear and Contract to bottom right", &guarded<Effect34>},
    TEffect{"Appear and Contract to top right", &guarded<Effect35>},
    TEffect{"Appear and Contract to middle", &guarded<Effect36>},
    TEffect{"Reveal out from centre", &guarded<Effect37>},
    TEffect{"Reveal in to centre", &guarded<Effect38>},
    TEffect{"Quarters Reveal in to middle", &guarded<Effect39>},
    TEffect{"Quarters Slide in to middle", &guarded<Effect40>},
    TEffect{"Curved Reveal from left", &guarded<Effect41>},
    TEffect{"Curved Reveal from right", &guarded<Effect42>},
    TEffect{"Bars in from right", &guarded<Effect43>},
    TEffect{"Bars in from left", &guarded<Effect44>},
    TEffect{"Bars left then right", &guarded<Effect45>},
    TEffect{"Bars right then left", &guarded<Effect46>},
    TEffect{"Uneven shred from right", &guarded<Effect47>, true},
    TEffect{"Uneven shred from left", &guarded<Effect48>, true},
    TEffect{"Uneven shred out from middle (horiz)", &guarded<Effect49>, true},
    TEffect{"Uneven shred in to middle (horiz)", &guarded<Effect50>, true},
    TEffect{"Curved Reveal from top", &guarded<Effect51>},
    TEffect{"Curved Reveal from bottom", &guarded<Effect52>},
    TEffect{"Bars from bottom", &guarded<Effect53>},
    TEffect{"Bars bottom then top", &guarded<Effect54>},
    TEffect{"Unven shred from bottom", &guarded<Effect55>, true},
    TEffect{"Uneven shred from top", &guarded<Effect56>, true},
    TEffect{"Uneven shred from horizon", &guarded<Effect57>, true},
    TEffect{"Uneven shred in to horizon", &guarded<Effect58>, true},
    TEffect{"Curved reveal from top left", &guarded<Effect59>},
    TEffect{"Curved reveal from top right", &guarded<Effect60>},
    TEffect{"Curved reveal from bottom left", &guarded<Effect61>},
    TEffect{"Curved reveal from bottom right", &guarded<Effect62>},
    TEffect{"Circular reveal from centre", &guarded<Effect63>},
    TEffect{"Circular reveal to centre", &guarded<Effect64>},
    TEffect{"Criss Cross reveal from bottom right", &guarded<Effect65>},
    TEffect{"Criss Cross reveal from top right", &guarded<Effect66>},
    TEffect{"Criss Cross reveal bounce from bottom left", &guarded<Effect67>},
    TEffect{"Criss Cross reveal bounce from bottom right", &guarded<Effect68>},
    TEffect{"Criss Cross reveal from right top and bottom", &guarded<Effect69>},
    TEffect{"Criss Cross reveal from left top and bottom", &guarded<Effect70>},
    TEffect{"Criss Cross reveal from left right and bottom", &guarded<Effect71>},
    TEffect{"Criss Cross reveal from left right and top", &guarded<Effect72>},
    TEffect{"Criss Cross reveal from bottom left top right", &guarded<Effect73>},
    TEffect{"Uneven shred from bottom and right", &guarded<Effect74>, true},
    TEffect{"Uneven shred from top and right", &guarded<Effect75>, true},
    TEffect{"Uneven shred from bottom and left", &guarded<Effect76>, true},
    TEffect{"Uneven shred from horiz and right", &guarded<Effect77>, true},
    TEffect{"Uneven shred from horiz and left", &guarded<Effect78>, true},
    TEffect{"Uneven shred from bottom and vert middle", &guarded<Effect79>, true},
    TEffect{"Uneven shred from top and vert middle", &guarded<Effect80>, true},
    TEffect{"Uneven shred from centre", &guarded<Effect81>, true},
    TEffect{"Uneven shred to centre", &guarded<Effect82>, true},
    TEffect{"Reveal diagonal from top left", &guarded<Effect83>},
    TEffect{"Reveal diagonal from top right", &guarded<Effect84>},
    TEffect{"Reveal diagonal from bottom left", &guarded<Effect85>},
    TEffect{"Reveal diagonal from bottom right", &guarded<Effect86>},
    TEffect{"Diagonal sweep from top left bottom right anticlockwise", &guarded<Effect87>},
    TEffect{"Diagonal sweep from top left bottom right clockwise", &guarded<Effect88>},
    TEffect{"Starburst clockwise from center", &guarded<Effect89>},
    TEffect{"Triangular shred to top left", &guarded<Effect90>},
    TEffect{"Speckle appear from right", &guarded<Effect91>, true},
    TEffect{"Speckle appear from left", &guarded<Effect92>, true},
    TEffect{"Speckle appear from bottom", &guarded<Effect93>, true},
    TEffect{"Speckle appear from top", &guarded<Effect94>, true},
    TEffect{"Push right", &guarded<Effect95>},
    TEffect{"Push left", &guarded<Effect96>},
    TEffect{"Push down", &guarded<Effect97>},
    TEffect{"Push up", &guarded<Effect98>},
    TEffect{"Blind vertically", &guarded<Effect99>},
    TEffect{"Blind horizontally", &guarded<Effect100>},
    TEffect{"Rectangular shred", &guarded<Effect101>},
    TEffect{"Sweep clockwise", &guarded<Effect102>},
    TEffect{"Sweep anticlockwise", &guarded<Effect103>},
    TEffect{"Rotational rectangle", &guarded<Effect104>},
    TEffect{"Rotational star", &guarded<Effect105>},
};

} // namespace

std::span<const TEffect> Effects() {
    return kEffects;
}

const TEffect* FindEffect(int effectNumber) {
    if (effectNumber < 1 || effectNumber > kEffectCount)
        return nullptr;
    return &kEffects[static_cast<std::size_t>(effectNumber - 1)];
}

int RandomEffectNumber(RandomSource& random) {
    return random.Random(kEffectCount) + 1;
}

int ResolveEffectNumber(int effectNumber, RandomSource& random) {
    if (effectNumber >= 1 && effectNumber <= kEffectCount)
        return effectNumber;
    return RandomEffectNumber(random);
}

void DrawNewWhole(Bitmap& Dest, const Bitmap& New) {
    CopyRect(Dest, New.bounds(), New, New.bounds());
}

} // namespace vistello::effects
