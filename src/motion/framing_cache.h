#pragma once
// The automatic motions already chosen for an album's pictures, kept in the album folder so
// that the face search and the saliency map run once per picture, not at every render.
//
// The file ".vistello-framing" (hidden, so no picture record can ever name it) holds one line
// per choice, keyed by everything the choice depends on: the picture's file name, its size in
// bytes and modification time, the frame's aspect, the seconds the picture moves, the face
// detector in use and the version of the framing. A choice is taken only when the whole key
// matches; a missing, damaged or foreign file only means "choose again". The file is rewritten
// through a temporary file and a rename, and a folder that cannot be written leaves the render
// unharmed. Safe to use from several threads.

#include "motion/auto_framing.h"

#include <cstdint>
#include <filesystem>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vistello::motion {

inline constexpr std::string_view kFramingCacheFileName = ".vistello-framing";

struct FramingKey {
    std::string fileName;      // as the picture record names it (trimmed UTF-8)
    std::uintmax_t bytes = 0;  // the picture file's size
    std::int64_t modified = 0; // its modification time, in the file system's ticks
    double frameAspect = 0;    // display width / height of the frame
    double seconds = 0;        // how long the picture moves
    std::string detector;      // the face detector's cascade file name, "-" without one
    friend bool operator==(const FramingKey&, const FramingKey&) = default;
};

// The key of the picture file `picture` (named `fileName` in its record); nothing when the
// file cannot be looked at.
std::optional<FramingKey> framingKeyOf(const std::filesystem::path& picture, std::string fileName,
                                       double frameAspect, double seconds, std::string detector);

class FramingCache {
  public:
    // Reads the album folder's file (an empty cache when it is missing or damaged). Choices of
    // file names outside `keptNames` (when it is not empty) are dropped at the next write.
    explicit FramingCache(std::filesystem::path albumFolder, std::vector<std::string> keptNames = {});

    // The choice kept for exactly this key.
    std::optional<MotionPath> find(const FramingKey& key) const;
    // Keeps a choice, replacing one of the same picture, aspect and time, and rewrites the
    // file. Returns false when the file could not be written (the choice is kept in memory).
    bool store(const FramingKey& key, const MotionPath& path);

    std::size_t size() const;

    // The file's text for some choices, and the choices a text holds (nothing when damaged).
    struct Entry {
        FramingKey key;
        MotionPath path;
    };
    static std::string serialise(const std::vector<Entry>& entries);
    static std::optional<std::vector<Entry>> parse(std::string_view text);

  private:
    std::filesystem::path file_;
    std::vector<std::string> keptNames_;
    mutable std::mutex mutex_;
    std::vector<Entry> entries_;
};

} // namespace vistello::motion
