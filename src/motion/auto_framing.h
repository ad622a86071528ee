#pragma once
// The automatic motion of a picture: a slow zoom (in or out, 10 to 20 % over its time) and a
// pan, framed so that the faces in the picture stay inside every frame from start to end, or,
// without faces, so that the picture's most salient part stays in view. The rectangles are of
// the frame's display aspect and always lie on the picture. Every choice comes from the
// picture's fingerprint, so the same picture always gets the same motion.
//
// Choosing costs a grey copy, a face search and a saliency map (tens of milliseconds for a
// large photo): do it once per picture and keep the result.

#include "motion/face_finder.h"
#include "store/picture_motion.h"

#include <QImage>

#include <cstdint>
#include <functional>
#include <vector>

namespace vistello::motion {

struct MotionPath {
    store::MotionRect start, end;
    store::Easing easing = store::Easing::Linear;
    friend bool operator==(const MotionPath&, const MotionPath&) = default;
};

// What the framing is chosen from; everything but the picture's content itself.
struct FramingInput {
    int pictureWidth = 0, pictureHeight = 0;
    double frameAspect = 4.0 / 3;         // display width / height of the video frame
    double seconds = 5;                   // how long the picture moves
    std::uint64_t hash = 0;               // the picture's fingerprint
    std::vector<store::MotionRect> faces; // fractions of the picture
    // Where the picture is most salient, for a window of the given size (fractions of the
    // picture); used only when there is no face. Empty means the centre.
    std::function<store::MotionRect(double width, double height)> salientWindow;
};

// The zoom ratio (larger rectangle over smaller) for a picture shown `seconds`, spread by the
// fingerprint: 1.10 for short times, up to 1.20 for long ones.
double zoomRatio(double seconds, std::uint64_t hash);

// The framing itself, a pure function of its input.
MotionPath chooseFraming(const FramingInput& input);

// The whole choice for a decoded picture: grey copy, faces (none when `faces` is null),
// saliency, framing.
MotionPath chooseAutomaticMotion(const QImage& picture, double frameAspect, double seconds,
                                 const FaceFinder* faces);

} // namespace vistello::motion
