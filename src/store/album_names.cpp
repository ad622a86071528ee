#include "store/album_names.h"

#include "store/gbk_text.h"

namespace vistello::store {

namespace {
bool isBlankOrControl(unsigned char c) {
    return c <= 0x20 || c == 0x7F;
}
} // namespace

std::string trimName(std::string_view utf8) {
    std::size_t begin = 0;
    std::size_t end = utf8.size();
    while (begin < end && isBlankOrControl(static_cast<unsigned char>(utf8[begin])))
        ++begin;
    while (end > begin && isBlankOrControl(static_cast<unsigned char>(utf8[end - 1])))
        --end;
    return std::string(utf8.substr(begin, end - begin));
}

std::string albumNameFromTyped(std::string_view typed) {
    const std::string gbk = utf8ToGbk(trimName(typed));
    return trimName(gbkToUtf8(std::string_view(gbk).substr(0, gbkPrefixLength(gbk, kAlbumNameBytes))));
}

bool isUsableFolderName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string_view::npos &&
           name.find('\0') == std::string_view::npos;
}

bool isPlainFileName(std::string_view name) {
    return isUsableFolderName(name);
}

std::string NextFreeFileNumber(const std::filesystem::path& folder, std::string_view prefix,
                               std::string_view extension) {
    for (unsigned long long n = 0;; ++n) {
        const std::string number = std::to_string(n);
        std::string name;
        name.append(prefix).append(number).append(".").append(extension);
        std::error_code error;
        const auto status = std::filesystem::symlink_status(folder / name, error);
        if (!std::filesystem::exists(status))
            return number;
    }
}

} // namespace vistello::store
