// The production dialog's format choice: the three original radio buttons, a fourth one with a
// drop-down list of the other formats (NTSC and 16:9 discs, MP4), and the MP4 encoder's rate,
// quality, speed and codec. The output name, the save dialog's filter and the preview box follow
// the chosen row of the format table.

#include "app/production_dialog/production_dialog.h"

#include "app/application/guarded.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QToolButton>

namespace vistello::app {

namespace {

// The format group grows by three rows; what lies below it in the left column, and the buttons
// under the status group, move down by as much.
constexpr int kExtraRows = 78;

template <class Widget> Widget* placed(Widget* widget, const char* name, QWidget* parent, QRect geometry) {
    widget->setObjectName(QString::fromLatin1(name));
    widget->setParent(parent);
    widget->setGeometry(geometry);
    return widget;
}

QString rateCaption(production::Rational rate) {
    return rate.den == 1 ? QString::number(rate.num) : QString::number(rate.value(), 'f', 2);
}

} // namespace

void TFrmMake::buildFormatChoice() {
    for (QWidget* below : std::initializer_list<QWidget*>{Label5, EdtOut, SpeedButton3, GroupBox1, GroupBox3,
                                                          SbtnMake, SbtnStop})
        below->move(below->x(), below->y() + kExtraRows);
    setFixedSize(width(), height() + kExtraRows);
    RGOutType->resize(RGOutType->width(), RGOutType->height() + kExtraRows);

    RbtnOther =
        placed(new QRadioButton(QStringLiteral("其它：")), "RGOutTypeOther", RGOutType, {12, 48, 62, 20});
    formatButtons_->addButton(RbtnOther);
    CmbFormat = placed(new QComboBox, "CmbFormat", RGOutType, {74, 46, 191, 22});
    for (const production::VideoFormat& format : production::videoFormats()) {
        const bool original = std::string_view(format.name) == "vcd" ||
                              std::string_view(format.name) == "svcd" ||
                              std::string_view(format.name) == "dvd";
        if (!original)
            CmbFormat->addItem(QString::fromUtf8(format.caption), QString::fromLatin1(format.name));
    }
    CmbFormat->setCurrentIndex(CmbFormat->findData(QStringLiteral("mp4-1080p")));
    CboxHevc = placed(new QCheckBox(QStringLiteral("H.265")), "CboxHevc", RGOutType, {12, 100, 62, 20});
    CboxHevc->setToolTip(
        QStringLiteral("以 H.265（HEVC）编码，文件更小，较旧的设备可能无法播放；默认 H.264"));

    // In the same place for the disc formats: the images ready to burn.
    CboxDisc = placed(new QCheckBox(QStringLiteral("同时生成可刻录的光盘映像")), "CboxDisc", RGOutType,
                      {12, 100, 255, 20});
    CboxDisc->setToolTip(QStringLiteral("DVD：VIDEO_TS 文件夹和 ISO 映像（每张图片一个章节，放入即播放）；\n"
                                        "VCD、SVCD：BIN/CUE 映像。均放在视频文件旁边。"));
    placed(new QLabel(QStringLiteral("帧率")), "LFps", RGOutType, {12, 74, 26, 20});
    CmbFps = placed(new QComboBox, "CmbFps", RGOutType, {38, 72, 48, 22});
    placed(new QLabel(QStringLiteral("质量")), "LQuality", RGOutType, {90, 74, 26, 20});
    SpnQuality = placed(new QSpinBox, "SpnQuality", RGOutType, {116, 72, 42, 22});
    SpnQuality->setRange(0, 51);
    SpnQuality->setValue(production::kDefaultH264Quality);
    SpnQuality->setToolTip(QStringLiteral("恒定质量因子（CRF）：越小越清晰、文件越大；默认 %1（H.265 为 %2）")
                               .arg(production::kDefaultH264Quality)
                               .arg(production::kDefaultH265Quality));
    placed(new QLabel(QStringLiteral("速度")), "LSpeed", RGOutType, {162, 74, 26, 20});
    CmbSpeed = placed(new QComboBox, "CmbSpeed", RGOutType, {188, 72, 77, 22});
    for (const char* speed : production::encoderSpeeds())
        CmbSpeed->addItem(QString::fromLatin1(speed));
    CmbSpeed->setCurrentText(QString::fromLatin1(production::kDefaultSpeed));
    CmbSpeed->setToolTip(QStringLiteral("编码速度（x264 预设）：越慢压缩越好；默认 %1")
                             .arg(QString::fromLatin1(production::kDefaultSpeed)));
    CmbFps->setToolTip(QStringLiteral("每秒帧数；默认 30"));
    // The defaults, stated where the MP4 settings are.
    LEncoderDefaults = placed(new QLabel(QStringLiteral("默认 30 帧/秒，质量 %1，%2")
                                             .arg(production::kDefaultH264Quality)
                                             .arg(QString::fromLatin1(production::kDefaultSpeed))),
                              "LEncoderDefaults", RGOutType, {76, 101, 192, 18});

    connect(CmbFormat, &QComboBox::activated, this, [this] {
        RbtnOther->setChecked(true);
        guarded(this, dialogs_, [this] { RGOutTypeClick(); });
    });
    connect(CboxHevc, &QCheckBox::toggled, this, [this](bool hevc) {
        // The default quality follows the codec unless the user chose one.
        const int from = hevc ? production::kDefaultH264Quality : production::kDefaultH265Quality;
        if (SpnQuality->value() == from)
            SpnQuality->setValue(hevc ? production::kDefaultH265Quality : production::kDefaultH264Quality);
    });
}

const production::VideoFormat& TFrmMake::selectedFormat() const {
    if (formatButtons_->checkedButton() == RbtnOther)
        if (const auto* format =
                production::findVideoFormat(CmbFormat->currentData().toString().toStdString()))
            return *format;
    const auto found = formatOfButton_.find(formatButtons_->checkedButton());
    return found != formatOfButton_.end() ? *found->second : production::videoFormat("vcd");
}

void TFrmMake::showEncoderChoices() {
    const production::VideoFormat& format = selectedFormat();
    // A rate the user picked among several is kept where the next format offers it too.
    const QString previous = CmbFps->count() > 1 ? CmbFps->currentText() : QString();
    CmbFps->clear();
    for (int i = 0; i < format.rateCount; ++i) {
        const production::Rational rate = format.rates[static_cast<std::size_t>(i)];
        CmbFps->addItem(rateCaption(rate), QVariant::fromValue(QPoint(rate.num, rate.den)));
    }
    const int kept = previous.isEmpty() ? -1 : CmbFps->findText(previous);
    CmbFps->setCurrentIndex(kept >= 0 ? kept : CmbFps->findText(rateCaption(format.defaultRate)));
    CmbFps->setEnabled(format.rateCount > 1);
    for (QWidget* w : std::initializer_list<QWidget*>{SpnQuality, CmbSpeed, CboxHevc, LEncoderDefaults})
        w->setEnabled(format.constantQuality);
    CboxHevc->setVisible(!format.isDisc());
    LEncoderDefaults->setVisible(!format.isDisc());
    CboxDisc->setVisible(format.isDisc());
}

production::EncodeOptions TFrmMake::encodeOptions() const {
    production::EncodeOptions options;
    const QPoint rate = CmbFps->currentData().toPoint();
    options.rate = {rate.x(), rate.y() > 0 ? rate.y() : 1};
    const production::VideoFormat& format = selectedFormat();
    if (format.constantQuality) {
        options.quality = SpnQuality->value();
        options.speed = CmbSpeed->currentText().toStdString();
        options.hevc = CboxHevc->isChecked();
    }
    return options;
}

QString TFrmMake::saveFilter() const {
    const production::VideoFormat& format = selectedFormat();
    const QString pattern = QStringLiteral("*.") + QString::fromLatin1(format.extension);
    const QString kind = format.isDisc() ? QStringLiteral("MPEG文件") : QStringLiteral("MP4文件");
    return kind + QLatin1Char('(') + pattern + QStringLiteral(")|") + pattern +
           QStringLiteral("|所有文件(*.*)|*.*");
}

} // namespace vistello::app
