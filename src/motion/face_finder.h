#pragma once
// Finding faces in a picture's grey copy, for the automatic framing.
//
// FaceFinder is the interface the framing asks; CascadeFaceFinder answers it with OpenCV's
// cascade detector and the frontal-face cascades that the system's OpenCV data package ships.
// When no cascade file can be found or read it finds nothing, and the framing keeps to the
// picture's most salient part instead.

#include "store/picture_motion.h"

#include <QImage>

#include <filesystem>
#include <memory>
#include <vector>

namespace vistello::motion {

class FaceFinder {
  public:
    virtual ~FaceFinder() = default;
    // The faces in a Format_Grayscale8 picture, in fractions of its width and height.
    virtual std::vector<store::MotionRect> findFaces(const QImage& grey) const = 0;
};

class CascadeFaceFinder : public FaceFinder {
  public:
    // Loads the first readable cascade of `candidates`, or of defaultCascadeFiles() when it is
    // empty. Loading takes tens of milliseconds: make one finder and keep it for every picture.
    explicit CascadeFaceFinder(std::vector<std::filesystem::path> candidates = {});
    ~CascadeFaceFinder() override;

    // True when a cascade was loaded; without one findFaces finds nothing.
    bool available() const;
    // The cascade file in use, empty when none.
    const std::filesystem::path& cascadeFile() const { return cascadeFile_; }

    std::vector<store::MotionRect> findFaces(const QImage& grey) const override;

    // Where the OpenCV data packages put the frontal-face cascades, best first.
    static std::vector<std::filesystem::path> defaultCascadeFiles();

  private:
    struct Detector;
    std::unique_ptr<Detector> detector_;
    std::filesystem::path cascadeFile_;
};

} // namespace vistello::motion
