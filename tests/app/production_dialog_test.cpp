// The production dialog: its controls and totals, the time text, the preview box's place for
// each format, the output name and the save dialog's overwrite question, synchronisation, the
// background list and colour, and runs driven through the dialog: progress, stop, refused
// closes, results and errors. Every video goes into a temporary folder; $HOME points at one
// too, so the default output folder is never the user's.

#include "album_fixture.h"
#include "app/main_window/list_views.h"
#include "app/main_window/main_window.h"
#include "app/production_dialog/output_space_check.h"
#include "app/production_dialog/production_dialog.h"
#include "app/production_dialog/production_totals.h"
#include "app/widgets/stretch_view.h"
#include "production/output_space.h"
#include "scripted_dialogs.h"
#include "store/album_operations.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScreen>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <cstdlib>
#include <functional>

using namespace vistello;
using namespace vistello::app;
using namespace vistello::app::testing;

namespace {

const QString kDone = QStringLiteral("文件生成完毕！请确定查看。");
const QString kFailed = QStringLiteral("创建相册视频文件出错，请重新制作！");

template <class T = QWidget> T* child(const QWidget& dialog, const char* name) {
    T* found = dialog.findChild<T*>(QString::fromLatin1(name));
    if (!found)
        qWarning("no control %s", name);
    return found;
}

QString text(const QWidget& dialog, const char* name) {
    if (auto* label = dialog.findChild<QLabel*>(QString::fromLatin1(name)))
        return label->text();
    return child<QLineEdit>(dialog, name)->text();
}

void touch(const QString& path) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
}

// A stereo MP3 tone of `seconds` seconds, made by the ffmpeg tool.
bool makeSong(const QString& path, double seconds) {
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"),
                 {"-v", "error", "-y", "-f", "lavfi", "-i",
                  QStringLiteral("sine=frequency=440:sample_rate=44100:duration=%1").arg(seconds), "-ac", "2",
                  "-c:a", "libmp3lame", "-b:a", "128k", path});
    return ffmpeg.waitForFinished(60000) && ffmpeg.exitStatus() == QProcess::NormalExit &&
           ffmpeg.exitCode() == 0;
}

// An album "短片" in `root` with `pictures` small JPEG pictures shown for 0 seconds each and a
// one-second song: a run of it writes 51 frames per picture. The album is left open.
void makeShortAlbum(store::AlbumStore& album, int pictures) {
    album.LoadInfo("A");
    store::createAlbum(album, "短片");
    album.AlbumIndex = album.AlbumCount() - 1;
    album.openAlbum(album.AlbumIndex);
    for (int i = 0; i < pictures; ++i) {
        store::TPicInfo record;
        record.StayTime = 0;
        record.Effect = 1 + i;
        record.FileName.setText("P" + std::to_string(i) + ".jpg");
        QImage image(48 + 16 * i, 36, QImage::Format_RGB888);
        image.fill(QColor::fromHsv(90 * i, 200, 220));
        QVERIFY(image.save(QString::fromStdString(album.mediaFile(record.FileName.gbk()).string()), "JPG"));
        album.PicList.push_back(record);
    }
    store::TMusicInfo song;
    song.PlayTime = 1;
    song.FileName.setText("M0.mp3");
    QVERIFY(makeSong(QString::fromStdString(album.mediaFile(song.FileName.gbk()).string()), 1.0));
    album.MusicList.push_back(song);
    album.SaveInfo("P");
    album.SaveInfo("M");
}

// Runs `action` once, from the event processing that follows the first preview frame a run
// shows, that is inside the first transition.
class OnFirstPreviewFrame final : public QObject {
  public:
    OnFirstPreviewFrame(StretchView* box, std::function<void()> action)
        : box_(box), action_(std::move(action)) {
        box_->installEventFilter(this);
    }
    bool fired() const { return fired_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == box_ && event->type() == QEvent::Paint && !box_->picture().isNull() && !fired_) {
            fired_ = true;
            QTimer::singleShot(0, this, [this] { action_(); });
        }
        return false;
    }

  private:
    StretchView* box_;
    std::function<void()> action_;
    bool fired_ = false;
};

// A user in the save dialog who enters `folder`, takes the name proposed there, and then
// cancels or confirms; the rest is answered by ScriptedDialogs.
class FolderVisitingDialogs final : public UserDialogs {
  public:
    explicit FolderVisitingDialogs(ScriptedDialogs& scripted) : scripted_(scripted) {}
    QString folder;
    bool confirm = false;
    QStringList initialPaths; // where each save dialog started
    QStringList proposals;    // the names proposed in `folder`

    bool askYesNo(QWidget* p, const QString& t, const QString& q, MessageIcon i) override {
        return scripted_.askYesNo(p, t, q, i);
    }
    void showMessage(QWidget* p, const QString& t, const QString& m, MessageIcon i) override {
        scripted_.showMessage(p, t, m, i);
    }
    QStringList getOpenFileNames(QWidget*, const QString&, const QString&) override { return {}; }
    QString getSaveFileName(QWidget*, const QString&, const QString&, const QString&) override { return {}; }
    QString getSaveFileNameProposing(QWidget*, const QString&, const QString& initialPath, const QString&,
                                     const std::function<QString(const QString&)>& nameInFolder) override {
        initialPaths << initialPath;
        proposals << nameInFolder(folder);
        return confirm ? proposals.constLast() : QString();
    }
    std::optional<QColor> getColor(QWidget*, const QColor&) override { return std::nullopt; }
    int runModal(QDialog&) override { return QDialog::Rejected; }
    bool openFolder(const QString&) override { return true; }

  private:
    ScriptedDialogs& scripted_;
};

} // namespace

class ProductionDialogTest : public QObject {
    Q_OBJECT

    QTemporaryDir home;
    QTemporaryDir root;
    QString videos() const { return home.path() + QStringLiteral("/Videos"); }

