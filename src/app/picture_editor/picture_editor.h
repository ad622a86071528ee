#pragma once
// TFrmEditP: the picture editor. It edits the title, display time, transition and motion of the
// current picture of the open album, previews the transition from the previous picture (or
// black) into this one and then the picture's motion on a 50 ms timer, steps through the
// album's pictures, applies the time to every picture and saves into the picture list and the
// album's motion file. The preview's frames come from a PicturePreviewModel; the dialog runs its
// timers and shows them. The store and the dialog interface are
// passed in and outlive the dialog; the main window follows the dialog's changes through the
// two signals. The dialog needs a current picture (canEdit); without one it opens inert.

#include "app/application/dialog_message_sink.h"
#include "app/application/user_dialogs.h"
#include "app/picture_editor/preview_model.h"
#include "effects/engine/random_source.h"
#include "effects/raster/bitmap.h"
#include "store/album_store.h"
#include "store/picture_motion.h"

#include <QDialog>
#include <chrono>
#include <memory>
#include <optional>

class QComboBox;
class QGroupBox;
class QEvent;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTimer;
class QToolButton;

namespace vistello::app {

class MotionRectOverlay;
class PictureView;

class TFrmEditP final : public QDialog {
    Q_OBJECT
  public:
    TFrmEditP(store::AlbumStore& store, UserDialogs& dialogs, QWidget* parent = nullptr);
    ~TFrmEditP() override;

    // The longest display time the field takes, in seconds.
    static constexpr int kMaxStayTimeSeconds = 3600;

    // True when the store's current picture exists, so the dialog has something to edit.
    static bool canEdit(const store::AlbumStore& store);

    // How long the previous picture stands before the steps start (1000 ms). Tests pass 0,
    // which starts the steps at once.
    void setPreviewPause(std::chrono::milliseconds pause) { previewPause_ = pause; }
    // The generator of the random choice and of the random effects; not owned. By default the
    // dialog's own generator, re-seeded from the clock for every random choice.
    void setRandomSource(effects::RandomSource& random) { random_ = &random; }

    int PreviewProgress() const { return preview_.progress(); }
    int PreviewEffect() const { return preview_.effect(); }
    // The preview's frames and steps.
    const PicturePreviewModel& previewModel() const { return preview_; }
    // The motion as the controls hold it now (saved by BtnSaveClick).
    const store::PictureMotion& editedMotion() const { return motion_; }
    // The frame's display aspect the motion is shown in (width / height), from CbAspect.
    double frameAspect() const;
    // The tag of BtnLookXG: 1 while a preview runs (its pause included), else 0.
    int previewTag() const;

    // Handlers, public so that tests drive them as the controls do.
    void EdtTMChange();
    void EdtSJChange();
    // The time field is left (or Return pressed in it): its text is checked and made a time.
    void EdtSJExit();
    void Btn_XClick();
    void BtnMClick();
    void BtnToAllClick();
    void LbXGClick();
    void BtnLookXGClick();
    void Timer1Timer();
    void SbtnPPClick();
    void SbtnNPClick();
    void BtnSaveClick();
    void BtnExitClick();
    void BtnHelpClick() {}
    // The motion's controls: its kind, its easing, the frame's aspect, and the rectangles
    // dragged on the picture.
    void CbMotionChange();
    void CbEasingChange();
    void CbAspectChange();
    void ImgMotionChange();
    // Every way of closing ends here: the preview stops before its bitmaps go.
    void done(int result) override;

  signals:
    // Row `row` of the picture list holds a rewritten record (saved or given the common time).
    void pictureRowChanged(int row);
    // "到全部" gave every picture the time typed as `text`; the list shows it as typed.
    void timeTextAppliedToAll(const QString& text);
    // Browsing made `row` the current picture: select it in the list and scroll to it.
    void currentPictureChanged(int row);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildLayout();
    void connectHandlers();
    void FormCreate();
    void FormClose();
    void ShowPicInfo();
    void UpdateSaveButton();
    bool EdtSJKeyPress(const QKeyEvent& key) const;
    // Follows the left button over the effect list, to run LbXGClick when it is let go.
    void followEffectMouse(const QEvent& event);
    // The time text as a time: empty gives the stored time back, 0 gives 3, and a time over
    // the bound is reported and set to the bound (nullopt: the caller stops).
    std::optional<int> convertedTime();
    void browseTo(int index);
    void startPreviewSteps();
    void finishPreview();
    void previewPhaseChanged(PicturePreviewModel::Phase phase);
    // Motion (picture_editor_motion.cpp): the controls, showing the stored motion, the preview's
    // plan and saving.
    void buildMotionControls();
    void showMotion();
    void showMotionControls();
    std::optional<PicturePreviewModel::Motion> previewMotion();
    int previewSeconds() const;
    void setPreviewTag(int tag);
    QString pictureFile(int index) const;

    store::AlbumStore& store_;
    UserDialogs& dialogs_;
    DialogMessageSink messages_;
    effects::ClockRandom clockRandom_;
    effects::RandomSource* random_ = &clockRandom_;
    std::chrono::milliseconds previewPause_{1000};
    // The left button over the effect list: held since a press on `pressedRow` (-1: no item),
    // and whether the chosen effect changed meanwhile.
    struct EffectMouse {
        bool held = false;
        bool changedRow = false;
        int pressedRow = -1;
    } effectMouse_;

    // Preview state: the model's bitmaps live from the preview's start until the dialog closes.
    PicturePreviewModel preview_;

    // The shown picture as decoded (null when unreadable), its motion as stored and as edited,
    // the last custom rectangles of this picture (kept while another kind is chosen), and its
    // automatic motion, chosen once per picture, aspect and time.
    QImage picture_;
    store::PictureMotion storedMotion_;
    store::PictureMotion motion_;
    std::optional<store::PictureMotion> customDraft_;
    struct AutomaticChoice {
        double aspect = 0;
        int seconds = 0;
        motion::MotionPath path;
    };
    std::optional<AutomaticChoice> automatic_;
    std::unique_ptr<motion::FaceFinder> faces_; // made at the first automatic choice

    // Controls, named as their objectNames.
    QGroupBox* GroupBox3 = nullptr;
    QLineEdit* EdtTM = nullptr;
    QLineEdit* EdtSJ = nullptr;
    QToolButton* Btn_X = nullptr;
    QToolButton* BtnM = nullptr;
    QPushButton* BtnToAll = nullptr;
    QListWidget* LbXG = nullptr;
    QLabel* LMotion = nullptr;
    QComboBox* CbMotion = nullptr;
    QLabel* LEasing = nullptr;
    QComboBox* CbEasing = nullptr;
    QLabel* LAspect = nullptr;
    QComboBox* CbAspect = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    QWidget* PnlXG = nullptr;
    PictureView* Img1 = nullptr;
    PictureView* ImgShow = nullptr;
    MotionRectOverlay* ImgMotion = nullptr; // the custom rectangles over ImgShow
    QGroupBox* GroupBox2 = nullptr;
    QToolButton* SbtnPP = nullptr;
    QToolButton* SbtnNP = nullptr;
    QPushButton* BtnLookXG = nullptr;
    QPushButton* BtnHelp = nullptr;
    QPushButton* BtnSave = nullptr;
    QPushButton* BtnExit = nullptr;
    QTimer* Timer1 = nullptr;
    QTimer* pauseTimer_ = nullptr; // the pause on the previous picture
};

} // namespace vistello::app
