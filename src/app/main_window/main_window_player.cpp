// The player page of the main window's preview panel: the current song, the spectrum, the
// position track bar and the play, pause and stop buttons.

#include "app/main_window/main_window.h"

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

QWidget* TFrmMain::buildPlayerPage() {
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
    ZelMp3Play1 = new TZelMp3Play(Image3);
    ZelMp3Play1->setObjectName(QStringLiteral("ZelMp3Play1"));
    ZelMp3Play1->setGeometry(0, 0, 177, 121);
    ZelMp3Play1->setBackColor(0x000000);
    ZelMp3Play1->setPen(0x00FF00);
    ZelMp3Play1->setPeak(0x00FFFF);
    ZelMp3Play1->setLineWidth(6);
    ZelMp3Play1->setLineFallOff(8);
    layout->addWidget(Image3);

    auto* controls = new QHBoxLayout;
    controls->setContentsMargins(0, 0, 0, 0);
    controls->setSpacing(0);
    bsSkinTrackBar1 = new QSlider(Qt::Horizontal);
    bsSkinTrackBar1->setObjectName(QStringLiteral("bsSkinTrackBar1"));
    bsSkinTrackBar1->setFixedSize(119, 19);
    bsSkinTrackBar1->setRange(0, 100);
    bsSkinTrackBar1->setFocusPolicy(Qt::NoFocus);
    bsSkinTrackBar1->setPageStep(0); // a click on the groove does not jump
    bsSkinTrackBar1->setEnabled(false);
    controls->addWidget(bsSkinTrackBar1);
    controls->addStretch(1);
    SbtPlay = glyphButton("SbtPlay", QStringLiteral("▶"));
    SbtPause = glyphButton("SbtPause", QStringLiteral("❚❚"));
    SbtStop = glyphButton("SbtStop", QStringLiteral("■"));
    controls->addWidget(SbtPlay);
    controls->addWidget(SbtPause);
    controls->addWidget(SbtStop);
    layout->addLayout(controls);

    connect(SbtPlay, &QToolButton::clicked, ZelMp3Play1, &TZelMp3Play::Play);
    connect(SbtPause, &QToolButton::clicked, ZelMp3Play1, &TZelMp3Play::Pause);
    connect(SbtStop, &QToolButton::clicked, ZelMp3Play1, &TZelMp3Play::Stop);
    connect(bsSkinTrackBar1, &QSlider::sliderPressed, ZelMp3Play1, &TZelMp3Play::PauseForSeek);
    connect(bsSkinTrackBar1, &QSlider::sliderReleased, this,
            [this] { ZelMp3Play1->SeekTo(bsSkinTrackBar1->value()); });
    // While the mouse holds the track bar, progress reports do not move it.
    connect(ZelMp3Play1, &TZelMp3Play::OnProgress, this,
            [this](QObject*, int max, int position, const QString&) {
                if (bsSkinTrackBar1->isSliderDown())
                    return;
                bsSkinTrackBar1->setMaximum(max);
                bsSkinTrackBar1->setValue(position);
            });
    return page;
}

void TFrmMain::loadSong(int index) {
    if (index < 0 || index >= store_.MusicCount())
        return;
    songFile_ = store_.mediaFile(store_.MusicList[static_cast<std::size_t>(index)].FileName.gbk());
    ZelMp3Play1->setFileName(QString::fromStdString(songFile_.string()));
}

void TFrmMain::clearPlayer() {
    songFile_.clear();
    ZelMp3Play1->setFileName(QString());
}

void TFrmMain::refreshPlayerButtons() {
    std::error_code ec;
    const bool playable = !songFile_.empty() && std::filesystem::is_regular_file(songFile_, ec);
    for (QWidget* control : {static_cast<QWidget*>(SbtPlay), static_cast<QWidget*>(SbtPause),
                             static_cast<QWidget*>(SbtStop), static_cast<QWidget*>(bsSkinTrackBar1)})
        control->setEnabled(playable);
}

} // namespace vistello::app
