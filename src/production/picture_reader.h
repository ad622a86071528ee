#pragma once
// Reading the picture files a render composes: the album's pictures and the background
// pictures, as 24-bit blue-green-red images.

#include <QImage>

#include <filesystem>

namespace vistello::production {

enum class PictureKind {
    ByExtension, // by the picture loader of the media module, which the extension guides
    Jpeg,        // as JPEG whatever the name (the background pictures)
};

// The picture as Format_BGR888. Throws std::runtime_error naming the file when it cannot be
// read; never returns a null image.
QImage readPictureFile(const std::filesystem::path& path, PictureKind kind = PictureKind::ByExtension);

} // namespace vistello::production
