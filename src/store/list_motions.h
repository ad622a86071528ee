#pragma once
// The motions that travel with a picture list: the text a list snapshot keeps of them, and the
// rewrite of the album's "Motion" file that a list change makes, which the change can take
// back when a later step fails.
//
// A snapshot keeps the motions as the Motion file's text for exactly its pictures, in list
// order (MotionTable::serialise), so that two snapshots of the same list and motions hold the
// same bytes and a history can share them between neighbouring changes.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace vistello::store {

// The motions of the pictures `pictureRecords` (PicInfo bytes) as the album folder's Motion file
// holds them. A missing, unreadable or damaged file, or no folder, gives the text of no motion.
// Never throws.
std::string motionsText(const std::filesystem::path& albumFolder, std::string_view pictureRecords);

// True when the text names no motion (it is then what motionsText gives an old album).
bool holdsNoMotion(std::string_view motions);

// One rewrite of an album's Motion file to the motions of a picture list. What the file held
// is read when the rewrite is planned, so that putBack can restore it byte for byte.
class MotionFileRewrite {
  public:
    // Plans the file for `motions` (a snapshot's text) over the pictures `pictureRecords`;
    // entries of pictures not in the list are left out. Never throws.
    MotionFileRewrite(const std::filesystem::path& albumFolder, std::string_view motions,
                      std::string_view pictureRecords);

    // Writes the file atomically when its content changes. Nothing is written when the file
    // already holds the text, or when no picture has a motion and there is no file, or no
    // readable one, to correct: an old album gains no file, and a Motion file that cannot even
    // be read never stops a change that has no motion to keep. Throws StoreError with the file
    // as it was.
    void write();

    // Puts back what the file held before write(): its old bytes, or no file. False when that
    // failed or the old content was never readable. Never throws.
    bool putBack() noexcept;

  private:
    std::filesystem::path file_;
    std::optional<std::string> old_; // the file's bytes; nothing when it did not exist
    bool oldReadable_ = true;
    std::optional<std::string> new_; // what write() writes; nothing when nothing changes
    bool written_ = false;
};

} // namespace vistello::store
