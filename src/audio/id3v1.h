#pragma once
// TID3v1 reads the ID3v1 tag in the last 128 bytes of an MP3 file: title, artist, album,
// year, comment, and for version 1.1 the track number, plus the genre number. Texts are the
// tag's raw bytes (usually GBK), with trailing blanks and control bytes removed.

#include <cstdint>
#include <filesystem>
#include <string>

namespace vistello::audio {

class TID3v1 {
  public:
    static constexpr std::size_t kTagSize = 128;

    TID3v1() { clear(); }

    bool found = false;
    int version = 1; // 1 = ID3v1.0, 2 = ID3v1.1
    std::string title;
    std::string artist;
    std::string album;
    std::string year;
    std::string comment;
    std::uint8_t track = 0;
    std::uint8_t genre = 255;

    void clear();
    // True when the last 128 bytes of the file could be read, whether or not they hold a tag;
    // false on any file error (also a file shorter than 128 bytes). Fields are cleared first.
    bool ReadFromFile(const std::filesystem::path& fileName);
    // Decodes a tag block that was read already.
    void parse(const unsigned char (&block)[kTagSize]);
};

} // namespace vistello::audio
