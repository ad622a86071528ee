#include "app/main_window/player_controller.h"

#include "app/application/guarded.h"
#include "app/widgets/zel_mp3_play.h"

#include <QSlider>
#include <QToolButton>

namespace vistello::app {

PlayerController::PlayerController(store::AlbumStore& store, UserDialogs& dialogs,
                                   const PlayerControls& controls, QWidget* window)
    : store_(store), ui_(controls) {
    TZelMp3Play* player = ui_.ZelMp3Play1;
    connect(ui_.SbtPlay, &QToolButton::clicked, player,
            guardedSlot(window, dialogs, player, &TZelMp3Play::Play));
    connect(ui_.SbtPause, &QToolButton::clicked, player,
            guardedSlot(window, dialogs, player, &TZelMp3Play::Pause));
    connect(ui_.SbtStop, &QToolButton::clicked, player,
            guardedSlot(window, dialogs, player, &TZelMp3Play::Stop));
    connect(ui_.bsSkinTrackBar1, &QSlider::sliderPressed, player,
            guardedSlot(window, dialogs, player, &TZelMp3Play::PauseForSeek));
    connect(ui_.bsSkinTrackBar1, &QSlider::sliderReleased, this,
            guardedSlot(window, dialogs, this, &PlayerController::bsSkinTrackBar1MouseUp));
    connect(ui_.ZelMp3Play1, &TZelMp3Play::OnProgress, this, &PlayerController::ZelMp3Play1Progress);
}

void PlayerController::bsSkinTrackBar1MouseUp() {
    ui_.ZelMp3Play1->SeekTo(ui_.bsSkinTrackBar1->value());
}

void PlayerController::ZelMp3Play1Progress(QObject*, int trackBarMax, int trackBarPos, const QString&) {
    if (ui_.bsSkinTrackBar1->isSliderDown())
        return;
    ui_.bsSkinTrackBar1->setMaximum(trackBarMax);
    ui_.bsSkinTrackBar1->setValue(trackBarPos);
}

void PlayerController::loadSong(int index) {
    if (index < 0 || index >= store_.MusicCount())
        return;
    songFile_ = store_.mediaFile(store_.MusicList[static_cast<std::size_t>(index)].FileName.gbk());
    ui_.ZelMp3Play1->setFileName(QString::fromStdString(songFile_.string()));
}

void PlayerController::clear() {
    songFile_.clear();
    ui_.ZelMp3Play1->setFileName(QString());
}

void PlayerController::refreshButtons() {
    std::error_code ec;
    const bool playable = !songFile_.empty() && std::filesystem::is_regular_file(songFile_, ec);
    for (QWidget* control : {static_cast<QWidget*>(ui_.SbtPlay), static_cast<QWidget*>(ui_.SbtPause),
                             static_cast<QWidget*>(ui_.SbtStop), static_cast<QWidget*>(ui_.bsSkinTrackBar1)})
        control->setEnabled(playable);
}

} // namespace vistello::app
