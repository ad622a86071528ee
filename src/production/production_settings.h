#pragma once
// What a production run is told: the format table and the settings the production dialog (or
// the command-line tool) fills in before a run starts.

#include <QString>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace vistello::production {

// One row of the format table: frame size, output name prefix, encoder preset, whether
// MPEG-2 is switched on, and the title's font size and row.
struct FormatInfo {
    const char* name;
    int width, height;
    const char* prefix;
    int preset;
    bool mpeg2;
    int titleSize, titleRow;
};

inline constexpr FormatInfo kFormats[] = {
    {"VCD", 320, 288, "VCD-", 0, false, 17, 265},
    {"SVCD", 480, 576, "SVCD-", 1, true, 24, 540},
    {"DVD", 720, 576, "DVD-", 2, true, 36, 530},
};

enum class BackgroundMode { Colour, Pictures };

struct ProductionSettings {
    int format = 0; // index into kFormats (0 VCD, 1 SVCD, 2 DVD)
    std::filesystem::path outputPath;
    bool synchronise = false; // spread the pictures evenly over the music
    BackgroundMode background = BackgroundMode::Colour;
    std::uint32_t colour = 0; // 0x00BBGGRR, black by default
    std::vector<std::string> backgroundNames; // ticked files of the BackPic folder, in list order
    bool soften = false; // the display frame grows softer frame by frame
};

// The text shown while synchronisation cannot be switched on, and for a run asked to.
inline const QString kMusicTooShort = QStringLiteral("音乐太短,无法同步!请删除部分图片或者添加音乐。");

} // namespace vistello::production
