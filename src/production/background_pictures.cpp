#include "production/background_pictures.h"

#include "store/root_path.h"

#include <algorithm>
#include <cctype>

namespace vistello::production {

namespace fs = std::filesystem;

fs::path backgroundFolder(const fs::path& root) {
    return backgroundFolder(root, store::programFolder());
}

fs::path backgroundFolder(const fs::path& root, const fs::path& programFolder) {
    std::error_code error;
    const fs::path own = root / "BackPic";
    if (fs::is_directory(own, error))
        return own;
    const fs::path installed = programFolder.parent_path() / "share" / "vistello" / "BackPic";
    if (fs::is_directory(installed, error))
        return installed;
    return own;
}

std::vector<std::string> backgroundPictureNames(const fs::path& folder) {
    std::vector<std::string> names;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        std::string extension = it->path().extension().string();
        std::transform(extension.begin(), extension.end(), extension.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        std::error_code typeError;
        if (extension == ".jpg" && it->is_regular_file(typeError))
            names.push_back(it->path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace vistello::production
