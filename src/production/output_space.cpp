#include "production/output_space.h"

#include "production/timeline.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

namespace vistello::production {

namespace {
// Bytes of each pack given to its pack, system and packet headers, as a generous allowance.
constexpr double kHeaderBytesPerPack = 64;
} // namespace

std::uintmax_t expectedVideoBytes(const VideoFormat& format, const EncodeOptions& options,
                                  std::int64_t frames) {
    const Rational rate = frameRateOf(format, options);
    const double seconds = static_cast<double>(std::max<std::int64_t>(frames, 0)) * rate.den / rate.num;
    double bitsPerSecond = 0;
    if (format.constantQuality) {
        const double pixelsPerSecond =
            static_cast<double>(format.codedWidth) * format.codedHeight * rate.value();
        const int quality = qualityOf(format, options);
        const int reference =
            videoCodecOf(format, options) == VideoCodec::H265 ? kDefaultH265Quality : kDefaultH264Quality;
        bitsPerSecond = 0.1 * pixelsPerSecond * std::exp2((reference - quality) / 6.0) +
                        static_cast<double>(format.audioBitRate);
    } else if (format.muxRate > 0 && format.minRate == format.maxRate) {
        bitsPerSecond = static_cast<double>(format.muxRate);
    } else {
        bitsPerSecond = static_cast<double>(format.bitRate + format.audioBitRate) * format.packetSize /
                        (format.packetSize - kHeaderBytesPerPack);
    }
    return static_cast<std::uintmax_t>(seconds * bitsPerSecond / 8);
}

std::optional<OutputSpace> outputSpace(const store::AlbumStore& album, const ProductionSettings& settings) {
    if (!settings.format)
        return std::nullopt;
    const VideoFormat& format = *settings.format;
    std::error_code error;
    const std::filesystem::path folder = settings.outputPath.parent_path().empty()
                                             ? std::filesystem::current_path(error)
                                             : settings.outputPath.parent_path();
    const std::filesystem::space_info space = std::filesystem::space(folder, error);
    if (error)
        return std::nullopt;
    OutputSpace result;
    result.expectedBytes = expectedVideoBytes(
        format, settings.encode,
        totalVideoFrames(album, settings.synchronise, frameRateOf(format, settings.encode)));
    // An older file at the output gives no room back: it stays until the finished video
    // replaces it in one rename, so both lie on the disk while the run writes.
    result.availableBytes = space.available;
    return result;
}

} // namespace vistello::production
