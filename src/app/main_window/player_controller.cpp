#include "app/main_window/player_controller.h"

#include "app/widgets/zel_mp3_play.h"

#include <QHBoxLayout>
#include <QSlider>
#include <QToolButton>
#include <QVBoxLayout>

namespace vistello::app {

namespace {
QToolButton* glyphButton(const char* name, const QString& glyph) {
    auto* button = new QToolButton;
    button->setObjectName(QString::fromLatin1(name));
    button->setText(glyph);
    button->setAutoRaise(true);
    button->setFixedSize(18, 18);
    button->setEnabled(false);
    return button;
}
} // namespace

QWidget* buildPlayerPage(PlayerControls& controls) {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("PagePlayer"));
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* Image3 = new QWidget;
    Image3->setObjectName(QStringLiteral("Image3"));
    Image3->setFixedSize(173, 119);
    Image3->setAttribute(Qt::WA_StyledBackground);
    Image3->setStyleSheet(QStringLiteral("#Image3 { background: black; }"));
    controls.ZelMp3Play1 = new TZelMp3Play(Image3);
    controls.ZelMp3Play1->setObjectName(QStringLiteral("ZelMp3Play1"));
    controls.ZelMp3Play1->setGeometry(0, 0, 177, 121);
    controls.ZelMp3Play1->setBackColor(0x000000);
    controls.ZelMp3Play1->setPen(0x00FF00);
    controls.ZelMp3Play1->setPeak(0x00FFFF);
    controls.ZelMp3Play1->setLineWidth(6);
    controls.ZelMp3Play1->setLineFallOff(8);
    layout->addWidget(Image3);

    auto* row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    controls.bsSkinTrackBar1 = new QSlider(Qt::Horizontal);
    controls.bsSkinTrackBar1->setObjectName(QStringLiteral("bsSkinTrackBar1"));
    controls.bsSkinTrackBar1->setFixedSize(119, 19);
    controls.bsSkinTrackBar1->setRange(0, 100);
    controls.bsSkinTrackBar1->setFocusPolicy(Qt::NoFocus);
    controls.bsSkinTrackBar1->setPageStep(0); // a click on the groove does not jump
    controls.bsSkinTrackBar1->setEnabled(false);
    row->addWidget(controls.bsSkinTrackBar1);
    row->addStretch(1);
    controls.SbtPlay = glyphButton("SbtPlay", QStringLiteral("▶"));
    controls.SbtPause = glyphButton("SbtPause", QStringLiteral("❚❚"));
    controls.SbtStop = glyphButton("SbtStop", QStringLiteral("■"));
    row->addWidget(controls.SbtPlay);
    row->addWidget(controls.SbtPause);
    row->addWidget(controls.SbtStop);
    layout->addLayout(row);
    return page;
}

PlayerController::PlayerController(store::AlbumStore& store, const PlayerControls& controls)
    : store_(store), ui_(controls) {
    connect(ui_.SbtPlay, &QToolButton::clicked, ui_.ZelMp3Play1, &TZelMp3Play::Play);
    connect(ui_.SbtPause, &QToolButton::clicked, ui_.ZelMp3Play1, &TZelMp3Play::Pause);
    connect(ui_.SbtStop, &QToolButton::clicked, ui_.ZelMp3Play1, &TZelMp3Play::Stop);
    connect(ui_.bsSkinTrackBar1, &QSlider::sliderPressed, ui_.ZelMp3Play1, &TZelMp3Play::PauseForSeek);
    connect(ui_.bsSkinTrackBar1, &QSlider::sliderReleased, this, &PlayerController::bsSkinTrackBar1MouseUp);
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
