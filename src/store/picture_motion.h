#pragma once
// A picture's motion (pan and zoom) and the album file that keeps it.
//
// The three record layouts cannot hold a motion, so each album folder may hold a "Motion" file
// beside "PicInfo". It is keyed by the picture record's FileName (P3.jpg, ...): moving a record
// keeps its motion with it, and a motion whose file name is no longer in the picture list is
// dropped at the next save. A missing or damaged file reads as "no motion" for every picture
// and never stops an album from opening.
//
// The file is UTF-8 text, one entry a line, every line ending in "\n":
//   Vistello motion 1
//   P0.jpg automatic
//   P3.jpg custom ease-in-out 0.1 0.05 0.8 0.8 0 0 1 1
// A custom entry gives the easing, then the start and the end rectangle as x y width height in
// fractions of the picture's width and height, so a motion survives a decode at another size.
// A name's bytes at or below the blank, '%' and DEL are written as %XX. Any line that does not
// read exactly so makes the whole file damaged.

#include "store/records.h"

#include <filesystem>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace vistello::store {

inline constexpr std::string_view kMotionFileName = "Motion";

enum class MotionKind : std::uint8_t { None, Automatic, Custom };
enum class Easing : std::uint8_t { Linear, EaseIn, EaseOut, EaseInOut };

// "linear", "ease-in", "ease-out", "ease-in-out"; the names of the file and the command line.
std::string_view easingName(Easing easing);
std::optional<Easing> easingFromName(std::string_view name);

// A rectangle on a picture in fractions of its width and height: (0, 0, 1, 1) is the whole
// picture. Its aspect on the picture is (width × picture width) / (height × picture height).
struct MotionRect {
    double x = 0, y = 0, width = 1, height = 1;
    friend bool operator==(const MotionRect&, const MotionRect&) = default;
};

// True when every value is finite, the size is positive and the rectangle lies on the picture
// (a rounding error of 1e-9 allowed).
bool isOnPicture(const MotionRect& rect);

struct PictureMotion {
    MotionKind kind = MotionKind::None;
    // The rectangles shown at the start and at the end of the picture's time, and how the way
    // between them is spread over that time; meaningful for Custom only.
    MotionRect start, end;
    Easing easing = Easing::Linear;

    static PictureMotion automatic() { return {MotionKind::Automatic, {}, {}, Easing::Linear}; }
    static PictureMotion custom(MotionRect start, MotionRect end, Easing easing) {
        return {MotionKind::Custom, start, end, easing};
    }
    friend bool operator==(const PictureMotion&, const PictureMotion&) = default;
};

// The short text of a motion, as the command line takes and shows it: "none", "auto", or the
// two rectangles "X0,Y0,W0,H0:X1,Y1,W1,H1" in fractions of the picture (the easing apart).
std::string motionText(const PictureMotion& motion);
// The motion such a text names, with `easing` for the rectangles; nothing when the text is not
// exactly one of the three forms or a rectangle is not on the picture.
std::optional<PictureMotion> motionFromText(std::string_view text, Easing easing = Easing::Linear);

// The motions of one album's pictures, by file name. File names are the records' stored GBK
// bytes, trimmed of blanks and control characters as when the picture file is opened.
class MotionTable {
  public:
    // The album folder's motions; a missing, unreadable or damaged file gives an empty table.
    // Never throws.
    static MotionTable load(const std::filesystem::path& albumFolder);
    // The table the file's bytes describe, or an empty table when they are damaged.
    static MotionTable parse(std::string_view bytes);

    // The file's text for the pictures of the list, in list order; entries of other names are
    // left out.
    std::string serialise(std::span<const TPicInfo> pictures) const;
    // Forgets the entries whose file name is not in the list and rewrites the album folder's
    // file atomically (a temporary file, fsync, rename). Writes nothing when there is no entry
    // and no file yet, so an album without motions stays as it was. Throws StoreError.
    void save(const std::filesystem::path& albumFolder, std::span<const TPicInfo> pictures);

    // The motion of the picture stored as `fileName`; None when it has none.
    PictureMotion get(std::string_view fileName) const;
    // Sets it (None removes the entry). Refuses, returning false, an empty name or a custom
    // motion whose rectangles are not on the picture.
    [[nodiscard]] bool set(std::string_view fileName, const PictureMotion& motion);
    // Forgets the motion of that file name, so that a file number reused after a deletion
    // does not inherit the deleted picture's motion.
    void remove(std::string_view fileName);

    std::size_t size() const { return entries_.size(); }
    bool empty() const { return entries_.empty(); }

  private:
    std::map<std::string, PictureMotion, std::less<>> entries_; // by trimmed UTF-8 name
};

} // namespace vistello::store
