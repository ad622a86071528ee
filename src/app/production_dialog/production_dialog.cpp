#include "app/production_dialog/production_dialog.h"

#include "app/application/guarded.h"
#include "app/application/vistello_application.h"
#include "app/production_dialog/production_totals.h"
#include "app/widgets/picture_view.h"
#include "app/widgets/stretch_view.h"
#include "media/picture_file.h"
#include "production/background_pictures.h"
#include "store/album_names.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

namespace vistello::app {

namespace {

constexpr QSize kPanelSize(233, 189);
const QString kPicTimePrefix = QStringLiteral("全部图片播放时间:");
const QString kMusTimePrefix = QStringLiteral("全部音乐播放时间:");

template <class Widget> Widget* named(Widget* widget, const char* name, QWidget* parent, QRect geometry) {
    widget->setObjectName(QString::fromLatin1(name));
    widget->setParent(parent);
    widget->setGeometry(geometry);
    return widget;
}

// The folder part of a path, with its trailing separator; empty when there is none.
QString folderOf(const QString& path) {
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? QString() : path.left(slash + 1);
}

// The path with the extension of its file name replaced by `extension` (added when it has none).
QString withExtension(const QString& path, const char* extension) {
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    return (dot > slash ? path.left(dot) : path) + QLatin1Char('.') + QString::fromLatin1(extension);
}

} // namespace

TFrmMake::TFrmMake(const store::AlbumStore& store, UserDialogs& dialogs, QWidget* parent)
    : QDialog(parent), store_(store), dialogs_(dialogs), messages_(dialogs, this), run_(store, *this) {
    setObjectName(QStringLiteral("FrmMake"));
    setWindowTitle(QStringLiteral("视频文件制作"));
    setFont(interfaceFont(12));
    setFixedSize(550, 385);
    buildLayout();
    buildFormatChoice();
    connectHandlers();
    FormCreate();
}

TFrmMake::~TFrmMake() {
    setBusyCursor(false);
}

void TFrmMake::buildLayout() {
    RGOutType = named(new QGroupBox(QStringLiteral("输出视频格式：")), "RGOutType", this, {8, 4, 277, 48});
    formatButtons_ = new QButtonGroup(this);
    // The three original choices, each standing for its row of the format table.
    int column = 0;
    for (const char* name : {"vcd", "svcd", "dvd"}) {
        const production::VideoFormat& format = production::videoFormat(name);
        auto* button = new QRadioButton(QString::fromUtf8(format.caption), RGOutType);
        button->setObjectName(QStringLiteral("RGOutType") + QString::fromUtf8(format.caption));
        button->setGeometry(12 + 88 * column++, 22, 80, 20);
        formatButtons_->addButton(button);
        formatOfButton_[button] = &format;
    }
    formatButtons_->buttons().front()->setChecked(true);

    Label5 = named(new QLabel(QStringLiteral("输出：")), "Label5", this, {8, 60, 40, 22});
    EdtOut = named(new QLineEdit, "EdtOut", this, {48, 60, 208, 22});
    EdtOut->setReadOnly(true);
    SpeedButton3 = named(new QToolButton, "SpeedButton3", this, {260, 60, 25, 22});
    SpeedButton3->setText(QStringLiteral("..."));

    GroupBox1 = named(new QGroupBox(QStringLiteral("影音同步设置：")), "GroupBox1", this, {8, 88, 277, 88});
    LPicTime =
        named(new QLabel(QStringLiteral("全部图片播放时间：")), "LPicTime", GroupBox1, {12, 22, 255, 18});
    LMusTime =
        named(new QLabel(QStringLiteral("全部音乐播放时间：")), "LMusTime", GroupBox1, {12, 42, 255, 18});
    CboxTB = named(new QCheckBox(QStringLiteral("自动影音同步")), "CboxTB", GroupBox1, {12, 62, 150, 20});

    GroupBox3 = named(new QGroupBox(QStringLiteral("视频高级设置：")), "GroupBox3", this, {8, 182, 277, 197});
    CboxMH =
        named(new QCheckBox(QStringLiteral("视频背景逐渐淡化效果")), "CboxMH", GroupBox3, {12, 22, 150, 20});
    // Beside it, a setting of the video too: pictures without a motion of their own move.
    CboxMotion =
        named(new QCheckBox(QStringLiteral("让图片动起来")), "CboxMotion", GroupBox3, {170, 22, 100, 20});
    CboxMotion->setToolTip(
        QStringLiteral("没有自己动态的图片使用自动动态：缓慢地移动和缩放，保持人脸在画面中"));
    RbtnYS = named(new QRadioButton(QStringLiteral("填充背景色")), "RbtnYS", GroupBox3, {12, 46, 150, 20});
    RbtnYS->setToolTip(QStringLiteral("当图片的高宽与视频的高宽的比\n值不同时将填充图片的背景色。"));
    RbtnYS->setChecked(true);
    Button1 = named(new QPushButton(QStringLiteral("颜色设置...")), "Button1", GroupBox3, {170, 44, 95, 24});
    Button1->setAutoDefault(false);
    RbtnTP = named(new QRadioButton(QStringLiteral("填充背景图（随机选取下列图片）")), "RbtnTP", GroupBox3,
                   {12, 72, 255, 20});
    RbtnTP->setToolTip(QStringLiteral("当图片的高宽与视频的高宽的比\n值不同时将填充图片的背景图。"));
    Clb1 = named(new QListWidget, "Clb1", GroupBox3, {12, 96, 253, 91});

    GroupBox2 = named(new QGroupBox(QStringLiteral("生成预览：")), "GroupBox2", this, {293, 4, 249, 220});
    PnlBack = named(new QWidget, "PnlBack", GroupBox2, QRect(QPoint(8, 24), kPanelSize));
    PnlBack->setAttribute(Qt::WA_StyledBackground);
    // Image1 is the black backdrop over the whole panel; the preview box lies on top of it.
    Image1 = named(new PictureView, "Image1", PnlBack, QRect(QPoint(0, 0), kPanelSize));
    ImgMpg = named(new StretchView, "ImgMpg", PnlBack, QRect(QPoint(0, 0), kPanelSize));

    GroupBox4 = named(new QGroupBox(QStringLiteral("当前状态：")), "GroupBox4", this, {293, 230, 249, 72});
    Lguage = named(new QLabel(idleProgressText()), "Lguage", GroupBox4, {12, 24, 225, 18});
    LOverTine = named(new QLabel(idleTimeText()), "LOverTine", GroupBox4, {12, 46, 225, 18});

    SbtnMake = named(new QPushButton(QStringLiteral("生成相册")), "SbtnMake", this, {303, 318, 110, 34});
    SbtnStop = named(new QPushButton(QStringLiteral("终止生成")), "SbtnStop", this, {423, 318, 110, 34});
    for (QPushButton* b : {SbtnMake, SbtnStop})
        b->setAutoDefault(false);
    SbtnStop->setEnabled(false);
}

void TFrmMake::connectHandlers() {
    // Each handler is guarded: an error it lets out is shown over the dialog and ends it there.
    auto guard = [this](auto handler) { return guardedSlot(this, dialogs_, this, handler); };
    connect(formatButtons_, &QButtonGroup::buttonClicked, this, guard(&TFrmMake::RGOutTypeClick));
    connect(SpeedButton3, &QToolButton::clicked, this, guard(&TFrmMake::SpeedButton3Click));
    connect(CboxTB, &QCheckBox::clicked, this, guard(&TFrmMake::CboxTBClick));
    connect(Button1, &QPushButton::clicked, this, guard(&TFrmMake::Button1Click));
    connect(Clb1, &QListWidget::itemClicked, this, guard(&TFrmMake::Clb1Click));
    // Moving through the list with the keys shows each entry as a click does; the entry a
    // mouse press makes current is shown by the click that follows.
    connect(Clb1, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* current) {
        if (current && QApplication::mouseButtons() == Qt::NoButton)
            guarded(this, dialogs_, [this] { Clb1Click(); });
    });
    connect(SbtnMake, &QPushButton::clicked, this, guard(&TFrmMake::SbtnMakeClick));
    connect(SbtnStop, &QPushButton::clicked, this, guard(&TFrmMake::SbtnStopClick));
}

