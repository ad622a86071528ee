#include "store/picture_motion.h"

#include "store/album_names.h"
#include "store/gbk_text.h"
#include "store/name_escape.h"
#include "store/record_file.h"
#include "store/store_error.h"

#include <array>
#include <charconv>
#include <cmath>
#include <set>
#include <vector>

namespace vistello::store {

namespace {

constexpr std::string_view kHeader = "Vistello motion 1";
constexpr double kTolerance = 1e-9;
constexpr std::array<std::string_view, 4> kEasingNames = {"linear", "ease-in", "ease-out", "ease-in-out"};

std::string keyOf(std::string_view storedName) {
    return trimName(gbkToUtf8(storedName));
}

std::vector<std::string_view> splitOn(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    std::size_t begin = 0;
    for (;;) {
        const std::size_t end = text.find(separator, begin);
        parts.push_back(
            text.substr(begin, end == std::string_view::npos ? std::string_view::npos : end - begin));
        if (end == std::string_view::npos)
            return parts;
        begin = end + 1;
    }
}

std::optional<double> numberFrom(std::string_view text) {
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

void appendNumber(std::string& out, double value) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value); // shortest exact form
    out.append(buffer, result.ptr);
}

// One entry line's fields after the name, or nothing when they do not read exactly.
std::optional<PictureMotion> motionFrom(std::span<const std::string_view> fields) {
    if (fields.size() == 1 && fields[0] == "automatic")
        return PictureMotion::automatic();
    if (fields.size() != 10 || fields[0] != "custom")
        return std::nullopt;
    const std::optional<Easing> easing = easingFromName(fields[1]);
    std::array<double, 8> values{};
    for (std::size_t i = 0; i < values.size(); ++i) {
        const std::optional<double> value = numberFrom(fields[2 + i]);
        if (!easing || !value)
            return std::nullopt;
        values[i] = *value;
    }
    const PictureMotion motion = PictureMotion::custom({values[0], values[1], values[2], values[3]},
                                                       {values[4], values[5], values[6], values[7]}, *easing);
    if (!isOnPicture(motion.start) || !isOnPicture(motion.end))
        return std::nullopt;
    return motion;
}

} // namespace

std::string_view easingName(Easing easing) {
    const auto index = static_cast<std::size_t>(easing);
    return index < kEasingNames.size() ? kEasingNames[index] : kEasingNames[0];
}

std::optional<Easing> easingFromName(std::string_view name) {
    for (std::size_t i = 0; i < kEasingNames.size(); ++i)
        if (kEasingNames[i] == name)
            return static_cast<Easing>(i);
    return std::nullopt;
}

bool isOnPicture(const MotionRect& rect) {
    for (const double value : {rect.x, rect.y, rect.width, rect.height})
        if (!std::isfinite(value))
            return false;
    return rect.width > 0 && rect.height > 0 && rect.x >= -kTolerance && rect.y >= -kTolerance &&
           rect.x + rect.width <= 1 + kTolerance && rect.y + rect.height <= 1 + kTolerance;
}

std::string motionText(const PictureMotion& motion) {
    switch (motion.kind) {
    case MotionKind::None:
        return "none";
    case MotionKind::Automatic:
        return "auto";
    case MotionKind::Custom:
        break;
    }
    std::string out;
    for (const MotionRect& rect : {motion.start, motion.end}) {
        if (!out.empty())
            out += ':';
        const double values[] = {rect.x, rect.y, rect.width, rect.height};
        for (std::size_t i = 0; i < std::size(values); ++i) {
            if (i > 0)
                out += ',';
            appendNumber(out, values[i]);
        }
    }
    return out;
}

std::optional<PictureMotion> motionFromText(std::string_view text, Easing easing) {
    if (text == "none")
        return PictureMotion();
    if (text == "auto")
        return PictureMotion::automatic();
    const std::vector<std::string_view> halves = splitOn(text, ':');
    if (halves.size() != 2 || static_cast<std::size_t>(easing) >= kEasingNames.size())
        return std::nullopt;
    MotionRect rects[2];
    for (int r = 0; r < 2; ++r) {
        const std::vector<std::string_view> parts = splitOn(halves[static_cast<std::size_t>(r)], ',');
        if (parts.size() != 4)
            return std::nullopt;
        double values[4];
        for (std::size_t i = 0; i < 4; ++i) {
            const std::optional<double> value = numberFrom(parts[i]);
            if (!value)
                return std::nullopt;
            values[i] = *value;
        }
        rects[r] = {values[0], values[1], values[2], values[3]};
        if (!isOnPicture(rects[r]))
            return std::nullopt;
    }
    return PictureMotion::custom(rects[0], rects[1], easing);
}

