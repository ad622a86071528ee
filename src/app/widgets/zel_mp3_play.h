#pragma once
// TZelMp3Play is the MP3 player control: it plays the song named by FileName, polls its
// sound engine every 50 ms, draws the live spectrum over its own rectangle (one off-screen
// frame copied per tick) and reports the position through OnProgress. Outside playback it
// draws nothing, so whatever lies behind it shows. The logic lives in Mp3PlayerModel.

#include "audio/mp3_player.h"

#include <QTimer>
#include <QWidget>

#include <memory>

namespace vistello::app {

class TZelMp3Play final : public QWidget {
    Q_OBJECT
  public:
    // Without an engine the player makes its own (sound device, or silent when none opens).
    explicit TZelMp3Play(QWidget* parent = nullptr, std::unique_ptr<audio::SoundEngine> engine = nullptr);
    ~TZelMp3Play() override;

    // Colours are 0x00BBGGRR; they reach the spectrum at the next FileName assignment.
    void setBackColor(std::uint32_t color) { model_.BackColor = color; }
    void setPen(std::uint32_t color) { model_.Pen = color; }
    void setPeak(std::uint32_t color) { model_.Peak = color; }
    void setLineWidth(int pixels) { model_.LineWidth = pixels; }
    void setLineFallOff(int pixels) { model_.LineFallOff = pixels; }

    QString FileName() const;
    void setFileName(const QString& value);
    void Play() { model_.Play(); }
    void Pause() { model_.Pause(); }
    void Stop() { model_.Stop(); }
    void PauseForSeek() { model_.PauseForSeek(); }
    void SeekTo(qint64 position) { model_.SeekTo(position); }
    float LengthInSeconds() { return model_.LengthInSeconds(); }
    static QString FormatPlayTime(qint64 seconds);

    audio::PlayerState state() const { return model_.state(); }
    audio::Mp3PlayerModel& model() { return model_; }
    QTimer& timer() { return timer_; }

  signals:
    // Sender is the timer on a tick and null from Stop; positions are file bytes.
    void OnProgress(QObject* Sender, int TrackBarMax, int TrackBarPos, const QString& CurTime);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QTimer timer_;
    audio::Mp3PlayerModel model_;
};

} // namespace vistello::app
