#include "audio/mp3_player.h"

#include <algorithm>
#include <cstdio>

namespace vistello::audio {

Mp3PlayerModel::Mp3PlayerModel(std::unique_ptr<SoundEngine> engine)
    : engine_(std::move(engine)), spectrum_(std::make_unique<TSpectrum>(0, 0)) {}

Mp3PlayerModel::~Mp3PlayerModel() {
    engine_->stop();
}

void Mp3PlayerModel::setSize(int width, int height) {
    width_ = width;
    height_ = height;
}

void Mp3PlayerModel::setFileName(const std::filesystem::path& value) {
    auto spectrum = std::make_unique<TSpectrum>(width_, height_);
    spectrum->BackColor = BackColor;
    spectrum->Pen = Pen;
    spectrum->Peak = Peak;
    spectrum->LineFallOff = LineFallOff;
    spectrum->LineWidth = LineWidth;
    spectrum_ = std::move(spectrum);
    if (opened_)
        Stop();
    fileName_ = value;
    repaint();
}

void Mp3PlayerModel::Play() {
    if (opened_) {
        engine_->resume();
        setTimer(true);
        return;
    }
    opened_ = true;
    engine_->open(fileName_);
    streamLength_ = engine_->lengthBytes();
    lengthInSeconds_ = static_cast<std::int64_t>(engine_->bytesToSeconds(streamLength_));
    fileLength_ = engine_->fileLength();
    engine_->play();
    setTimer(true);
}

void Mp3PlayerModel::Pause() {
    setTimer(false);
    engine_->pause();
    repaint();
}

void Mp3PlayerModel::Stop() {
    setTimer(false);
    engine_->stop();
    filePosition_ = 0;
    opened_ = false;
    report_ = true;
    if (OnProgress)
        OnProgress(ProgressSender::None, fileLength_, 0, "00:00");
    repaint();
}

void Mp3PlayerModel::PauseForSeek() {
    report_ = false;
    Pause();
}

void Mp3PlayerModel::SeekTo(std::int64_t position) {
    // A file of length 0 (nothing could be opened) has no position to move to.
    std::uint64_t target = 0;
    if (fileLength_ > 0 && position > 0) {
        const auto clamped = std::min(position, fileLength_);
        target = static_cast<std::uint64_t>(static_cast<unsigned __int128>(clamped) * streamLength_ /
                                            static_cast<std::uint64_t>(fileLength_));
    }
    engine_->setPosition(target);
    report_ = true;
    Play();
}

float Mp3PlayerModel::LengthInSeconds() {
    return static_cast<float>(engine_->measureSeconds(fileName_));
}

std::string Mp3PlayerModel::FormatPlayTime(std::int64_t seconds) {
    const std::int64_t minutes = (seconds / 60) % 60;
    const std::int64_t rest = seconds % 60;
    char text[32];
    std::snprintf(text, sizeof text, "%02lld:%02lld", static_cast<long long>(minutes),
                  static_cast<long long>(rest));
    return text;
}

void Mp3PlayerModel::tick() {
    if (!timerEnabled_)
        return; // a tick queued before the timer was switched off
    // The end test uses the position of the previous tick, so the song stops one tick
    // after the engine reported the file's end.
    if (filePosition_ >= fileLength_) {
        Stop();
        return;
    }
    filePosition_ = engine_->filePosition();
    spectrum_->Draw(engine_->spectrum());
    repaint();
    const auto elapsed =
        static_cast<std::int64_t>(static_cast<__int128>(filePosition_) * lengthInSeconds_ / fileLength_);
    const std::string curTime = FormatPlayTime(elapsed);
    if (report_ && OnProgress)
        OnProgress(ProgressSender::Timer, fileLength_, filePosition_, curTime);
}

PlayerState Mp3PlayerModel::state() const {
    if (!opened_)
        return PlayerState::Closed;
    return timerEnabled_ ? PlayerState::Playing : PlayerState::Paused;
}

void Mp3PlayerModel::setTimer(bool enabled) {
    if (timerEnabled_ == enabled)
        return;
    timerEnabled_ = enabled;
    if (OnTimerChanged)
        OnTimerChanged(enabled);
}

void Mp3PlayerModel::repaint() {
    if (OnRepaint)
        OnRepaint();
}

} // namespace vistello::audio
