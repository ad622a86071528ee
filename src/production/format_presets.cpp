#include "production/format_presets.h"

#include <array>

namespace vistello::production {

namespace {

// VCD: constant 1150 kbit/s MPEG-1 in 352 × 288; the 320-pixel frames sit between 16-pixel
// black bars so that square-pixel pictures keep their shape on a 4:3 screen. The preload
// offsets the first timestamps past the two leading padding packs the VCD muxer writes.
constexpr FormatPreset kVcd{"vcd", AV_CODEC_ID_MPEG1VIDEO, false, 352, 288, 320, 16,
                            1150000, 1150000, 1150000, 40 * 1024 * 8, 15, false, {12, 11},
                            44100, 224000, 2324, 2352 * 75 * 8, (36000 + 3 * 1200) / 90000.0};
// SVCD: MPEG-2 480 × 576, at most 2516 kbit/s, with scan offsets.
constexpr FormatPreset kSvcd{"svcd", AV_CODEC_ID_MPEG2VIDEO, true, 480, 576, 480, 0,
                             2040000, 2516000, 0, 224 * 1024 * 8, 15, true, {8, 5},
                             44100, 224000, 2324, 0, 0};
// DVD: MPEG-2 720 × 576, 6 Mbit/s average, 2048-byte packs; MP2 sound at 48 kHz.
constexpr FormatPreset kDvd{"dvd", AV_CODEC_ID_MPEG2VIDEO, true, 720, 576, 720, 0,
                            6000000, 9000000, 0, 224 * 1024 * 8, 15, false, {16, 15},
                            48000, 224000, 2048, 10080000, 0};

constexpr std::array kPresets = {&kVcd, &kSvcd, &kDvd};

} // namespace

const FormatPreset* formatPreset(int preset) {
    if (preset < 0 || preset >= static_cast<int>(kPresets.size()))
        return nullptr;
    return kPresets[static_cast<std::size_t>(preset)];
}

} // namespace vistello::production
