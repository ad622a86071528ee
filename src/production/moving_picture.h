#pragma once
// A picture as the render shows it, prepared on the composing thread: still (composed once into
// a frame over its background, as every picture was before pictures could move) or moving (a
// copy decoded once at a size suited to the frame, and the way of its rectangle), drawn at any
// frame of its time on screen.
//
// A moving picture fills the whole frame with its rectangle, which is of the frame's display
// aspect: a custom rectangle drawn for another frame shape keeps its centre and area
// (motion::withAspect), and the automatic one is chosen for this frame shape and time, or taken
// from the album's framing cache when it was chosen before.

#include "effects/raster/bitmap.h"
#include "motion/auto_framing.h"
#include "motion/motion_source.h"
#include "store/picture_motion.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>

namespace vistello::motion {
class FramingCache;
}

namespace vistello::production {

// The face detector shared by a run's composing threads: loaded at its first use (tens of
// milliseconds), asked by one thread at a time.
class SharedFaceFinder : public motion::FaceFinder {
  public:
    std::vector<store::MotionRect> findFaces(const QImage& grey) const override;
    // The cascade file the detector would load ("-" when there is none): part of the key of a
    // kept choice, known without loading it.
    static std::string detectorName();

  private:
    mutable std::mutex mutex_;
    mutable std::unique_ptr<motion::CascadeFaceFinder> finder_;
};

// What the composing thread is given for one picture.
struct PictureJob {
    std::filesystem::path picture;    // the file to read
    std::string fileName;             // as the record names it: the key of its kept framing
    std::filesystem::path background; // for a still picture in picture mode; empty: the colour
    std::uint32_t colour = 0;         // 0x00BBGGRR
    int frameWidth = 0, frameHeight = 0;
    store::PictureMotion motion;               // None: still
    std::int64_t span = 1;                     // frames from t = 0 to t = 1 (see frame_generator.h)
    double seconds = 1;                        // the same in seconds, which the automatic zoom depends on
    motion::FramingCache* cache = nullptr;     // kept automatic choices; none: choose every time
    const motion::FaceFinder* faces = nullptr; // none: frame by saliency alone
};

class PreparedPicture {
  public:
    // Reads and prepares the picture. Throws std::runtime_error naming a picture or background
    // file that cannot be read.
    static PreparedPicture prepare(const PictureJob& job);

    bool moving() const { return moving_; }
    // The composed frame of a still picture.
    const effects::Bitmap& still() const { return still_; }
    effects::Bitmap takeStill() { return std::move(still_); }
    // The way of a moving picture's rectangle, in fractions of the picture.
    const motion::MotionPath& path() const { return path_; }
    std::int64_t span() const { return span_; }

    // The rectangle shown `frame` frames after t = 0 (clamped to the picture's time).
    store::MotionRect rectAt(std::int64_t frame) const;
    // Draws a moving picture as it stands `frame` frames after t = 0 into the whole of `out`.
    // Not for two threads at once.
    void render(std::int64_t frame, effects::Bitmap& out) const;
    // The same into `height` rows of `width` blue-green-red pixels, `stride` bytes apart.
    void render(std::int64_t frame, std::uint8_t* pixels, std::ptrdiff_t stride, int width, int height) const;

  private:
    bool moving_ = false;
    effects::Bitmap still_;
    motion::MotionPath path_;
    motion::MotionSource source_;
    std::int64_t span_ = 1;
};

} // namespace vistello::production
