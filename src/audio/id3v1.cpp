#include "audio/id3v1.h"

#include <fstream>

namespace vistello::audio {

namespace {

// The bytes of a fixed field without its trailing blanks and control bytes (NUL included).
std::string trimmedField(const unsigned char* bytes, std::size_t size) {
    while (size > 0 && bytes[size - 1] <= 0x20)
        --size;
    return std::string(reinterpret_cast<const char*>(bytes), size);
}

} // namespace

void TID3v1::clear() {
    found = false;
    version = 1;
    title.clear();
    artist.clear();
    album.clear();
    year.clear();
    comment.clear();
    track = 0;
    genre = 255;
}

bool TID3v1::ReadFromFile(const std::filesystem::path& fileName) {
    clear();
    std::ifstream file(fileName, std::ios::binary);
    if (!file)
        return false;
    file.seekg(0, std::ios::end);
    const std::streamoff size = file.tellg();
    if (size < static_cast<std::streamoff>(kTagSize))
        return false;
    unsigned char block[kTagSize];
    file.seekg(size - static_cast<std::streamoff>(kTagSize));
    if (!file.read(reinterpret_cast<char*>(block), kTagSize))
        return false;
    parse(block);
    return true;
}

void TID3v1::parse(const unsigned char (&block)[kTagSize]) {
    clear();
    if (block[0] != 'T' || block[1] != 'A' || block[2] != 'G')
        return;
    found = true;
    const bool v11 = (block[125] == 0 && block[126] != 0) || (block[125] == 0x20 && block[126] != 0x20);
    version = v11 ? 2 : 1;
    title = trimmedField(block + 3, 30);
    artist = trimmedField(block + 33, 30);
    album = trimmedField(block + 63, 30);
    year = trimmedField(block + 93, 4);
    if (v11) {
        comment = trimmedField(block + 97, 28);
        track = block[126];
    } else {
        comment = trimmedField(block + 97, 30);
    }
    genre = block[127];
}

} // namespace vistello::audio
