#include "store/album_names.h"

#include "store/gbk_text.h"

#include <algorithm>
#include <cctype>
#include <iterator>

namespace vistello::store {

namespace {
bool isBlankOrControl(unsigned char c) {
    return c <= 0x20 || c == 0x7F;
}

bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

// The store's own files; "Album" lies in the root, the others in every album ("Motion" holds
// the pictures' motions, picture_motion.h).
constexpr std::string_view kListFileNames[] = {"Album", "PicInfo", "MusicInfo", "Motion"};
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

bool isReservedAlbumName(std::string_view name) {
    return equalsIgnoringAsciiCase(name, "Album") || equalsIgnoringAsciiCase(name, "BackPic");
}

bool isMediaFileName(std::string_view name) {
    if (!isPlainFileName(name) || name.front() == '.')
        return false;
    // The list itself, or its temporary copy "<list>.XXXXXX" (record_file.cpp).
    const std::string_view stem = name.substr(0, name.find('.'));
    return std::none_of(std::begin(kListFileNames), std::end(kListFileNames),
                        [&](std::string_view list) { return equalsIgnoringAsciiCase(stem, list); });
}

std::string shortenedAlbumName(std::string_view typed) {
    std::string name = albumNameFromTyped(typed);
    return name == trimName(typed) ? std::string() : name;
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
