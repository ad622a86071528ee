#pragma once
// What a production run is told: the settings the production dialog (or
// the command-line tool) fills in before a run starts.

#include "production/video_format.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace vistello::production {

enum class BackgroundMode { Colour, Pictures };

struct ProductionSettings {
    const VideoFormat* format = &videoFormat("vcd"); // a row of the format table
    EncodeOptions encode;
    std::filesystem::path outputPath;
    bool synchronise = false; // spread the pictures evenly over the music
    BackgroundMode background = BackgroundMode::Colour;
    std::uint32_t colour = 0;                 // 0x00BBGGRR, black by default
    std::vector<std::string> backgroundNames; // ticked files of the BackPic folder, in list order
    bool soften = false;                      // the display frame grows softer frame by frame
    bool disc = false;                        // a disc format's images ready to burn beside the video
    bool motion = false; // pictures without a motion of their own move with the automatic one
};

} // namespace vistello::production
