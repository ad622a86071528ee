// libFuzzer target: Mp3Decoder over arbitrary bytes in a file. Whatever FFmpeg makes of
// them, the counted length must match what read() delivers, and a seek must not fail hard.

#include "audio/mp3_decoder.h"

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using vistello::audio::Mp3Decoder;
    const std::string path = "/tmp/vistello-mp3-fuzz-" + std::to_string(getpid()) + ".mp3";
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    std::string error;
    auto decoder = Mp3Decoder::open(path, {44100, 2}, error);
    if (decoder) {
        std::vector<std::int16_t> buffer(2048);
        std::int64_t guard = 0;
        while (decoder->read(buffer) > 0 && ++guard < 100000) {
        }
        if (decoder->filePosition() != decoder->fileSize())
            __builtin_trap();
        decoder->seek(decoder->lengthFrames() / 2);
        decoder->read(buffer);
    }
    std::remove(path.c_str());
    return 0;
}
