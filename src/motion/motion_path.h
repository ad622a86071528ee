#pragma once
// The way of a motion: the rectangle shown at each moment of a picture's time, between its
// start and end rectangles, and the rectangles of a frame's aspect on a picture.
//
// Rectangles are in fractions of the picture's width and height (store::MotionRect). The way
// interpolates all four values with the same eased fraction: a rectangle that lies inside both
// ends therefore lies inside every rectangle of the way, which is what keeps a face in view
// from the first frame to the last. Pure functions, no state.

#include "store/picture_motion.h"

namespace vistello::motion {

// The eased fraction of the way at time fraction t (clamped to 0..1): 0 at 0, 1 at 1,
// continuous and never decreasing. Ease in starts at rest (t²), ease out ends at rest,
// ease in and out does both (3t² − 2t³).
double ease(store::Easing easing, double t);

// The rectangle at time fraction t of the way from start to end.
store::MotionRect rectAt(const store::MotionRect& start, const store::MotionRect& end, store::Easing easing,
                         double t);

// The aspect of a rectangle as it shows on a pictureWidth × pictureHeight picture
// (width / height in picture pixels).
double aspectOn(const store::MotionRect& rect, int pictureWidth, int pictureHeight);

// The largest rectangle of `aspect` (display width / height) on the picture, centred.
store::MotionRect largestRect(int pictureWidth, int pictureHeight, double aspect);

// `rect` made of `aspect` with its centre and area kept as far as the picture allows: the way
// a custom motion drawn for one frame shape is shown in another. Stays on the picture.
store::MotionRect withAspect(const store::MotionRect& rect, int pictureWidth, int pictureHeight,
                             double aspect);

} // namespace vistello::motion
