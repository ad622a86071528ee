#pragma once
// Reading the picture files a render composes: the album's pictures and the background
// pictures, as 24-bit blue-green-red images.

#include <QImage>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

namespace vistello::production {

enum class PictureKind {
    ByExtension, // by the picture loader of the media module, which the extension guides
    Jpeg,        // as JPEG whatever the name (the background pictures)
};

// A picture file that cannot be read: which file, and the decoder's messages about it.
class PictureReadError : public std::runtime_error {
  public:
    PictureReadError(std::filesystem::path path, std::vector<std::string> reasons);
    const std::filesystem::path& path() const { return path_; }
    const std::vector<std::string>& reasons() const { return reasons_; }

  private:
    std::filesystem::path path_;
    std::vector<std::string> reasons_;
};

// The picture as Format_BGR888. Throws PictureReadError when it cannot be read; never returns
// a null image.
QImage readPictureFile(const std::filesystem::path& path, PictureKind kind = PictureKind::ByExtension);

} // namespace vistello::production
