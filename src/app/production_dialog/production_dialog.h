#pragma once
// TFrmMake: the production dialog, in which the open album becomes a video. It holds the
// settings of a run (format, output file, sound/picture synchronisation, background colour or
// background pictures, softening, motion), shows the album's picture and music totals, and runs the
// production with its progress texts, preview, stop button and result. Settings live only in
// the controls; nothing is kept between openings. The store and the dialog interface are
// passed in and outlive the dialog. A run happens inside SbtnMakeClick; pending events are
// processed once per frame, so the stop button (and nothing that would end the dialog) works
// while it lasts.

#include "app/application/dialog_message_sink.h"
#include "app/application/user_dialogs.h"
#include "app/production_dialog/run_status.h"
#include "production/production_run.h"
#include "production/production_settings.h"
#include "production/run_observer.h"
#include "store/album_store.h"

#include <QColor>
#include <QDialog>
#include <cstdint>
#include <filesystem>
#include <map>

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QToolButton;

namespace vistello::app {

class PictureView;
class StretchView;

class TFrmMake final : public QDialog, private production::RunObserver {
    Q_OBJECT
  public:
    TFrmMake(const store::AlbumStore& store, UserDialogs& dialogs, QWidget* parent = nullptr);
    ~TFrmMake() override;

    // The settings a run gets from the controls now.
    production::ProductionSettings currentSettings() const;
    // The row of the format table that is chosen.
    const production::VideoFormat& selectedFormat() const;
    // True from the start of a run until its result has been reported.
    bool running() const { return running_; }

    // Handlers, public so that tests drive them as the controls do.
    void RGOutTypeClick();
    void SpeedButton3Click();
    void CboxTBClick();
    void Button1Click();
    void Clb1Click();
    void SbtnMakeClick();
    void SbtnStopClick();
    void SetSettingsEnabled(bool enabled);

    // A close request (title bar button, Escape, reject) is refused while a run is going on.
    void reject() override;

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void buildLayout();
    // The fourth format choice with its list, and the MP4 encoder's settings (in
    // production_dialog_formats.cpp).
    void buildFormatChoice();
    void showEncoderChoices();
    production::EncodeOptions encodeOptions() const;
    QString saveFilter() const;
    void connectHandlers();
    void FormCreate();
    void fillColour();
    void showTimes();
    // folder + prefix + first free number + the format's extension for the folder of `path`;
    // empty when no name can be formed.
    QString numberedName(const QString& path) const;
    // What the run tells (production_dialog_run.cpp): shown through status_.
    void phaseChanged(production::RunPhase state) override;
    bool progressed(const production::RunProgress& progress) override;
    void preview(const effects::Bitmap& frame) override;
    void showStatus();
    void processPendingEvents();
    void setBusyCursor(bool busy);
    void reportResult(const production::RunResult& result, const QString& output);

    const store::AlbumStore& store_;
    UserDialogs& dialogs_;
    DialogMessageSink messages_;
    std::int64_t pictureSeconds_ = 0;
    std::int64_t musicSeconds_ = 0;
    std::filesystem::path backgroundFolder_;
    QColor colour_ = Qt::black; // ColorDialog1's colour
    QString saveFileName_;      // Sdlg's file name: where the save dialog starts
    bool busyCursor_ = false;
    bool running_ = false;   // from a run's start until its result has been reported
    bool stopAsked_ = false; // the stop button was clicked during the current run
    RunStatus status_;       // what the labels and buttons show of the current run
    production::ProductionRun run_;

    // Controls, named as their objectNames.
    QGroupBox* RGOutType = nullptr;
    QButtonGroup* formatButtons_ = nullptr;
    std::map<const QAbstractButton*, const production::VideoFormat*> formatOfButton_;
    QRadioButton* RbtnOther = nullptr; // "其它：" with the list of the other formats
    QComboBox* CmbFormat = nullptr;
    QCheckBox* CboxHevc = nullptr;
    QComboBox* CmbFps = nullptr;
    QSpinBox* SpnQuality = nullptr;
    QComboBox* CmbSpeed = nullptr;
    QLabel* LEncoderDefaults = nullptr;
    QCheckBox* CboxDisc = nullptr; // disc formats: the images ready to burn
    QLabel* Label5 = nullptr;
    QLineEdit* EdtOut = nullptr;
    QToolButton* SpeedButton3 = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    QLabel* LPicTime = nullptr;
    QLabel* LMusTime = nullptr;
    QCheckBox* CboxTB = nullptr;
    QGroupBox* GroupBox3 = nullptr;
    QCheckBox* CboxMH = nullptr;
    QCheckBox* CboxMotion = nullptr; // "让图片动起来": the automatic motion for the run
    QRadioButton* RbtnYS = nullptr;
    QPushButton* Button1 = nullptr;
    QRadioButton* RbtnTP = nullptr;
    QListWidget* Clb1 = nullptr;
    QGroupBox* GroupBox2 = nullptr;
    QWidget* PnlBack = nullptr;
    PictureView* Image1 = nullptr;
    StretchView* ImgMpg = nullptr;
    QGroupBox* GroupBox4 = nullptr;
    QLabel* Lguage = nullptr;
    QLabel* LOverTine = nullptr;
    QPushButton* SbtnMake = nullptr;
    QPushButton* SbtnStop = nullptr;
};

} // namespace vistello::app
