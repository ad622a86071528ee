#pragma once
// The background pictures a video may be laid on: the ".jpg" files of the "BackPic" folder.
// The folder sits in the album store when the program runs from its own folder; an installed
// program keeps its album store in the user's data folder and finds the pictures it ships in
// <prefix>/share/vistello/BackPic instead.

#include <filesystem>
#include <string>
#include <vector>

namespace vistello::production {

// The "BackPic" folder of the store at `root` when there is one, else the installed one
// beside the program (<program folder>/../share/vistello/BackPic) when that exists, else the
// store's (missing) folder, which lists no pictures.
std::filesystem::path backgroundFolder(const std::filesystem::path& root);
std::filesystem::path backgroundFolder(const std::filesystem::path& root,
                                       const std::filesystem::path& programFolder);

// The names, without folder, of the regular files in `folder` whose extension is ".jpg" in any
// case, sorted by name. A missing or unreadable folder gives an empty list.
std::vector<std::string> backgroundPictureNames(const std::filesystem::path& folder);

} // namespace vistello::production
