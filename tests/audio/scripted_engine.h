#pragma once
// A sound engine for the player's tests: it logs every call the player makes and returns the
// lengths and positions the test sets, so the player's logic is checked without sound.

#include "audio/sound_engine.h"

#include <memory>
#include <string>
#include <vector>

namespace vistello::audio::test {

struct EngineScript {
    std::vector<std::string> calls;
    std::uint64_t lengthBytes = 0;
    double bytesPerSecond = 176400.0;
    std::int64_t fileLength = 0;
    std::int64_t filePosition = 0;
    double measuredSeconds = 0.0;
};

class ScriptedEngine final : public SoundEngine {
  public:
    explicit ScriptedEngine(std::shared_ptr<EngineScript> script) : script_(std::move(script)) {}

    void open(const std::filesystem::path& path) override { log("open " + path.string()); }
    std::uint64_t lengthBytes() const override { return script_->lengthBytes; }
    double bytesToSeconds(std::uint64_t bytes) const override {
        return static_cast<double>(bytes) / script_->bytesPerSecond;
    }
    std::int64_t fileLength() const override { return script_->fileLength; }
    std::int64_t filePosition() override { return script_->filePosition; }
    void play() override { log("play"); }
    void pause() override { log("pause"); }
    void resume() override { log("resume"); }
    void stop() override { log("stop"); }
    void setPosition(std::uint64_t bytes) override { log("setPosition " + std::to_string(bytes)); }
    SpectrumData spectrum() override {
        SpectrumData data{};
        data[5] = 0.1f; // bar 0 at 50 pixels
        return data;
    }
    double measureSeconds(const std::filesystem::path& path) override {
        log("measure " + path.string());
        return script_->measuredSeconds;
    }

  private:
    void log(std::string call) { script_->calls.push_back(std::move(call)); }
    std::shared_ptr<EngineScript> script_;
};

} // namespace vistello::audio::test
