#include "motion/framing_cache.h"

#include "store/name_escape.h"
#include "store/record_file.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace vistello::motion {

namespace {

// The first line; raise the number whenever chooseAutomaticMotion would choose differently,
// so that every kept choice is made again.
constexpr std::string_view kHeader = "Vistello framing 1";
// Choices kept per picture (several frame shapes or times); the oldest goes first.
constexpr std::size_t kPerPicture = 4;

// A name as one word of a line; "%" alone stands for the empty text.
std::string escaped(std::string_view text) {
    return text.empty() ? "%" : store::escapeName(text);
}

std::optional<std::string> unescaped(std::string_view text) {
    return text == "%" ? std::string() : store::unescapeName(text);
}

std::string number(double value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.17g", value);
    return buffer;
}

template <class T> bool readNumber(std::string_view word, T& value) {
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (error != std::errc() || end != word.data() + word.size())
        return false;
    if constexpr (std::is_floating_point_v<T>)
        return std::isfinite(value);
    return true;
}

std::vector<std::string_view> wordsOf(std::string_view line) {
    std::vector<std::string_view> words;
    std::size_t start = 0;
    while (start <= line.size()) {
        const std::size_t blank = std::min(line.find(' ', start), line.size());
        words.push_back(line.substr(start, blank - start));
        start = blank + 1;
    }
    return words;
}

bool sameChoice(const FramingKey& a, const FramingKey& b) {
    return a.fileName == b.fileName && a.frameAspect == b.frameAspect && a.seconds == b.seconds;
}

} // namespace

std::optional<FramingKey> framingKeyOf(const std::filesystem::path& picture, std::string fileName,
                                       double frameAspect, double seconds, std::string detector) {
    std::error_code error;
    const std::uintmax_t bytes = std::filesystem::file_size(picture, error);
    if (error)
        return std::nullopt;
    const auto modified = std::filesystem::last_write_time(picture, error);
    if (error)
        return std::nullopt;
    return FramingKey{
        std::move(fileName), bytes,   static_cast<std::int64_t>(modified.time_since_epoch().count()),
        frameAspect,         seconds, detector.empty() ? std::string("-") : std::move(detector)};
}

FramingCache::FramingCache(std::filesystem::path albumFolder, std::vector<std::string> keptNames)
    : file_(std::move(albumFolder) / kFramingCacheFileName), keptNames_(std::move(keptNames)) {
    std::ifstream in(file_, std::ios::binary);
    if (!in)
        return;
    std::ostringstream text;
    text << in.rdbuf();
    if (auto entries = parse(text.str()))
        entries_ = std::move(*entries);
}

std::optional<MotionPath> FramingCache::find(const FramingKey& key) const {
    const std::lock_guard lock(mutex_);
    for (const Entry& entry : entries_)
        if (entry.key == key)
            return entry.path;
    return std::nullopt;
}

bool FramingCache::store(const FramingKey& key, const MotionPath& path) {
    // Held while writing too, so that the last text written holds every choice made so far.
    const std::lock_guard lock(mutex_);
    std::erase_if(entries_, [&](const Entry& entry) {
        const bool dropped = !keptNames_.empty() && std::find(keptNames_.begin(), keptNames_.end(),
                                                              entry.key.fileName) == keptNames_.end();
        return dropped || sameChoice(entry.key, key);
    });
    const auto samePicture = [&](const Entry& entry) { return entry.key.fileName == key.fileName; };
    while (static_cast<std::size_t>(std::count_if(entries_.begin(), entries_.end(), samePicture)) >=
           kPerPicture)
        entries_.erase(std::find_if(entries_.begin(), entries_.end(), samePicture));
    entries_.push_back({key, path});
    try {
        store::writeFileAtomically(file_, serialise(entries_));
        return true;
    } catch (const std::exception&) {
        return false; // a folder that cannot be written: choose again next time
    }
}

std::size_t FramingCache::size() const {
    const std::lock_guard lock(mutex_);
    return entries_.size();
}

std::string FramingCache::serialise(const std::vector<Entry>& entries) {
    std::string text(kHeader);
    text += '\n';
    for (const Entry& e : entries) {
        const auto rect = [](const store::MotionRect& r) {
            return number(r.x) + ' ' + number(r.y) + ' ' + number(r.width) + ' ' + number(r.height);
        };
        text += escaped(e.key.fileName) + ' ' + std::to_string(e.key.bytes) + ' ' +
                std::to_string(e.key.modified) + ' ' + number(e.key.frameAspect) + ' ' +
                number(e.key.seconds) + ' ' + escaped(e.key.detector) + ' ' +
                std::string(store::easingName(e.path.easing)) + ' ' + rect(e.path.start) + ' ' +
                rect(e.path.end) + '\n';
    }
    return text;
}

std::optional<std::vector<FramingCache::Entry>> FramingCache::parse(std::string_view text) {
    if (!text.starts_with(kHeader) || text.size() == kHeader.size() || text[kHeader.size()] != '\n' ||
        text.back() != '\n')
        return std::nullopt;
    std::vector<Entry> entries;
    std::size_t start = kHeader.size() + 1;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        const std::vector<std::string_view> words = wordsOf(text.substr(start, end - start));
        start = end + 1;
        if (words.size() != 15)
            return std::nullopt;
        Entry entry;
        auto name = unescaped(words[0]), detector = unescaped(words[5]);
        const auto easing = store::easingFromName(words[6]);
        if (!name || !detector || !easing || !readNumber(words[1], entry.key.bytes) ||
            !readNumber(words[2], entry.key.modified) || !readNumber(words[3], entry.key.frameAspect) ||
            !readNumber(words[4], entry.key.seconds))
            return std::nullopt;
        double values[8];
        for (int i = 0; i < 8; ++i)
            if (!readNumber(words[static_cast<std::size_t>(7 + i)], values[i]))
                return std::nullopt;
        entry.key.fileName = std::move(*name);
        entry.key.detector = std::move(*detector);
        entry.path = {{values[0], values[1], values[2], values[3]},
                      {values[4], values[5], values[6], values[7]},
                      *easing};
        // A choice that leaves the picture is damage, not a framing.
        if (!store::isOnPicture(entry.path.start) || !store::isOnPicture(entry.path.end))
            return std::nullopt;
        entries.push_back(std::move(entry));
    }
    return entries;
}

} // namespace vistello::motion
