#pragma once
// The encoder's error type: a failing step with FFmpeg's own reason.

#include <stdexcept>
#include <string>

namespace vistello::production {

// A failure inside the encoder, with the step and the library's own reason.
class EncoderError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// "step: FFmpeg's text for code".
std::string ffmpegMessage(const std::string& step, int code);
// Throws EncoderError when code is negative; returns it otherwise.
int checkAv(int code, const char* step);

} // namespace vistello::production
