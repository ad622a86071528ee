#pragma once
// Slideshow time in frames of the format's rate. Time is kept in seconds: a transition lasts
// 2 seconds and a picture its StayTime at every rate, so at 25 frames a second a transition
// has the 50 steps of the original timeline, at 30 it has 60 and at 50 it has 100.

#include "production/video_format.h"

#include <cstdint>
#include <vector>

namespace vistello::store {
class AlbumStore;
}

namespace vistello::production {

inline constexpr int kTransitionSeconds = 2;

// Frames of a transition at `rate`: 2 seconds, to the nearest frame (60 at 30000/1001).
int transitionSteps(Rational rate);
// `seconds` at `rate`, to the nearest frame.
std::int64_t framesOfSeconds(std::int64_t seconds, Rational rate);
// The progress in percent of step 1..steps of a transition: spread evenly over 2..100, the
// first step 2 and the last exactly 100 (2 × step for 50 steps).
int transitionProgress(int step, int steps);

// HoldFrames: StayTime seconds per picture, or with synchronisation (MusicSeconds − 2 ×
// PicCount) seconds spread evenly, `(MusicSeconds − 2 × PicCount) × rate div PicCount` frames
// for every picture. Negative results are taken as 0; a day per picture is the most.
std::vector<int> computeHoldFrames(const store::AlbumStore& album, bool synchronise, Rational rate = {25, 1});
// TotalFrames of a run at `rate`: phase 0, the transition steps and the picture whole for
// every picture (51 at 25 frames a second), and the holds.
std::int64_t totalVideoFrames(const store::AlbumStore& album, bool synchronise, Rational rate = {25, 1});
// When each picture's cycle (its phase 0) starts, in seconds from the first frame, for the
// chapters of a disc.
std::vector<double> pictureStartSeconds(const std::vector<int>& holdFrames, int transitionSteps,
                                        Rational rate);
// MusicSeconds: the sum of the songs' PlayTime.
std::int64_t musicSeconds(const store::AlbumStore& album);

} // namespace vistello::production
