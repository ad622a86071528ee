#include "cli/effect_pictures.h"

#include "media/bitmap_bridge.h"
#include "media/message_sink.h"
#include "media/picture_file.h"

#include <QFileInfo>
#include <charconv>

namespace vistello::cli {

std::optional<effects::Bitmap> loadStretched(const std::string& path, int width, int height) {
    media::StderrMessageSink messages;
    QImage image = media::LoadPictureFile(QString::fromStdString(path), messages);
    if (image.isNull())
        return std::nullopt;
    if (image.width() != width || image.height() != height)
        image = image.scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return media::bitmapFromImage(image);
}

bool saveByExtension(const effects::Bitmap& bitmap, const std::string& path, std::string& error) {
    const QString suffix = QFileInfo(QString::fromStdString(path)).suffix().toLower();
    const char* format = nullptr;
    if (suffix == "png")
        format = "PNG";
    else if (suffix == "bmp")
        format = "BMP";
    else if (suffix == "ppm")
        format = "PPM"; // Qt writes colour PPM as binary P6
    if (format == nullptr) {
        error = "output must end in .png, .bmp or .ppm: " + path;
        return false;
    }
    if (!media::imageFromBitmap(bitmap).save(QString::fromStdString(path), format)) {
        error = "cannot write " + path;
        return false;
    }
    return true;
}

std::optional<int> parseInt(const std::string& text) {
    int value = 0;
    const char* first = text.data();
    const char* last = text.data() + text.size();
    if (first != last && *first == '+')
        ++first;
    const auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc() || end != last || first == last)
        return std::nullopt;
    return value;
}

std::optional<std::pair<int, int>> parseSize(const std::string& text) {
    const auto x = text.find_first_of("xX");
    if (x == std::string::npos)
        return std::nullopt;
    const auto width = parseInt(text.substr(0, x));
    const auto height = parseInt(text.substr(x + 1));
    if (!width || !height || *width < 1 || *height < 1 || *width > kMaxEffectSide || *height > kMaxEffectSide)
        return std::nullopt;
    return std::pair{*width, *height};
}

std::optional<std::vector<int>> parseSteps(const std::string& text) {
    std::vector<int> steps;
    if (text == "editor" || text == "video") {
        const int step = text == "editor" ? 4 : 2;
        const int last = text == "editor" ? 96 : 100;
        for (int p = step; p <= last; p += step)
            steps.push_back(p);
        return steps;
    }
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = text.find(',', start);
        const auto value =
            parseInt(text.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
        if (!value)
            return std::nullopt;
        steps.push_back(*value);
        if (comma == std::string::npos)
            break;
        start = comma + 1;
    }
    return steps;
}

} // namespace vistello::cli