MotionTable MotionTable::load(const std::filesystem::path& albumFolder) {
    if (albumFolder.empty())
        return {};
    try {
        const std::optional<std::string> bytes = readFileIfExists(albumFolder / kMotionFileName);
        return bytes ? parse(*bytes) : MotionTable();
    } catch (const std::exception&) {
        return {}; // unreadable (a folder, no permission, ...): no motions, the album still opens
    }
}

MotionTable MotionTable::parse(std::string_view bytes) {
    std::vector<std::string_view> lines = splitOn(bytes, '\n');
    // The file ends with a newline, so the last part is empty; anything else was cut short.
    if (lines.size() < 2 || !lines.back().empty() || lines.front() != kHeader)
        return {};
    MotionTable table;
    for (std::size_t i = 1; i + 1 < lines.size(); ++i) {
        const std::vector<std::string_view> fields = splitOn(lines[i], ' ');
        const std::optional<std::string> name = unescapeName(fields[0]);
        const std::optional<PictureMotion> motion =
            fields.size() > 1 ? motionFrom(std::span(fields).subspan(1)) : std::nullopt;
        if (!name || name->empty() || !motion || table.entries_.contains(*name))
            return {};
        table.entries_.emplace(*name, *motion);
    }
    return table;
}

std::string MotionTable::serialise(std::span<const TPicInfo> pictures) const {
    std::string out(kHeader);
    out += '\n';
    std::set<std::string, std::less<>> written;
    for (const TPicInfo& picture : pictures) {
        std::string key = keyOf(picture.FileName.gbk());
        const auto entry = entries_.find(key);
        if (entry == entries_.end() || !written.insert(key).second)
            continue;
        const PictureMotion& motion = entry->second;
        out += escapeName(key);
        if (motion.kind == MotionKind::Automatic) {
            out += " automatic";
        } else {
            out += " custom ";
            out += easingName(motion.easing);
            for (const MotionRect& rect : {motion.start, motion.end})
                for (const double value : {rect.x, rect.y, rect.width, rect.height}) {
                    out += ' ';
                    appendNumber(out, value);
                }
        }
        out += '\n';
    }
    return out;
}

void MotionTable::save(const std::filesystem::path& albumFolder, std::span<const TPicInfo> pictures) {
    std::set<std::string, std::less<>> listed;
    for (const TPicInfo& picture : pictures)
        listed.insert(keyOf(picture.FileName.gbk()));
    std::erase_if(entries_, [&](const auto& entry) { return !listed.contains(entry.first); });

    const std::filesystem::path file = albumFolder / kMotionFileName;
    std::error_code error;
    if (entries_.empty() && !std::filesystem::exists(std::filesystem::symlink_status(file, error)))
        return;
    writeFileAtomically(file, serialise(pictures));
}

PictureMotion MotionTable::get(std::string_view fileName) const {
    const auto entry = entries_.find(keyOf(fileName));
    return entry == entries_.end() ? PictureMotion() : entry->second;
}

bool MotionTable::set(std::string_view fileName, const PictureMotion& motion) {
    std::string key = keyOf(fileName);
    if (key.empty())
        return false;
    switch (motion.kind) {
    case MotionKind::None:
        entries_.erase(key);
        return true;
    case MotionKind::Automatic:
        entries_.insert_or_assign(std::move(key), PictureMotion::automatic());
        return true;
    case MotionKind::Custom:
        if (!isOnPicture(motion.start) || !isOnPicture(motion.end) ||
            static_cast<std::size_t>(motion.easing) >= kEasingNames.size())
            return false;
        entries_.insert_or_assign(std::move(key), motion);
        return true;
    }
    return false;
}

void MotionTable::remove(std::string_view fileName) {
    const auto entry = entries_.find(keyOf(fileName));
    if (entry != entries_.end())
        entries_.erase(entry);
}

} // namespace vistello::store