  private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        qputenv("HOME", home.path().toLocal8Bit()); // the default output folder lies in here
    }

    void init() {
        QDir(videos()).removeRecursively();
        QDir(root.path()).removeRecursively();
        QDir().mkpath(root.path());
    }

    void timeTextGivesHoursMinutesAndSeconds() {
        const struct {
            std::int64_t seconds;
            const char* text;
        } cases[] = {
            {0, "00 时 00 分 00 秒"},
            {59, "00 时 00 分 59 秒"},
            {245, "00 时 04 分 05 秒"},
            {3725, "01 时 02 分 05 秒"},
            {36000, "10 时 00 分 00 秒"},
            {100 * 3600 + 61, "100 时 01 分 01 秒"},
            {12345 * 3600, "12345 时 00 分 00 秒"},
            {-5, "00 时 00 分 00 秒"},
        };
        for (const auto& c : cases)
            QCOMPARE(SecondsToTimeText(c.seconds), QString::fromUtf8(c.text));
    }

    void previewBoxTakesTheFrameProportions() {
        const struct {
            QSize frame;
            QRect box;
        } cases[] = {
            {{320, 288}, {11, 0, 210, 189}}, // 210 exactly
            {{480, 576}, {37, 0, 158, 189}}, // 157.5 goes to the even 158
            {{720, 576}, {0, 1, 233, 186}},  // 186.4 goes down
            {{233, 189}, {0, 0, 233, 189}},  // the panel's own proportions
            {{466, 100}, {0, 69, 233, 50}},  // 50 exactly
            {{466, 101}, {0, 69, 233, 50}},  // 50.5 goes to the even 50
            {{466, 103}, {0, 68, 233, 52}},  // 51.5 goes to the even 52
        };
        for (const auto& c : cases)
            QCOMPARE(PreviewBoxRect(QSize(233, 189), c.frame), c.box);

        store::AlbumStore albums(root.path().toStdString());
        makeAlbums(root.path(), {{"预览", 1, 1}});
        albums.LoadInfo("A");
        albums.openAlbum(0);
        ScriptedDialogs dialogs;
        TFrmMake dialog(albums, dialogs);
        auto* box = child<StretchView>(dialog, "ImgMpg");
        // The box takes the display aspect of the format, not the shape of its stored pixels:
        // VCD's 320-pixel area shows 349 × 288, SVCD and DVD 4:3.
        QCOMPARE(box->geometry(), QRect(2, 0, 229, 189));
        const char* formats[] = {"RGOutTypeSVCD", "RGOutTypeDVD", "RGOutTypeVCD"};
        const QRect boxes[] = {{0, 7, 233, 175}, {0, 7, 233, 175}, {2, 0, 229, 189}};
        for (int i = 0; i < 3; ++i) {
            child<QRadioButton>(dialog, formats[i])->click();
            QCOMPARE(box->geometry(), boxes[i]);
            // In the colour mode the box is filled with the colour at its new size, unstretched.
            QCOMPARE(box->picture().size(), boxes[i].size());
            QVERIFY(!box->stretch());
        }
    }

    void opensWithTheAlbumTotalsAndDefaults() {
        makeAlbums(root.path(), {{"其它", 1, 1}, {"春节", 3, 2}});
        store::AlbumStore albums(root.path().toStdString());
        albums.LoadInfo("A");
        albums.AlbumIndex = 1;
        albums.openAlbum(1);
        for (auto& picture : albums.PicList)
            picture.StayTime = 5;
        albums.MusicList[0].PlayTime = 200;
        albums.MusicList[1].PlayTime = 45;
        ScriptedDialogs dialogs;
        TFrmMake dialog(albums, dialogs);
        QCOMPARE(dialog.size(), QSize(550, 463)); // 385 and the three rows of the format choice
        QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
        QCOMPARE(dialog.windowTitle(), QStringLiteral("相册《春节》VCD视频文件制作"));
        QCOMPARE(text(dialog, "LPicTime"), QStringLiteral("全部图片播放时间:00 时 00 分 21 秒"));
        QCOMPARE(text(dialog, "LMusTime"), QStringLiteral("全部音乐播放时间:00 时 04 分 05 秒"));
        QCOMPARE(text(dialog, "Lguage"), QStringLiteral("完成进度：0%"));
        QCOMPARE(text(dialog, "LOverTine"), QStringLiteral("剩余时间：00:00"));
        QCOMPARE(text(dialog, "Label5"), QStringLiteral("输出："));
        QCOMPARE(text(dialog, "EdtOut"), videos() + QStringLiteral("/VCD-0.mpg"));
        QVERIFY(QFileInfo(videos()).isDir()); // made when it was missing
        QVERIFY(child<QLineEdit>(dialog, "EdtOut")->isReadOnly());

        const struct {
            const char* name;
            const char* caption;
        } captions[] = {
            {"RGOutType", "输出视频格式："}, {"GroupBox1", "影音同步设置："}, {"GroupBox3", "视频高级设置："},
            {"GroupBox2", "生成预览："},     {"GroupBox4", "当前状态："},
        };
        for (const auto& c : captions)
            QCOMPARE(child<QGroupBox>(dialog, c.name)->title(), QString::fromUtf8(c.caption));
        const struct {
            const char* name;
            const char* caption;
            bool checked;
        } buttons[] = {
            {"RGOutTypeVCD", "VCD", true},
            {"RGOutTypeSVCD", "SVCD", false},
            {"RGOutTypeDVD", "DVD", false},
            {"CboxTB", "自动影音同步", false},
            {"CboxMH", "视频背景逐渐淡化效果", false},
            {"CboxMotion", "让图片动起来", false},
            {"RbtnYS", "填充背景色", true},
            {"RbtnTP", "填充背景图（随机选取下列图片）", false},
            {"Button1", "颜色设置...", false},
            {"SbtnMake", "生成相册", false},
            {"SbtnStop", "终止生成", false},
        };
        for (const auto& b : buttons) {
            auto* button = child<QAbstractButton>(dialog, b.name);
            QCOMPARE(button->text(), QString::fromUtf8(b.caption));
            QCOMPARE(button->isChecked(), b.checked);
        }
        QCOMPARE(child<QToolButton>(dialog, "SpeedButton3")->text(), QStringLiteral("..."));
        QVERIFY(child<QPushButton>(dialog, "SbtnMake")->isEnabled());
        QVERIFY(!child<QPushButton>(dialog, "SbtnStop")->isEnabled());
        QCOMPARE(child<QWidget>(dialog, "RbtnYS")->toolTip(),
                 QStringLiteral("当图片的高宽与视频的高宽的比\n值不同时将填充图片的背景色。"));
        QCOMPARE(child<QWidget>(dialog, "RbtnTP")->toolTip(),
                 QStringLiteral("当图片的高宽与视频的高宽的比\n值不同时将填充图片的背景图。"));
        QCOMPARE(child<QWidget>(dialog, "PnlBack")->size(), QSize(233, 189));
        QCOMPARE(child<QWidget>(dialog, "Image1")->geometry(), QRect(0, 0, 233, 189));
        // Black by default: the preview box is filled with it.
        QCOMPARE(child<StretchView>(dialog, "ImgMpg")->picture().pixelColor(5, 5), QColor(Qt::black));

        const production::ProductionSettings settings = dialog.currentSettings();
        QCOMPARE(QString::fromLatin1(settings.format->name), QStringLiteral("vcd"));
        QCOMPARE(QString::fromStdString(settings.outputPath.string()),
                 videos() + QStringLiteral("/VCD-0.mpg"));
        QVERIFY(!settings.synchronise && !settings.soften && !settings.motion);
        QVERIFY(settings.background == production::BackgroundMode::Colour);
        QCOMPARE(settings.colour, 0u);
    }

    // "让图片动起来" is the run's motion setting, ticked and unticked by the mouse and the keys.
    void motionSwitchReachesTheRunSettings() {
        makeAlbums(root.path(), {{"动起来", 2, 1}});
        store::AlbumStore albums(root.path().toStdString());
        albums.LoadInfo("A");
        albums.AlbumIndex = 0;
        albums.openAlbum(0);
        ScriptedDialogs dialogs;
        TFrmMake dialog(albums, dialogs);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        auto* motion = child<QCheckBox>(dialog, "CboxMotion");
        QVERIFY(motion->isEnabled());
        QVERIFY(!dialog.currentSettings().motion);
        QTest::mouseClick(motion, Qt::LeftButton);
        QVERIFY(dialog.currentSettings().motion);
        // The other settings beside it stay as they were.
        QVERIFY(!dialog.currentSettings().soften);
        motion->setFocus();
        QTest::keyClick(motion, Qt::Key_Space);
        QVERIFY(!dialog.currentSettings().motion);
        // A setting of the run: disabled with the others while one goes on.
        dialog.SetSettingsEnabled(false);
        QVERIFY(!motion->isEnabled());
        dialog.SetSettingsEnabled(true);
        QVERIFY(motion->isEnabled());
    }

    void synchronisationNeedsMoreMusicThanTwiceThePictures() {
        const struct {
            int music;
            bool accepted;
            const char* pictureTotal;
        } cases[] = {
            {245, true, "00 时 04 分 05 秒"},
            {7, true, "00 时 00 分 07 秒"},
            {6, false, "00 时 00 分 21 秒"}, // 2 × 3 pictures is not less than 6
            {0, false, "00 时 00 分 21 秒"},
        };
        for (const auto& c : cases) {
            store::AlbumStore albums(root.path().toStdString());
            albums.AlbumList.resize(1);
            albums.AlbumIndex = 0;
            albums.PicList.resize(3);
            for (auto& picture : albums.PicList)
                picture.StayTime = 5;
            albums.MusicList.resize(1);
            albums.MusicList[0].PlayTime = c.music;
            ScriptedDialogs dialogs;
            TFrmMake dialog(albums, dialogs);
            child<QCheckBox>(dialog, "CboxTB")->click();
            QCOMPARE(child<QCheckBox>(dialog, "CboxTB")->isChecked(), c.accepted);
            QCOMPARE(text(dialog, "LPicTime"),
                     QStringLiteral("全部图片播放时间:") + QString::fromUtf8(c.pictureTotal));
            QCOMPARE(dialogs.messages,
                     c.accepted
                         ? QStringList()
                         : QStringList{QStringLiteral("音乐太短,无法同步!请删除部分图片或者添加音乐。")});
            QCOMPARE(dialog.currentSettings().synchronise, c.accepted);
            if (c.accepted) { // unticking brings the pictures' own total back
                child<QCheckBox>(dialog, "CboxTB")->click();
                QCOMPARE(text(dialog, "LPicTime"), QStringLiteral("全部图片播放时间:00 时 00 分 21 秒"));
            }
        }
    }

    void outputNamesTakeTheFirstFreeNumberOfTheFormat() {
        store::AlbumStore albums(root.path().toStdString());
        albums.AlbumList.resize(1);
        albums.AlbumIndex = 0;
        ScriptedDialogs dialogs;
        QDir().mkpath(videos());
        const struct {
            QStringList present;
            const char* name;
        } defaults[] = {
            {{"VCD-0.mpg", "VCD-1.mpg"}, "VCD-2.mpg"},
            {{"VCD-1.mpg"}, "VCD-0.mpg"},
            {{"DVD-0.mpg", "VCD-0.mpg.txt"}, "VCD-0.mpg"},
        };
        for (const auto& c : defaults) {
            QDir(videos()).removeRecursively();
            QDir().mkpath(videos());
            for (const QString& name : c.present)
                touch(videos() + QLatin1Char('/') + name);
            TFrmMake dialog(albums, dialogs);
            QCOMPARE(text(dialog, "EdtOut"), videos() + QLatin1Char('/') + QString::fromUtf8(c.name));
        }

        // A file chosen elsewhere gets the extension .mpg; a format change keeps its folder.
        const QString elsewhere = root.path() + QStringLiteral("/输出");
        QDir().mkpath(elsewhere);
        touch(elsewhere + QStringLiteral("/DVD-0.mpg"));
        touch(elsewhere + QStringLiteral("/SVCD-0.mpg"));
        TFrmMake dialog(albums, dialogs);
        const struct {
            QString chosen;
            QString shown;
        } saves[] = {
            {elsewhere + QStringLiteral("/假期.avi"), elsewhere + QStringLiteral("/假期.mpg")},
            {elsewhere + QStringLiteral("/假期"), elsewhere + QStringLiteral("/假期.mpg")},
            {elsewhere + QStringLiteral("/v1.2.mpeg"), elsewhere + QStringLiteral("/v1.2.mpg")},
            {QString(), elsewhere + QStringLiteral("/v1.2.mpg")}, // cancelled: nothing changes
        };
        for (const auto& s : saves) {
            dialogs.fileToSave = s.chosen;
            child<QToolButton>(dialog, "SpeedButton3")->click();
            QCOMPARE(text(dialog, "EdtOut"), s.shown);
        }
        QVERIFY(dialogs.questions.isEmpty()); // none of them existed
        child<QRadioButton>(dialog, "RGOutTypeDVD")->click();
        QCOMPARE(text(dialog, "EdtOut"), elsewhere + QStringLiteral("/DVD-1.mpg"));
        QCOMPARE(QString::fromLatin1(dialog.currentSettings().format->name), QStringLiteral("dvd"));
        child<QRadioButton>(dialog, "RGOutTypeSVCD")->click();
        QCOMPARE(text(dialog, "EdtOut"), elsewhere + QStringLiteral("/SVCD-1.mpg"));
        // The caption keeps saying VCD.
        QCOMPARE(dialog.windowTitle(), QStringLiteral("相册《》VCD视频文件制作"));
    }

    // The other formats come from the list beside "其它："; each one names the output after its
    // short name and extension, gives the preview box its display aspect and offers the MP4
    // encoder's settings only where they apply. The original three keep their behaviour.
    void everyFormatIsOfferedWithItsNameAspectAndEncoderSettings() {
        store::AlbumStore albums(root.path().toStdString());
        albums.AlbumList.resize(1);
        albums.AlbumIndex = 0;
        ScriptedDialogs dialogs;
        QDir(videos()).removeRecursively();
        QDir().mkpath(videos());
        touch(videos() + QStringLiteral("/MP4-1080p-0.mp4"));
        TFrmMake dialog(albums, dialogs);
        auto* list = child<QComboBox>(dialog, "CmbFormat");
        auto* fps = child<QComboBox>(dialog, "CmbFps");
        auto* quality = child<QSpinBox>(dialog, "SpnQuality");
        auto* speed = child<QComboBox>(dialog, "CmbSpeed");
        auto* box = child<StretchView>(dialog, "ImgMpg");
        QCOMPARE(list->count(), 11);
        QCOMPARE(list->currentText(), QStringLiteral("MP4 1080p（1920×1080）"));
        QVERIFY(!child<QRadioButton>(dialog, "RGOutTypeOther")->isChecked());
        QVERIFY(!quality->isEnabled() && !fps->isEnabled()); // VCD: one rate, fixed bit rates

        const auto choose = [&](const char* name) {
            const int index = list->findData(QString::fromLatin1(name));
            QVERIFY(index >= 0);
            list->setCurrentIndex(index);
            emit list->activated(index);
        };
        const struct {
            const char* name;
            const char* output;
            QRect box;
            bool encoderSettings;
        } cases[] = {
            {"mp4-1080p", "MP4-1080p-1.mp4", {0, 29, 233, 131}, true},
            {"mp4-1080x1920", "MP4-1080x1920-0.mp4", {63, 0, 106, 189}, true},
            {"mp4-1080x1080", "MP4-1080x1080-0.mp4", {22, 0, 189, 189}, true},
            {"dvd-16x9", "DVD-16x9-0.mpg", {0, 29, 233, 131}, false},
            {"dvd-ntsc", "DVD-NTSC-0.mpg", {0, 7, 233, 175}, false},
        };
        choose("mp4-1080p"); // from VCD's one rate: the MP4 default
        QCOMPARE(fps->currentText(), QStringLiteral("30"));
        for (const auto& c : cases) {
            choose(c.name);
            QVERIFY(child<QRadioButton>(dialog, "RGOutTypeOther")->isChecked());
            QCOMPARE(text(dialog, "EdtOut"), videos() + QLatin1Char('/') + QString::fromLatin1(c.output));
            QCOMPARE(box->geometry(), c.box);
            QCOMPARE(QString::fromLatin1(dialog.currentSettings().format->name), QString::fromLatin1(c.name));
            QCOMPARE(quality->isEnabled(), c.encoderSettings);
            QCOMPARE(fps->isEnabled(), c.encoderSettings);
            // The disc formats offer their images ready to burn in the place of the codec.
            QCOMPARE(child<QCheckBox>(dialog, "CboxDisc")->isVisibleTo(&dialog), !c.encoderSettings);
            QCOMPARE(child<QCheckBox>(dialog, "CboxHevc")->isVisibleTo(&dialog), c.encoderSettings);
        }
        child<QCheckBox>(dialog, "CboxDisc")->setChecked(true);
        QVERIFY(dialog.currentSettings().disc);
        // The MP4 settings: 30 frames a second, quality 20 and speed medium unless changed.
        choose("mp4-720p");
        QCOMPARE(fps->currentText(), QStringLiteral("30"));
        QCOMPARE(quality->value(), 20);
        QCOMPARE(speed->currentText(), QStringLiteral("medium"));
        production::EncodeOptions options = dialog.currentSettings().encode;
        QCOMPARE(options.rate, (production::Rational{30, 1}));
        QCOMPARE(options.quality, 20);
        QCOMPARE(QString::fromStdString(options.speed), QStringLiteral("medium"));
        QVERIFY(!options.hevc);
        fps->setCurrentText(QStringLiteral("50"));
        quality->setValue(26);
        speed->setCurrentText(QStringLiteral("slow"));
        child<QCheckBox>(dialog, "CboxHevc")->setChecked(true);
        options = dialog.currentSettings().encode;
        QCOMPARE(options.rate, (production::Rational{50, 1}));
        QCOMPARE(options.quality, 26);
        QCOMPARE(QString::fromStdString(options.speed), QStringLiteral("slow"));
        QVERIFY(options.hevc);
        QVERIFY2(!dialog.currentSettings().disc, "no disc of an MP4");
        // A chosen file gets the format's extension.
        dialogs.fileToSave = videos() + QStringLiteral("/假期.mpg");
        child<QToolButton>(dialog, "SpeedButton3")->click();
        QCOMPARE(text(dialog, "EdtOut"), videos() + QStringLiteral("/假期.mp4"));
        // Back to an original choice: its name, box and settings as before.
        child<QRadioButton>(dialog, "RGOutTypeDVD")->click();
        QCOMPARE(text(dialog, "EdtOut"), videos() + QStringLiteral("/DVD-0.mpg"));
        QCOMPARE(QString::fromLatin1(dialog.currentSettings().format->name), QStringLiteral("dvd"));
        QVERIFY(!quality->isEnabled());
        QCOMPARE(fps->currentText(), QStringLiteral("25"));
    }

    void saveDialogProposesTheNextFreeNameInEachFolderEntered() {
        store::AlbumStore albums(root.path().toStdString());
        albums.AlbumList.resize(1);
        albums.AlbumIndex = 0;
        const QString other = root.path() + QStringLiteral("/其它");
        QDir().mkpath(other);
        touch(other + QStringLiteral("/DVD-0.mpg"));
        ScriptedDialogs scripted;
        FolderVisitingDialogs dialogs(scripted);
        dialogs.folder = other;
        TFrmMake dialog(albums, dialogs);
        child<QRadioButton>(dialog, "RGOutTypeDVD")->click();
        const QString before = text(dialog, "EdtOut");
        QCOMPARE(before, videos() + QStringLiteral("/DVD-0.mpg"));
        child<QToolButton>(dialog, "SpeedButton3")->click(); // enters the other folder, cancels
        QCOMPARE(dialogs.initialPaths, QStringList{before});
        QCOMPARE(dialogs.proposals, QStringList{other + QStringLiteral("/DVD-1.mpg")});
        QCOMPARE(text(dialog, "EdtOut"), before);
        dialogs.confirm = true; // the next opening starts where the last one was left
        child<QToolButton>(dialog, "SpeedButton3")->click();
        QCOMPARE(dialogs.initialPaths.constLast(), other + QStringLiteral("/DVD-1.mpg"));
        QCOMPARE(text(dialog, "EdtOut"), other + QStringLiteral("/DVD-1.mpg"));
        QVERIFY(scripted.questions.isEmpty());
    }

    void anExistingFileIsOverwrittenOnlyAfterYes() {
        store::AlbumStore albums(root.path().toStdString());
        albums.AlbumList.resize(1);
        albums.AlbumIndex = 0;
        const QString existing = root.path() + QStringLiteral("/旧片.mpg");
        touch(existing);
        ScriptedDialogs dialogs;
        TFrmMake dialog(albums, dialogs);
        const QString before = text(dialog, "EdtOut");
        // No shows the save dialog again; the second answer, Yes, takes the name.
        dialogs.fileToSave = root.path() + QStringLiteral("/旧片.MPEG2");
        dialogs.answers = {false, true};
        child<QToolButton>(dialog, "SpeedButton3")->click();
        QCOMPARE(dialogs.questions, QStringList(2, QStringLiteral("文件已经存在是否要覆盖该文件")));
        QCOMPARE(text(dialog, "EdtOut"), existing);
        QVERIFY(before != existing);
    }

    void backgroundListHoldsTheJpegFilesOfBackPic() {
        store::AlbumStore albums(root.path().toStdString());
        albums.AlbumList.resize(1);
        albums.AlbumIndex = 0;
        ScriptedDialogs dialogs;
        {
            TFrmMake dialog(albums, dialogs); // no BackPic folder at all
            QCOMPARE(child<QListWidget>(dialog, "Clb1")->count(), 0);
            QVERIFY(!child<QRadioButton>(dialog, "RbtnTP")->isEnabled());
            QVERIFY(child<QRadioButton>(dialog, "RbtnYS")->isChecked());
        }
        const QString backPic = root.path() + QStringLiteral("/BackPic");
        QDir().mkpath(backPic + QStringLiteral("/x.jpg")); // a folder, not a picture
        {
            TFrmMake dialog(albums, dialogs);
            QCOMPARE(child<QListWidget>(dialog, "Clb1")->count(), 0);
            QVERIFY(!child<QRadioButton>(dialog, "RbtnTP")->isEnabled());
        }
        QImage green(32, 16, QImage::Format_RGB888);
        green.fill(Qt::green);
        QVERIFY(green.save(backPic + QStringLiteral("/b.JPG"), "JPG"));
        QVERIFY(green.save(backPic + QStringLiteral("/a.jpg"), "JPG"));
        QVERIFY(green.save(backPic + QStringLiteral("/c.png"), "PNG"));
        touch(backPic + QStringLiteral("/d.jpeg"));
        TFrmMake dialog(albums, dialogs);
        auto* list = child<QListWidget>(dialog, "Clb1");
        QCOMPARE(list->count(), 2);
        QCOMPARE(list->item(0)->text(), QStringLiteral("a.jpg"));
        QCOMPARE(list->item(1)->text(), QStringLiteral("b.JPG"));
        for (int i = 0; i < list->count(); ++i)
            QCOMPARE(list->item(i)->checkState(), Qt::Checked);
        QVERIFY(child<QRadioButton>(dialog, "RbtnTP")->isEnabled());
        QVERIFY(child<QRadioButton>(dialog, "RbtnYS")->isChecked());

        // Only ticked pictures take part, in list order, and only in the picture mode.
        list->item(0)->setCheckState(Qt::Unchecked);
        child<QRadioButton>(dialog, "RbtnTP")->click();
        production::ProductionSettings settings = dialog.currentSettings();
        QVERIFY(settings.background == production::BackgroundMode::Pictures);
        QCOMPARE(settings.backgroundNames, std::vector<std::string>{"b.JPG"});

        // A click on an entry shows that picture stretched over the preview box.
        list->setCurrentRow(1);
        dialog.Clb1Click();
        auto* box = child<StretchView>(dialog, "ImgMpg");
        QVERIFY(box->stretch());
        QCOMPARE(box->picture().size(), QSize(32, 16));
        QVERIFY(qGreen(box->picture().pixel(8, 8)) > 200 && qRed(box->picture().pixel(8, 8)) < 60);
        QVERIFY(dialogs.messages.isEmpty());
    }

    void backgroundListShowsTheEntryTheKeysMoveTo() {
        store::AlbumStore albums(root.path().toStdString());
        albums.AlbumList.resize(1);
        albums.AlbumIndex = 0;
        const QString backPic = root.path() + QStringLiteral("/BackPic");
        QDir().mkpath(backPic);
        const std::pair<const char*, QColor> pictures[] = {
            {"a.jpg", Qt::red}, {"b.jpg", Qt::green}, {"c.jpg", Qt::blue}};
        for (const auto& [name, colour] : pictures) {
            QImage picture(24, 12, QImage::Format_RGB888);
            picture.fill(colour);
            QVERIFY(picture.save(backPic + QLatin1Char('/') + QLatin1String(name), "JPG"));
        }
        ScriptedDialogs dialogs;
        TFrmMake dialog(albums, dialogs);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        auto* list = child<QListWidget>(dialog, "Clb1");
        auto* box = child<StretchView>(dialog, "ImgMpg");
        const auto shownColour = [&] { return box->picture().pixelColor(12, 6); };
        const auto near = [](const QColor& a, const QColor& b) {
            return std::abs(a.red() - b.red()) < 40 && std::abs(a.green() - b.green()) < 40 &&
                   std::abs(a.blue() - b.blue()) < 40;
        };
        list->setFocus(); // the list makes its first entry current, and it shows
        QCOMPARE(list->currentRow(), 0);
        QVERIFY(near(shownColour(), Qt::red));
        for (const auto& [key, row] : {std::pair{Qt::Key_Down, 1},
                                       {Qt::Key_End, 2},
                                       {Qt::Key_Up, 1},
                                       {Qt::Key_Home, 0},
                                       {Qt::Key_Down, 1}}) {
            QTest::keyClick(list, key);
            QCOMPARE(list->currentRow(), row);
            QVERIFY(box->stretch());
            QVERIFY2(near(shownColour(), pictures[row].second), qPrintable(shownColour().name()));
        }
        // A mouse click still shows its entry.
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(2)).center());
        QCOMPARE(list->currentRow(), 2);
        QVERIFY(near(shownColour(), Qt::blue));
        QVERIFY(dialogs.messages.isEmpty());
    }

    void colourDialogFillsThePreviewBox() {
        store::AlbumStore albums(root.path().toStdString());
        albums.AlbumList.resize(1);
        albums.AlbumIndex = 0;
        ScriptedDialogs dialogs;
        TFrmMake dialog(albums, dialogs);
        auto* box = child<StretchView>(dialog, "ImgMpg");
        dialogs.colorToPick = std::nullopt; // cancelled: still black
        child<QPushButton>(dialog, "Button1")->click();
        QCOMPARE(box->picture().pixelColor(0, 0), QColor(Qt::black));
        dialogs.colorToPick = QColor(0x12, 0x34, 0x56);
        child<QPushButton>(dialog, "Button1")->click();
        QCOMPARE(box->picture().pixelColor(100, 100), QColor(0x12, 0x34, 0x56));
        QCOMPARE(box->picture().size(), box->size());
        QVERIFY(!box->stretch());
        QVERIFY(child<QRadioButton>(dialog, "RbtnYS")->isChecked()); // the mode stays as it was
        QCOMPARE(dialog.currentSettings().colour, 0x563412u);        // 0x00BBGGRR
        // A format change refills the box with the chosen colour at its new size.
        child<QRadioButton>(dialog, "RGOutTypeSVCD")->click();
        QCOMPARE(box->picture().size(), QSize(233, 175)); // 4:3
        QCOMPARE(box->picture().pixelColor(0, 0), QColor(0x12, 0x34, 0x56));
    }

    // While a picture is held, the preview on screen keeps showing the last transition frame:
    // the event processing of each frame must not paint the panel's background over it.
    void previewStaysOnScreenWhilePictureIsHeld() {
        store::AlbumStore albums(root.path().toStdString());
        makeShortAlbum(albums, 1);
        albums.PicList[0].StayTime = 4; // 51 transition frames, then 100 held
        ScriptedDialogs dialogs;
        TFrmMake dialog(albums, dialogs);
        dialogs.fileToSave = root.path() + QStringLiteral("/停留.mpg");
        child<QToolButton>(dialog, "SpeedButton3")->click();
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        auto* box = child<StretchView>(dialog, "ImgMpg");
        auto* progress = child<QLabel>(dialog, "Lguage");

        // Looks at the screen once per event processing, from three quarters of the run on.
        QColor shown, expected;
        bool panelPaintable = false;
        std::function<void()> watch = [&] {
            const QString text = progress->text();
            const bool late = text.startsWith(QStringLiteral("完成进度：")) &&
                              text.endsWith(QLatin1Char('%')) && text.mid(5, text.size() - 6).toInt() >= 75;
            if (dialog.running() && late && !shown.isValid()) {
                const QPoint centre = box->mapTo(&dialog, box->rect().center());
                shown = dialog.screen()->grabWindow(dialog.winId()).toImage().pixelColor(centre);
                expected = box->picture().pixelColor(box->picture().rect().center());
                // A panel whose updates are off while events run gets its background painted
                // over on a real screen, children skipped.
                panelPaintable = child(dialog, "PnlBack")->updatesEnabled();
                return;
            }
            if (dialog.running() || !shown.isValid())
                QTimer::singleShot(0, &dialog, watch);
        };
        QTimer::singleShot(0, &dialog, watch);
        child<QPushButton>(dialog, "SbtnMake")->click();
        QVERIFY(shown.isValid());
        QVERIFY(expected.isValid());
        QVERIFY(panelPaintable);
        QVERIFY2(std::abs(shown.red() - expected.red()) < 8 &&
                     std::abs(shown.green() - expected.green()) < 8 &&
                     std::abs(shown.blue() - expected.blue()) < 8,
                 qPrintable(shown.name() + QStringLiteral(" shown, ") + expected.name() +
                            QStringLiteral(" held")));
    }

    // A stop in the first transition, with close requests refused while the run lasts; the
    // result question answered No; a second run at once, answered Yes; then the dialog closes.
    void runStopsAndRunsAgainInOneOpening() {
        store::AlbumStore albums(root.path().toStdString());
        makeShortAlbum(albums, 2);
        ScriptedDialogs dialogs;
        TFrmMake dialog(albums, dialogs);
        dialogs.fileToSave = root.path() + QStringLiteral("/片子.mpg");
        child<QToolButton>(dialog, "SpeedButton3")->click();
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        auto* make = child<QPushButton>(dialog, "SbtnMake");
        auto* stop = child<QPushButton>(dialog, "SbtnStop");
        auto* box = child<StretchView>(dialog, "ImgMpg");

        bool checkedDuringRun = false;
        OnFirstPreviewFrame duringTransition(box, [&] {
            QVERIFY(dialog.running());
            QVERIFY(!make->isEnabled() && stop->isEnabled());
            for (const char* name : {"RGOutType", "SpeedButton3", "CboxTB", "GroupBox3", "CboxMotion"})
                QVERIFY2(!child(dialog, name)->isEnabled(), name);
            QVERIFY(box->stretch());
            QVERIFY(!dialog.close()); // the window's close button
            QTest::keyClick(&dialog, Qt::Key_Escape);
            dialog.reject();
            QVERIFY(dialog.isVisible());
            make->click(); // a second start inside the run does nothing
            checkedDuringRun = true;
            stop->click();
        });
        make->click();
        QVERIFY(duringTransition.fired());
        QVERIFY(checkedDuringRun);
        QCOMPARE(text(dialog, "Lguage"), QStringLiteral("相册生成完毕!"));
        QCOMPARE(text(dialog, "LOverTine"), QStringLiteral("剩余时间：00:00"));
        QVERIFY(box->picture().isNull());
        QVERIFY(make->isEnabled() && !stop->isEnabled());
        QVERIFY(child(dialog, "GroupBox3")->isEnabled());
        // The stopped run left a file, so it is reported like a finished one.
        QVERIFY(QFileInfo::exists(root.path() + QStringLiteral("/片子.mpg")));
        QCOMPARE(dialogs.questions, QStringList{kDone});
        QVERIFY(dialogs.messages.isEmpty());
        QVERIFY(dialogs.openedFolders.isEmpty());
        QVERIFY(dialog.isVisible());

        dialogs.answers = {true};
        make->click();
        QCOMPARE(dialogs.questions, QStringList(2, kDone));
        QCOMPARE(dialogs.openedFolders, QStringList{root.path()});
        QVERIFY(dialogs.messages.isEmpty());
        QCOMPARE(text(dialog, "Lguage"), QStringLiteral("相册生成完毕!"));
        QVERIFY(box->picture().isNull());
        QVERIFY(!dialog.running());
        QVERIFY(dialog.close());
        QVERIFY(!dialog.isVisible());
    }

    // Yes to the completion question where no file manager can open the folder: the user is
    // told so, and where the video is.
    void aFolderThatCannotBeOpenedIsNamed() {
        store::AlbumStore albums(root.path().toStdString());
        makeShortAlbum(albums, 1);
        ScriptedDialogs dialogs;
        dialogs.folderOpens = false;
        TFrmMake dialog(albums, dialogs);
        const QString output = root.path() + QStringLiteral("/无处打开.mpg");
        dialogs.fileToSave = output;
        child<QToolButton>(dialog, "SpeedButton3")->click();
        dialogs.answers = {true};
        child<QPushButton>(dialog, "SbtnMake")->click();
        QCOMPARE(dialogs.questions, QStringList{kDone});
        QCOMPARE(dialogs.openedFolders, QStringList{root.path()});
        QCOMPARE(dialogs.messages,
                 QStringList{QStringLiteral("无法打开文件夹（没有可用的文件管理器）。视频文件保存在：\n") +
                             output});

        // Where the folder opens, nothing more is said.
        dialogs.folderOpens = true;
        dialogs.answers = {true};
        child<QPushButton>(dialog, "SbtnMake")->click();
        QCOMPARE(dialogs.openedFolders.size(), 2);
        QCOMPARE(dialogs.messages.size(), 1);
    }

    // A run whose video cannot fit on the output's disk does not start, and the user is told
    // the expected size and the space there is.
    void aVideoThatCannotFitIsRefused() {
        store::AlbumStore albums(root.path().toStdString());
        makeShortAlbum(albums, 1);
        // 200 pictures of a day each (the longest a picture is held): terabytes of DVD.
        albums.PicList.resize(200, albums.PicList.front());
        for (auto& picture : albums.PicList)
            picture.StayTime = 2147483647;
        ScriptedDialogs dialogs;
        TFrmMake dialog(albums, dialogs);
        child<QRadioButton>(dialog, "RGOutTypeDVD")->click();
        const QString output = root.path() + QStringLiteral("/太大.mpg");
        dialogs.fileToSave = output;
        child<QToolButton>(dialog, "SpeedButton3")->click();
        const std::optional<production::OutputSpace> space =
            production::outputSpace(albums, dialog.currentSettings());
        QVERIFY(space && !space->fits());

        // Were the run to start, this stop would end it at its first frame, not at a full disk.
        QTimer::singleShot(0, &dialog, [&] { child<QPushButton>(dialog, "SbtnStop")->click(); });
        child<QPushButton>(dialog, "SbtnMake")->click();
        QCOMPARE(dialogs.messages.size(), 1);
        const QString message = dialogs.messages.front();
        QVERIFY2(message.startsWith(QStringLiteral("磁盘空间不足，无法生成视频：预计需要 ") +
                                    byteSizeText(space->expectedBytes) + QStringLiteral("，")),
                 qPrintable(message));
        QVERIFY2(message.contains(QStringLiteral("输出文件夹“") + root.path() + QStringLiteral("”")),
                 qPrintable(message));
        const QRegularExpression freeFigure(QStringLiteral("只有 [0-9]+\\.[0-9] (KB|MB|GB|TB) 可用"));
        QVERIFY2(freeFigure.match(message).hasMatch(), qPrintable(message));
        QVERIFY(!QFileInfo::exists(output));
        QVERIFY(dialogs.questions.isEmpty());
        QCOMPARE(text(dialog, "Lguage"), QStringLiteral("完成进度：0%"));
        QVERIFY(child<QPushButton>(dialog, "SbtnMake")->isEnabled());
        QVERIFY(!child<QPushButton>(dialog, "SbtnStop")->isEnabled());
        QVERIFY(!dialog.running());
    }

    void sizesAreWrittenInUnitsOf1024() {
        const std::pair<std::uintmax_t, QString> cases[] = {
            {0, QStringLiteral("0 字节")},          {1023, QStringLiteral("1023 字节")},
            {1024, QStringLiteral("1.0 KB")},       {1536, QStringLiteral("1.5 KB")},
            {5ull << 30, QStringLiteral("5.0 GB")}, {3ull << 40 | 1ull << 39, QStringLiteral("3.5 TB")},
        };
        for (const auto& [bytes, textOf] : cases)
            QCOMPARE(byteSizeText(bytes), textOf);
    }

    // The encoder cannot write the file (its folder is gone): the failure message, not the
    // encoder's own text.
    void unwritableOutputGivesTheFailureMessage() {
        store::AlbumStore albums(root.path().toStdString());
        makeShortAlbum(albums, 1);
        ScriptedDialogs dialogs;
        TFrmMake dialog(albums, dialogs);
        const QString output = root.path() + QStringLiteral("/不在了/片子.mpg");
        dialogs.fileToSave = output;
        child<QToolButton>(dialog, "SpeedButton3")->click();
        child<QPushButton>(dialog, "SbtnMake")->click();
        QVERIFY(!QFileInfo::exists(output));
        QCOMPARE(dialogs.messages, QStringList{kFailed});
        QVERIFY(dialogs.questions.isEmpty());
        QCOMPARE(text(dialog, "Lguage"), QStringLiteral("相册生成完毕!"));
    }

    // A stop that comes before the file is begun: the failure message, no question.
    void stopBeforeTheFileGivesTheFailureMessage() {
        store::AlbumStore albums(root.path().toStdString());
        makeShortAlbum(albums, 1);
        ScriptedDialogs dialogs;
        TFrmMake dialog(albums, dialogs);
        dialogs.fileToSave = root.path() + QStringLiteral("/早停.mpg");
        child<QToolButton>(dialog, "SpeedButton3")->click();
        dialog.show();
        QTimer::singleShot(0, &dialog, [&] { child<QPushButton>(dialog, "SbtnStop")->click(); });
        child<QPushButton>(dialog, "SbtnMake")->click();
        QVERIFY(!QFileInfo::exists(root.path() + QStringLiteral("/早停.mpg")));
        QCOMPARE(dialogs.messages, QStringList{kFailed});
        QVERIFY(dialogs.questions.isEmpty());
        QCOMPARE(text(dialog, "Lguage"), QStringLiteral("相册生成完毕!"));
    }

    // The user agreed to overwrite an older video, and the run stops before its file is
    // begun: the older file is no result of this run, so the failure message comes, and the
    // older file is left as it was.
    void olderFileAtTheOutputIsNoResultOfAStoppedRun() {
        store::AlbumStore albums(root.path().toStdString());
        makeShortAlbum(albums, 1);
        const QString output = root.path() + QStringLiteral("/旧片.mpg");
        QFile older(output);
        QVERIFY(older.open(QIODevice::WriteOnly));
        older.write("an older video");
        older.close();
        ScriptedDialogs dialogs;
        TFrmMake dialog(albums, dialogs);
        dialogs.fileToSave = output;
        dialogs.answers = {true}; // overwrite it
        child<QToolButton>(dialog, "SpeedButton3")->click();
        QCOMPARE(text(dialog, "EdtOut"), output);
        dialog.show();
        QTimer::singleShot(0, &dialog, [&] { child<QPushButton>(dialog, "SbtnStop")->click(); });
        child<QPushButton>(dialog, "SbtnMake")->click();
        QCOMPARE(dialogs.messages, QStringList{kFailed});
        QCOMPARE(dialogs.questions, QStringList{QStringLiteral("文件已经存在是否要覆盖该文件")});
        QVERIFY(older.open(QIODevice::ReadOnly));
        QCOMPARE(older.readAll(), QByteArray("an older video"));
        QCOMPARE(QDir(root.path())
                     .entryList({QStringLiteral("*.mpg*"), QStringLiteral(".*")}, QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("旧片.mpg")});
    }

    // A song without sound ends the run with a message that names it as the song list shows
    // it, instead of the general failure message.
    void unreadableSongIsNamedInItsError() {
        store::AlbumStore albums(root.path().toStdString());
        makeShortAlbum(albums, 1);
        QFile song(QString::fromStdString((albums.AlbumPath() / "M0.mp3").string()));
        QVERIFY(song.resize(100));
        ScriptedDialogs dialogs;
        TFrmMake dialog(albums, dialogs);
        dialogs.fileToSave = root.path() + QStringLiteral("/无声.mpg");
        child<QToolButton>(dialog, "SpeedButton3")->click();
        child<QPushButton>(dialog, "SbtnMake")->click();
        QCOMPARE(dialogs.messages.size(), 1);
        QVERIFY2(dialogs.messages[0].contains(QStringLiteral("第1首音乐《M0.mp3》")),
                 qPrintable(dialogs.messages[0]));
        QVERIFY(dialogs.questions.isEmpty());
        QVERIFY(!QFileInfo::exists(dialogs.fileToSave));
    }

    // A picture that cannot be read ends the run with its own error, and no result question
    // or failure message follows; the dialog can run again afterwards.
    void unreadablePictureShowsItsError() {
        store::AlbumStore albums(root.path().toStdString());
        makeShortAlbum(albums, 2);
        QFile broken(QString::fromStdString((albums.AlbumPath() / "P1.jpg").string()));
        QVERIFY(broken.open(QIODevice::WriteOnly | QIODevice::Truncate));
        broken.write("not a picture");
        broken.close();
        ScriptedDialogs dialogs;
        TFrmMake dialog(albums, dialogs);
        const QString output = root.path() + QStringLiteral("/坏图.mpg");
        dialogs.fileToSave = output;
        child<QToolButton>(dialog, "SpeedButton3")->click();
        child<QPushButton>(dialog, "SbtnMake")->click();
        QCOMPARE(dialogs.messages.size(), 1);
        QVERIFY2(dialogs.messages[0].contains(QStringLiteral("P1.jpg")), qPrintable(dialogs.messages[0]));
        QVERIFY(!dialogs.messages.contains(kFailed));
        QVERIFY(dialogs.questions.isEmpty());
        QVERIFY(!QFileInfo::exists(output));
        QCOMPARE(text(dialog, "Lguage"), QStringLiteral("相册生成完毕!"));
        QCOMPARE(text(dialog, "LOverTine"), QStringLiteral("剩余时间：00:00"));
        QVERIFY(child<QPushButton>(dialog, "SbtnMake")->isEnabled());
        QVERIFY(child(dialog, "RGOutType")->isEnabled());
        QVERIFY(dialog.close());
    }

    void mainWindowOpensANewDialogForTheSelectedAlbum() {
        makeAlbums(root.path(), {{"第一", 1, 1}, {"第二", 2, 1}});
        store::AlbumStore albums(root.path().toStdString());
        ScriptedDialogs dialogs;
        TFrmMain window(albums, dialogs);
        QStringList shown;
        dialogs.driveDialog = [&](QDialog& dialog) {
            [&] {
                QVERIFY(qobject_cast<TFrmMake*>(&dialog));
                QCOMPARE(dialog.parentWidget(), &window);
            }();
            shown << dialog.windowTitle() + QLatin1Char('|') + text(dialog, "LPicTime");
            return int(QDialog::Rejected);
        };
        auto* begin = child<QPushButton>(window, "BtnBeginMake");
        QVERIFY(begin->isEnabled());
        begin->click();
        selectRow(child<QTableView>(window, "LvwA"), 1); // the user picks the second album
        window.LvwAChange();
        begin->click();
        QCOMPARE(
            shown,
            QStringList({QStringLiteral("相册《第一》VCD视频文件制作|全部图片播放时间:00 时 00 分 03 秒"),
                         QStringLiteral("相册《第二》VCD视频文件制作|全部图片播放时间:00 时 00 分 07 秒")}));
    }
};

QTEST_MAIN(ProductionDialogTest)
#include "production_dialog_test.moc"
