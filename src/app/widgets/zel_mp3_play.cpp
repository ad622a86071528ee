#include "app/widgets/zel_mp3_play.h"

#include "audio/audio_engine.h"

#include <QPainter>

#include <algorithm>
#include <limits>

namespace vistello::app {

namespace {

std::unique_ptr<audio::SoundEngine> engineOrDefault(std::unique_ptr<audio::SoundEngine> engine) {
    if (engine)
        return engine;
    return std::make_unique<audio::AudioEngine>(audio::AudioEngine::Output::Device);
}

int trackBarValue(std::int64_t bytes) {
    return static_cast<int>(std::clamp<std::int64_t>(bytes, 0, std::numeric_limits<int>::max()));
}

} // namespace

TZelMp3Play::TZelMp3Play(QWidget* parent, std::unique_ptr<audio::SoundEngine> engine)
    : QWidget(parent), model_(engineOrDefault(std::move(engine))) {
    setAttribute(Qt::WA_NoSystemBackground);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    timer_.setInterval(audio::Mp3PlayerModel::kTimerIntervalMs);
    connect(&timer_, &QTimer::timeout, this, [this] { model_.tick(); });
    model_.OnTimerChanged = [this](bool enabled) {
        if (enabled)
            timer_.start();
        else
            timer_.stop();
    };
    model_.OnRepaint = [this] { update(); };
    model_.OnProgress = [this](audio::ProgressSender sender, std::int64_t max, std::int64_t pos,
                               const std::string& time) {
        QObject* from = sender == audio::ProgressSender::Timer ? &timer_ : nullptr;
        emit OnProgress(from, trackBarValue(max), trackBarValue(pos), QString::fromStdString(time));
    };
}

TZelMp3Play::~TZelMp3Play() {
    // The model stops its engine; no callback may reach this half-destroyed widget.
    model_.OnProgress = nullptr;
    model_.OnRepaint = nullptr;
    model_.OnTimerChanged = nullptr;
}

QString TZelMp3Play::FileName() const {
    return QString::fromStdString(model_.FileName().string());
}

void TZelMp3Play::setFileName(const QString& value) {
    model_.setSize(width(), height());
    model_.setFileName(value.toStdString());
}

QString TZelMp3Play::FormatPlayTime(qint64 seconds) {
    return QString::fromStdString(audio::Mp3PlayerModel::FormatPlayTime(seconds));
}

void TZelMp3Play::paintEvent(QPaintEvent*) {
    if (model_.state() != audio::PlayerState::Playing)
        return;
    QPainter painter(this);
    painter.drawImage(0, 0, model_.spectrum().bitmap());
}

} // namespace vistello::app
