#include "store/root_path.h"

#include <cstdlib>
#include <unistd.h>

namespace vistello::store {

namespace fs = std::filesystem;

fs::path programFolder() {
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return ec ? fs::current_path() : exe.parent_path();
}

fs::path defaultRootPath() {
    const fs::path beside = programFolder();
    // An installed program lives in a system folder: even root keeps its albums in the
    // data folder then, never among the system's programs.
    const std::string folder = beside.string();
    const bool systemFolder = folder.rfind("/usr/", 0) == 0 || folder == "/bin" || folder == "/sbin";
    if (!systemFolder && ::access(beside.c_str(), W_OK) == 0)
        return beside;
    fs::path data;
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg == '/')
        data = xdg;
    else if (const char* home = std::getenv("HOME"); home && *home)
        data = fs::path(home) / ".local" / "share";
    else
        data = fs::temp_directory_path();
    fs::path root = data / "vistello";
    std::error_code ec;
    fs::create_directories(root, ec);
    return root;
}

} // namespace vistello::store
