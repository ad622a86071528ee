#pragma once
// The catalogue of the 105 transitions and the contract of an effect procedure.
//
// An effect procedure draws step `Progress` (percent, 1..100) of the new picture over `Dest`,
// which keeps whatever earlier steps drew. `Rect` is (0, 0, W, H), the size of both bitmaps;
// `Grain` is the band-count parameter (5 from both callers). Procedures keep no state between
// calls; the random families draw from the generator they are handed. Entry n of the catalogue
// is effect n. Every catalogue entry first guards what the callers never pass: when P <= 0, or
// the band count B would be below 1 (a rectangle whose longer side is under 9 pixels at grain
// 5), or the rectangle is empty, it draws the new picture whole and returns; P above 100 is taken
// as 100.

#include "effects/effect_names.h"
#include "effects/raster/bitmap.h"

#include <span>
#include <string_view>

namespace vistello::effects {

class RandomSource;

using EffectFunction = void(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress,
                            RandomSource& random);
using TEffectProc = EffectFunction*;

struct TEffect {
    std::string_view Name; // the English name of the table; not displayed
    TEffectProc Proc;
    // Every step draws a new random edge and what earlier steps revealed stays (shreds and
    // speckles), so the look depends on how many steps are drawn: callers drawing more than
    // the 50 steps of 25 frames a second draw these on the 50-step schedule.
    bool RandomEdges = false;
};

// Effects()[n - 1] is effect n, n in 1..105.
std::span<const TEffect> Effects();
// Effect n (1..105); nullptr for any other number.
const TEffect* FindEffect(int effectNumber);

// The grain both callers pass.
inline constexpr int kDefaultGrain = 5;

// The random choice of effect 0: a uniform integer 0..104 plus one. The caller re-seeds the
// generator from the clock once per transition and uses the result for all of its steps.
int RandomEffectNumber(RandomSource& random);

// An effect number 1..105 as is; 0 (or any number outside 1..105) as RandomEffectNumber.
int ResolveEffectNumber(int effectNumber, RandomSource& random);

} // namespace vistello::effects