void TFrmMake::FormCreate() {
    backgroundFolder_ = production::backgroundFolder(store_.RootPath());
    Clb1->clear();
    for (const std::string& name : production::backgroundPictureNames(backgroundFolder_)) {
        auto* item = new QListWidgetItem(QString::fromStdString(name), Clb1);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Checked);
    }
    RbtnTP->setEnabled(Clb1->count() > 0);

    const QString folder = DefaultOutputFolder();
    EdtOut->setText(folder + QStringLiteral("VCD-") +
                    QString::fromStdString(store::NextFreeFileNumber(folder.toStdString(), "VCD-", "mpg")) +
                    QStringLiteral(".mpg"));
    RGOutTypeClick();
    saveFileName_ = EdtOut->text();

    musicSeconds_ = MusicSeconds(store_);
    pictureSeconds_ = PictureSeconds(store_);
    const bool hasAlbum = store_.AlbumIndex >= 0 && store_.AlbumIndex < store_.AlbumCount();
    const QString albumName =
        hasAlbum ? QString::fromStdString(store_.albumName(store_.AlbumIndex)) : QString();
    setWindowTitle(QStringLiteral("相册《") + albumName + QStringLiteral("》VCD视频文件制作"));
    showTimes();
}

QString TFrmMake::numberedName(const QString& path) const {
    const QString folder = folderOf(path);
    if (folder.isEmpty())
        return {};
    const production::VideoFormat& format = selectedFormat();
    const std::string prefix = format.prefix();
    try {
        return folder + QString::fromStdString(prefix) +
               QString::fromStdString(
                   store::NextFreeFileNumber(folder.toStdString(), prefix, format.extension)) +
               QStringLiteral(".") + QString::fromLatin1(format.extension);
    } catch (const std::exception&) {
        return {}; // no name can be formed there: the caller keeps what it has
    }
}

