#pragma once
// Mp3PlayerModel is the MP3 player without its window: it owns a sound engine, plays the
// song named by FileName, polls the engine on each tick of a 50 ms timer, draws the live
// spectrum into its TSpectrum and reports the position through OnProgress. The widget
// TZelMp3Play runs the timer and shows the spectrum's bitmap; tests call tick() themselves.
//
// Positions are bytes of the MP3 file (the track bar's unit); the engine seeks in decoded
// bytes. States: closed (no stream), playing (timer on), paused (stream open, timer off).

#include "audio/sound_engine.h"
#include "audio/spectrum.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

namespace vistello::audio {

enum class PlayerState { Closed, Playing, Paused };
// Who raised OnProgress: the timer (a tick) or nobody (Stop).
enum class ProgressSender { None, Timer };

class Mp3PlayerModel {
  public:
    using TOnProgressEvent = std::function<void(ProgressSender Sender, std::int64_t TrackBarMax,
                                                std::int64_t TrackBarPos, const std::string& CurTime)>;

    explicit Mp3PlayerModel(std::unique_ptr<SoundEngine> engine);
    ~Mp3PlayerModel();
    Mp3PlayerModel(const Mp3PlayerModel&) = delete;
    Mp3PlayerModel& operator=(const Mp3PlayerModel&) = delete;

    // Spectrum look (0x00BBGGRR); copied into a new TSpectrum at each FileName assignment.
    std::uint32_t BackColor = 0x000000;
    std::uint32_t Pen = 0xFFFFFF;
    std::uint32_t Peak = 0x00FFFF;
    int LineWidth = 3;
    int LineFallOff = 6;
    TOnProgressEvent OnProgress;
    // Called when the control should repaint (after a spectrum frame, Stop, Pause, FileName).
    std::function<void()> OnRepaint;
    // Called when the 50 ms timer is switched on or off.
    std::function<void(bool enabled)> OnTimerChanged;

    static constexpr int kTimerIntervalMs = 50;

    // The control's size, used for the spectrum made at the next FileName assignment.
    void setSize(int width, int height);
    const std::filesystem::path& FileName() const { return fileName_; }
    void setFileName(const std::filesystem::path& value);

    void Play();
    void Pause();
    void Stop();
    void PauseForSeek();
    void SeekTo(std::int64_t position); // file bytes, 0..file length
    // Seconds of the file named by FileName, measured on a separate stream.
    float LengthInSeconds();
    // "MM:SS" of `seconds`; hours are dropped.
    static std::string FormatPlayTime(std::int64_t seconds);

    // One timer tick: poll the engine, draw the spectrum, report; Stop at the end of the song.
    void tick();

    PlayerState state() const;
    bool timerEnabled() const { return timerEnabled_; }
    std::int64_t fileLength() const { return fileLength_; }
    std::int64_t filePosition() const { return filePosition_; }
    const TSpectrum& spectrum() const { return *spectrum_; }
    SoundEngine& engine() { return *engine_; }

  private:
    void setTimer(bool enabled);
    void repaint();

    std::unique_ptr<SoundEngine> engine_;
    std::unique_ptr<TSpectrum> spectrum_;
    std::filesystem::path fileName_;
    int width_ = 0;
    int height_ = 0;
    bool opened_ = false;
    bool report_ = true;
    bool timerEnabled_ = false;
    std::int64_t lengthInSeconds_ = 0;
    std::uint64_t streamLength_ = 0; // decoded bytes
    std::int64_t fileLength_ = 0;
    std::int64_t filePosition_ = 0;
};

} // namespace vistello::audio
