#include "production/moving_picture.h"

#include "motion/framing_cache.h"
#include "motion/motion_path.h"
#include "production/compose.h"
#include "production/picture_reader.h"

#include <algorithm>
#include <cmath>

namespace vistello::production {

namespace {

// A custom rectangle is redrawn for the frame's shape only when it visibly differs from it;
// one drawn for this shape stays exactly as it was drawn.
constexpr double kAspectTolerance = 1e-3;

store::MotionRect ofAspect(const store::MotionRect& rect, int pictureWidth, int pictureHeight,
                           double aspect) {
    const double own = motion::aspectOn(rect, pictureWidth, pictureHeight);
    if (std::isfinite(own) && std::abs(own / aspect - 1) <= kAspectTolerance)
        return rect;
    return motion::withAspect(rect, pictureWidth, pictureHeight, aspect);
}

motion::MotionPath automaticPath(const PictureJob& job, const QImage& picture, double aspect) {
    const std::string detector = job.faces ? SharedFaceFinder::detectorName() : std::string("-");
    const auto key = motion::framingKeyOf(job.picture, job.fileName, aspect, job.seconds, detector);
    if (job.cache && key)
        if (const auto kept = job.cache->find(*key))
            return *kept;
    const motion::MotionPath path = motion::chooseAutomaticMotion(picture, aspect, job.seconds, job.faces);
    if (job.cache && key)
        job.cache->store(*key, path); // a folder that cannot be written: chosen again next time
    return path;
}

} // namespace

std::vector<store::MotionRect> SharedFaceFinder::findFaces(const QImage& grey) const {
    const std::lock_guard lock(mutex_);
    if (!finder_)
        finder_ = std::make_unique<motion::CascadeFaceFinder>();
    return finder_->findFaces(grey);
}

std::string SharedFaceFinder::detectorName() {
    for (const auto& file : motion::CascadeFaceFinder::defaultCascadeFiles()) {
        std::error_code error;
        if (std::filesystem::is_regular_file(file, error))
            return file.string();
    }
    return "-";
}

PreparedPicture PreparedPicture::prepare(const PictureJob& job) {
    PreparedPicture prepared;
    prepared.span_ = std::max<std::int64_t>(1, job.span);
    const QImage picture = readPictureFile(job.picture);
    if (job.motion.kind == store::MotionKind::None || job.frameWidth <= 0 || job.frameHeight <= 0) {
        QImage background;
        if (!job.background.empty())
            background = readPictureFile(job.background, PictureKind::Jpeg);
        prepared.still_ = effects::Bitmap(job.frameWidth, job.frameHeight);
        ComposePicture(picture, background, job.colour, prepared.still_);
        return prepared;
    }
    // Frames are composed with square pixels, so the frame's display aspect is its own.
    const double aspect = static_cast<double>(job.frameWidth) / job.frameHeight;
    const int width = picture.width(), height = picture.height();
    if (job.motion.kind == store::MotionKind::Custom) {
        prepared.path_ = {ofAspect(job.motion.start, width, height, aspect),
                          ofAspect(job.motion.end, width, height, aspect), job.motion.easing};
    } else {
        prepared.path_ = automaticPath(job, picture, aspect);
    }
    const store::MotionRect& smallest = prepared.path_.start.width * prepared.path_.start.height <=
                                                prepared.path_.end.width * prepared.path_.end.height
                                            ? prepared.path_.start
                                            : prepared.path_.end;
    prepared.source_ = motion::MotionSource(
        picture, motion::suitedSourceSize(width, height, job.frameWidth, job.frameHeight, smallest));
    prepared.moving_ = true;
    return prepared;
}

store::MotionRect PreparedPicture::rectAt(std::int64_t frame) const {
    const double t = std::clamp(static_cast<double>(frame) / static_cast<double>(span_), 0.0, 1.0);
    return motion::rectAt(path_.start, path_.end, path_.easing, t);
}

void PreparedPicture::render(std::int64_t frame, effects::Bitmap& out) const {
    source_.render(rectAt(frame), out);
}

void PreparedPicture::render(std::int64_t frame, std::uint8_t* pixels, std::ptrdiff_t stride, int width,
                             int height) const {
    source_.render(rectAt(frame), pixels, stride, width, height);
}

} // namespace vistello::production