void TFrmMake::RGOutTypeClick() {
    const production::VideoFormat& format = selectedFormat();
    if (const QString name = numberedName(EdtOut->text()); !name.isEmpty())
        EdtOut->setText(name);
    // The box takes the display aspect of the format: the square-pixel size frames are made at.
    ImgMpg->setGeometry(PreviewBoxRect(kPanelSize, QSize(format.composeWidth, format.composeHeight)));
    showEncoderChoices();
    if (RbtnYS->isChecked())
        fillColour();
}

void TFrmMake::fillColour() {
    QImage filled(ImgMpg->size(), QImage::Format_RGB32);
    filled.fill(colour_);
    ImgMpg->setStretch(false);
    ImgMpg->setPicture(std::move(filled));
}

void TFrmMake::showTimes() {
    LPicTime->setText(kPicTimePrefix +
                      SecondsToTimeText(CboxTB->isChecked() ? musicSeconds_ : pictureSeconds_));
    LMusTime->setText(kMusTimePrefix + SecondsToTimeText(musicSeconds_));
}

void TFrmMake::SpeedButton3Click() {
    if (const QString name = numberedName(saveFileName_); !name.isEmpty())
        saveFileName_ = name;
    // Entering another folder in the save dialog proposes the next free name there.
    const auto proposeIn = [this](const QString& folder) {
        const QString slashed = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
        if (const QString name = numberedName(slashed); !name.isEmpty())
            saveFileName_ = name;
        return saveFileName_;
    };
    for (;;) {
        const QString chosen = dialogs_.getSaveFileNameProposing(
            this, QStringLiteral("另存为"), saveFileName_, qtFileFilter(saveFilter()), proposeIn);
        if (chosen.isEmpty())
            return;
        const QString output = withExtension(chosen, selectedFormat().extension);
        saveFileName_ = output;
        if (QFileInfo::exists(output) &&
            !dialogs_.askYesNo(this, QStringLiteral("文件保存"),
                               QStringLiteral("文件已经存在是否要覆盖该文件"), MessageIcon::Question))
            continue; // not overwriting: choose again
        EdtOut->setText(output);
        return;
    }
}

void TFrmMake::CboxTBClick() {
    if (CboxTB->isChecked() && !(2 * static_cast<std::int64_t>(store_.PicCount()) < musicSeconds_)) {
        dialogs_.showMessage(this, QStringLiteral("错误提示"), musicTooShortText(), MessageIcon::Information);
        CboxTB->setChecked(false);
    }
    showTimes();
}

void TFrmMake::Button1Click() {
    const std::optional<QColor> chosen = dialogs_.getColor(this, colour_);
    if (!chosen)
        return;
    colour_ = *chosen;
    fillColour();
}

void TFrmMake::Clb1Click() {
    const QListWidgetItem* item = Clb1->currentItem();
    if (!item)
        return;
    const QString file = QString::fromStdString((backgroundFolder_ / item->text().toStdString()).string());
    QImage picture = ImgMpg->picture();
    media::LoadPictureFile(file, picture, messages_);
    ImgMpg->setStretch(true);
    ImgMpg->setPicture(std::move(picture));
}

production::ProductionSettings TFrmMake::currentSettings() const {
    production::ProductionSettings settings;
    settings.format = &selectedFormat();
    settings.encode = encodeOptions();
    settings.outputPath = EdtOut->text().trimmed().toStdString();
    settings.synchronise = CboxTB->isChecked();
    settings.background =
        RbtnTP->isChecked() ? production::BackgroundMode::Pictures : production::BackgroundMode::Colour;
    const QRgb rgb = colour_.rgb();
    settings.colour = static_cast<std::uint32_t>(qBlue(rgb)) << 16 |
                      static_cast<std::uint32_t>(qGreen(rgb)) << 8 | static_cast<std::uint32_t>(qRed(rgb));
    for (int i = 0; i < Clb1->count(); ++i)
        if (Clb1->item(i)->checkState() == Qt::Checked)
            settings.backgroundNames.push_back(Clb1->item(i)->text().toStdString());
    settings.soften = CboxMH->isChecked();
    settings.motion = CboxMotion->isChecked();
    settings.disc = settings.format->isDisc() && CboxDisc->isChecked();
    return settings;
}

} // namespace vistello::app
