#pragma once
// Where the album store lives when no folder is named: beside the program when that folder
// is writable and not a system folder under /usr, else in $XDG_DATA_HOME/vistello/ (by
// default ~/.local/share/vistello/).

#include <filesystem>

namespace vistello::store {

// The folder of the running program file.
std::filesystem::path programFolder();

// The default store folder, created if it does not exist yet.
std::filesystem::path defaultRootPath();

} // namespace vistello::store
