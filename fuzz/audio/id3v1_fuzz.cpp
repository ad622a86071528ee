// libFuzzer target: the ID3v1 reader over the tail of arbitrary bytes.

#include "audio/id3v1.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using vistello::audio::TID3v1;
    if (size < TID3v1::kTagSize)
        return 0;
    unsigned char block[TID3v1::kTagSize];
    std::memcpy(block, data + size - TID3v1::kTagSize, TID3v1::kTagSize);
    TID3v1 tag;
    tag.parse(block);
    if (tag.title.size() > 30 || tag.artist.size() > 30 || tag.album.size() > 30 || tag.year.size() > 4 ||
        tag.comment.size() > 30 || (tag.version != 1 && tag.version != 2) || (!tag.found && tag.genre != 255))
        __builtin_trap();
    return 0;
}
