#pragma once
// The input/output error of the album store: carries the operating system's error code and
// names the file, so the window program's top-level handler can show it in an error box.

#include <filesystem>
#include <string>
#include <system_error>

namespace vistello::store {

class StoreError : public std::system_error {
public:
    StoreError(int errorCode, const std::string& action, const std::filesystem::path& file)
        : std::system_error(errorCode, std::generic_category(), action + " \"" + file.string() + "\"") {}
};

} // namespace vistello::store
