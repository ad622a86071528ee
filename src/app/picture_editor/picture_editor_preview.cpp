// The picture editor's preview, as the dialog drives it: the previous picture (or black) stands
// for a moment, then the chosen effect draws steps 4, 8, ..., 96 every 50 ms, a picture with a
// motion moves for its display time, and the preview ends on the picture itself. The frames
// come from the PicturePreviewModel; the dialog runs its two timers and shows what it draws.

#include "app/picture_editor/picture_editor.h"

#include "app/widgets/picture_fitting.h"
#include "app/widgets/picture_view.h"
#include "effects/engine/catalogue.h"
#include "media/bitmap_bridge.h"

#include <QListWidget>
#include <QPushButton>
#include <QTimer>

namespace vistello::app {

int TFrmEditP::previewTag() const {
    return BtnLookXG->property("tag").toInt();
}

void TFrmEditP::setPreviewTag(int tag) {
    BtnLookXG->setProperty("tag", tag);
}

void TFrmEditP::LbXGClick() {
    // Long names that do not fit the list are readable in its tooltip.
    if (const QListWidgetItem* item = LbXG->currentItem())
        LbXG->setToolTip(item->text());
    UpdateSaveButton();
    BtnLookXGClick();
}

void TFrmEditP::BtnLookXGClick() {
    if (previewTag() == 1) {
        // A stop request: the running timer ends the preview at its next tick (at once during
        // the pause).
        setPreviewTag(0);
        BtnLookXG->setText(QStringLiteral("效果预览"));
        preview_.requestStop();
        if (!preview_.running())
            pauseTimer_->stop();
        return;
    }
    if (!canEdit(store_))
        return;
    setPreviewTag(1);
    BtnLookXG->setText(QStringLiteral("停止预览"));

    // The picture as the editor shows it (the box may still hold a frame of a preview whose
    // stop was asked for), and the motion's plan.
    effects::Bitmap picture = media::bitmapFromImage(fitIntoBlackBox(picture_, ImgShow->size()));
    std::optional<PicturePreviewModel::Motion> motion = previewMotion();
    effects::Bitmap from;
    const int index = store_.PicIndex;
    if (store_.PicCount() > 1 && index != 0) {
        LoadPictureFitted(pictureFile(index - 1), *ImgShow, messages_);
        from = media::bitmapFromImage(ImgShow->picture());
    } else {
        from = media::bitmapFromImage(Img1->picture());
    }
    preview_.begin(std::move(from), std::move(picture), std::move(motion));
    ImgShow->repaint();

    // The start picture stands for the pause; the window keeps painting meanwhile.
    if (previewPause_.count() > 0)
        pauseTimer_->start(previewPause_);
    else
        startPreviewSteps();
}

void TFrmEditP::startPreviewSteps() {
    int effect = LbXG->currentRow();
    if (effects::FindEffect(effect) == nullptr) {
        // 0, or a stored number outside the catalogue: a random choice for this preview.
        if (random_ == &clockRandom_)
            clockRandom_.reseedFromClock();
        effect = effects::RandomEffectNumber(*random_);
    }
    preview_.startSteps(effect);
}

void TFrmEditP::Timer1Timer() {
    if (!preview_.running()) {
        // Closed, or over: a tick already queued draws nothing.
        Timer1->stop();
        return;
    }
    preview_.tick(*random_);
}

void TFrmEditP::finishPreview() {
    pauseTimer_->stop();
    preview_.finish();
    setPreviewTag(0);
    BtnLookXG->setText(QStringLiteral("效果预览"));
}

void TFrmEditP::previewPhaseChanged(PicturePreviewModel::Phase phase) {
    const bool ticking =
        phase == PicturePreviewModel::Phase::Transition || phase == PicturePreviewModel::Phase::Motion;
    if (ticking && !Timer1->isActive())
        Timer1->start();
    else if (!ticking)
        Timer1->stop();
    if (phase == PicturePreviewModel::Phase::Idle) {
        setPreviewTag(0);
        BtnLookXG->setText(QStringLiteral("效果预览"));
    }
    // The rectangles stand over the picture only while it shows still.
    showMotionControls();
}

} // namespace vistello::app
