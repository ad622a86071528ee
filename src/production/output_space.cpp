#include "production/output_space.h"

#include "production/frame_generator.h"

#include <algorithm>
#include <filesystem>

namespace vistello::production {

namespace {
// Bytes of each pack given to its pack, system and packet headers, as a generous allowance.
constexpr double kHeaderBytesPerPack = 64;
} // namespace

std::uintmax_t expectedVideoBytes(const FormatPreset& preset, std::int64_t frames) {
    const double seconds = static_cast<double>(std::max<std::int64_t>(frames, 0)) / kFramesPerSecond;
    const bool constantRate = preset.muxRate > 0 && preset.minRate == preset.maxRate;
    const double bitsPerSecond = constantRate
                                     ? static_cast<double>(preset.muxRate)
                                     : static_cast<double>(preset.bitRate + preset.audioBitRate) *
                                           preset.packetSize / (preset.packetSize - kHeaderBytesPerPack);
    return static_cast<std::uintmax_t>(seconds * bitsPerSecond / 8);
}

std::optional<OutputSpace> outputSpace(const store::AlbumStore& album, const ProductionSettings& settings) {
    const FormatPreset* preset = formatPreset(kFormats[std::clamp(settings.format, 0, 2)].preset);
    if (!preset)
        return std::nullopt;
    std::error_code error;
    const std::filesystem::path folder = settings.outputPath.parent_path().empty()
                                             ? std::filesystem::current_path(error)
                                             : settings.outputPath.parent_path();
    const std::filesystem::space_info space = std::filesystem::space(folder, error);
    if (error)
        return std::nullopt;
    OutputSpace result;
    result.expectedBytes = expectedVideoBytes(*preset, totalVideoFrames(album, settings.synchronise));
    // An older file at the output gives no room back: it stays until the finished video
    // replaces it in one rename, so both lie on the disk while the run writes.
    result.availableBytes = space.available;
    return result;
}

} // namespace vistello::production
