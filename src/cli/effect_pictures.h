#pragma once
// Reading and writing the effect subcommands' pictures, and the argument parsers they share.

#include "effects/raster/bitmap.h"

#include <optional>
#include <string>
#include <vector>

namespace vistello::cli {

// Largest side the effect subcommands accept, to keep a typo from allocating gigabytes.
inline constexpr int kMaxEffectSide = 8192;

// Reads a picture file with the program's own decoders (LoadPictureFile, whose messages go to
// stderr), stretched smoothly to width × height; nullopt when it cannot be read.
std::optional<effects::Bitmap> loadStretched(const std::string& path, int width, int height);
// Writes PNG, BMP or binary PPM by the file's extension; false for another extension or a
// failed write, with the reason in `error`.
bool saveByExtension(const effects::Bitmap& bitmap, const std::string& path, std::string& error);

// "WxH" with both sides in 1..kMaxEffectSide.
std::optional<std::pair<int, int>> parseSize(const std::string& text);
// A whole decimal number, optionally signed; nullopt for anything else.
std::optional<int> parseInt(const std::string& text);
// "editor" (4, 8, ..., 96), "video" (2, 4, ..., 100) or comma-separated numbers.
std::optional<std::vector<int>> parseSteps(const std::string& text);

} // namespace vistello::cli
