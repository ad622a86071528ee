#pragma once
// Discs ready to burn, made from a finished render of a disc format by the authoring tools run
// as programs: for DVD a DVD-Video folder (VIDEO_TS, a chapter at every picture, playing at
// once on insertion) through dvdauthor and its ISO image through genisoimage; for VCD and SVCD
// a BIN/CUE image through vcdimager. The video file stays whatever happens.

#include "production/video_format.h"

#include <QByteArray>

#include <filesystem>
#include <string>
#include <vector>

namespace vistello::production {

struct DiscImage {
    std::vector<std::filesystem::path> files; // the folder and images made
    std::string error;                        // the failing tool and its message; empty on success
};

// Where the images of `video` go: beside it, named after it ("Trip.mpg": "Trip-DVD/",
// "Trip.iso"; "Trip.cue" and "Trip.bin").
std::filesystem::path dvdFolderFor(const std::filesystem::path& video);
std::filesystem::path isoFor(const std::filesystem::path& video);
std::filesystem::path cueFor(const std::filesystem::path& video);
std::filesystem::path binFor(const std::filesystem::path& video);

// dvdauthor's chapter list: "0:00:00.000,0:00:05.040,..." from start times in seconds.
std::string dvdChapterList(const std::vector<double>& startSeconds);
// dvdauthor's project: the video as the one title with its chapters, started on insertion.
QByteArray dvdAuthorXml(const VideoFormat& format, const std::filesystem::path& video,
                        const std::filesystem::path& folder, const std::vector<double>& chapterSeconds);

// Makes the images for `video`, a finished file of the disc format `format`, with a chapter
// at each of `chapterSeconds` (DVD only). A DVD folder that exists already is not touched.
DiscImage makeDiscImage(const VideoFormat& format, const std::filesystem::path& video,
                        const std::vector<double>& chapterSeconds);

} // namespace vistello::production
