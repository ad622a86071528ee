#include "motion/auto_framing.h"

#include "motion/grey_copy.h"
#include "motion/motion_path.h"
#include "motion/saliency.h"

#include <algorithm>
#include <cmath>

namespace vistello::motion {

using store::MotionRect;

namespace {

// The salient window is this share of the smaller rectangle, so the pan has room around it.
constexpr double kSalientShare = 0.6;
// The centres of the two rectangles lie at most this share of the frame's size apart.
constexpr double kMaxPanShare = 0.2;

// A fraction 0..1 drawn from the fingerprint; `which` tells the choices apart (splitmix64).
double fraction(std::uint64_t hash, int which) {
    std::uint64_t z = hash + 0x9E3779B97F4A7C15ull * static_cast<std::uint64_t>(which + 1);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    z ^= z >> 31;
    return static_cast<double>(z >> 11) * 0x1p-53;
}

struct Box {
    double left = 0, top = 0, right = 0, bottom = 0;
    double width() const { return right - left; }
    double height() const { return bottom - top; }
};

Box boxOf(const MotionRect& r) {
    return {r.x, r.y, r.x + r.width, r.y + r.height};
}

// The union of the faces, with room for the hair above and the chin below when `withRoom`,
// on the picture.
Box facesBox(const std::vector<MotionRect>& faces, bool withRoom) {
    Box box{1, 1, 0, 0};
    for (const MotionRect& face : faces) {
        const double side = withRoom ? 0.25 * face.width : 0, above = withRoom ? 0.45 * face.height : 0,
                     below = withRoom ? 0.35 * face.height : 0;
        box.left = std::min(box.left, face.x - side);
        box.top = std::min(box.top, face.y - above);
        box.right = std::max(box.right, face.x + face.width + side);
        box.bottom = std::max(box.bottom, face.y + face.height + below);
    }
    return {std::clamp(box.left, 0.0, 1.0), std::clamp(box.top, 0.0, 1.0), std::clamp(box.right, 0.0, 1.0),
            std::clamp(box.bottom, 0.0, 1.0)};
}

// The start of a span of `size` on 0..1 that holds low..high, as near `wanted` as that allows;
// centred on low..high when the span cannot hold it.
double place(double size, double low, double high, double wanted) {
    double first = std::max(0.0, high - size), last = std::min(1.0 - size, low);
    if (first > last)
        first = last = std::clamp((low + high - size) / 2, 0.0, std::max(0.0, 1.0 - size));
    return std::clamp(wanted, first, last);
}

} // namespace

double zoomRatio(double seconds, std::uint64_t hash) {
    const double lengthShare = std::isfinite(seconds) ? std::clamp((seconds - 3) / 7, 0.0, 1.0) : 0.0;
    const double spread = (fraction(hash, 0) - 0.5) * 0.04;
    return std::clamp(1.10 + 0.10 * lengthShare + spread, 1.10, 1.20);
}

MotionPath chooseFraming(const FramingInput& input) {
    const MotionRect full = largestRect(input.pictureWidth, input.pictureHeight, input.frameAspect);
    if (input.pictureWidth <= 0 || input.pictureHeight <= 0 || !(full.width > 0) || !(full.height > 0))
        return {full, full, store::Easing::Linear};          // nothing to frame: the whole picture, still
    double scale = 1 / zoomRatio(input.seconds, input.hash); // of the smaller rectangle

    Box subject;
    if (!input.faces.empty()) {
        subject = facesBox(input.faces, true);
        const auto need = [&] {
            return std::max(subject.width() / full.width, subject.height() / full.height);
        };
        if (need() > 1)
            subject = facesBox(input.faces, false); // a wide group: keep the faces, not the hair
        // The smaller rectangle must still hold the faces: zoom less if need be, not at all
        // when even the largest rectangle cannot (then it is centred on them).
        scale = std::clamp(need(), scale, 1.0);
    } else {
        const double width = kSalientShare * scale * full.width, height = kSalientShare * scale * full.height;
        subject = boxOf(input.salientWindow ? input.salientWindow(width, height)
                                            : MotionRect{(1 - width) / 2, (1 - height) / 2, width, height});
    }
    const double centreX = (subject.left + subject.right) / 2, centreY = (subject.top + subject.bottom) / 2;

    // The larger rectangle: as large as the picture allows, centred on the subject.
    MotionRect large{0, 0, full.width, full.height};
    large.x = place(large.width, subject.left, subject.right, centreX - large.width / 2);
    large.y = place(large.height, subject.top, subject.bottom, centreY - large.height / 2);

    // The smaller one: somewhere among the places that keep the subject, near enough to the
    // larger one's centre for a slow pan.
    MotionRect small{0, 0, full.width * scale, full.height * scale};
    const auto spot = [&](double size, double low, double high, double largeCentre, double frameSize,
                          int which) {
        const double first = place(size, low, high, 0.0), last = place(size, low, high, 1.0);
        double wanted = first + (last - first) * fraction(input.hash, which);
        const double reach = kMaxPanShare * frameSize;
        wanted = std::clamp(wanted, largeCentre - reach - size / 2, largeCentre + reach - size / 2);
        return place(size, low, high, wanted);
    };
    small.x = spot(small.width, subject.left, subject.right, large.x + large.width / 2, full.width, 1);
    small.y = spot(small.height, subject.top, subject.bottom, large.y + large.height / 2, full.height, 2);

    const bool zoomIn = fraction(input.hash, 3) < 0.5;
    return zoomIn ? MotionPath{large, small, store::Easing::Linear}
                  : MotionPath{small, large, store::Easing::Linear};
}

MotionPath chooseAutomaticMotion(const QImage& picture, double frameAspect, double seconds,
                                 const FaceFinder* faces) {
    FramingInput input;
    input.pictureWidth = picture.width();
    input.pictureHeight = picture.height();
    input.frameAspect = frameAspect;
    input.seconds = seconds;
    input.hash = pictureHash(picture);
    const QImage grey = greyCopy(picture);
    if (faces)
        input.faces = faces->findFaces(grey);
    SaliencyMap map;
    if (input.faces.empty()) {
        map = saliencyMap(grey);
        input.salientWindow = [&map](double width, double height) {
            return mostSalientWindow(map, width, height);
        };
    }
    return chooseFraming(input);
}

} // namespace vistello::motion
