// The picture editor's transition preview: the previous picture (or black) stands for a
// moment, then the chosen effect draws steps 4, 8, ..., 96 every 50 ms and the preview ends
// on the picture itself.

#include "app/picture_editor/picture_editor.h"

#include "app/widgets/picture_fitting.h"
#include "app/widgets/picture_view.h"
#include "effects/engine/catalogue.h"
#include "media/bitmap_bridge.h"

#include <QListWidget>
#include <QPushButton>
#include <QTimer>

namespace vistello::app {

namespace {
constexpr int kStepPercent = 4;
}

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
        // A stop request: the running timer ends the preview at its next tick.
        previewProgress_ = 100;
        setPreviewTag(0);
        BtnLookXG->setText(QStringLiteral("效果预览"));
        if (pauseTimer_->isActive())
            finishPreview();
        return;
    }
    if (!canEdit(store_))
        return;
    setPreviewTag(1);
    BtnLookXG->setText(QStringLiteral("停止预览"));

    PreviewNew = media::bitmapFromImage(ImgShow->picture());
    const int index = store_.PicIndex;
    if (store_.PicCount() > 1 && index != 0) {
        LoadPictureFitted(pictureFile(index - 1), *ImgShow, messages_);
        PreviewDest = media::bitmapFromImage(ImgShow->picture());
    } else {
        PreviewDest = media::bitmapFromImage(Img1->picture());
        ImgShow->setPicture(Img1->picture());
    }
    ImgShow->repaint();

    // The start picture stands for the pause; the window keeps painting meanwhile.
    if (previewPause_.count() > 0)
        pauseTimer_->start(previewPause_);
    else
        startPreviewSteps();
}

void TFrmEditP::startPreviewSteps() {
    previewEffect_ = LbXG->currentRow();
    if (effects::FindEffect(previewEffect_) == nullptr) {
        // 0, or a stored number outside the catalogue: a random choice for this preview.
        if (random_ == &clockRandom_)
            clockRandom_.reseedFromClock();
        previewEffect_ = effects::RandomEffectNumber(*random_);
    }
    previewProgress_ = 0;
    PreviewRect = {0, 0, ImgShow->width(), ImgShow->height()};
    Timer1->start();
}

void TFrmEditP::Timer1Timer() {
    const effects::TEffect* effect = effects::FindEffect(previewEffect_);
    const bool ready = effect != nullptr && !PreviewNew.isEmpty() &&
                       PreviewNew.width() == PreviewDest.width() &&
                       PreviewNew.height() == PreviewDest.height() && PreviewRect == PreviewNew.bounds();
    if (!ready) {
        // Closed, or nothing to draw with: the preview is over.
        Timer1->stop();
        return;
    }
    previewProgress_ += kStepPercent;
    if (previewProgress_ < 100) {
        effect->Proc(PreviewDest, PreviewNew, PreviewRect, effects::kDefaultGrain, previewProgress_,
                     *random_);
        ImgShow->setPicture(media::imageFromBitmap(PreviewDest));
        return;
    }
    finishPreview();
}

void TFrmEditP::finishPreview() {
    Timer1->stop();
    pauseTimer_->stop();
    if (!PreviewNew.isEmpty())
        ImgShow->setPicture(media::imageFromBitmap(PreviewNew));
    setPreviewTag(0);
    BtnLookXG->setText(QStringLiteral("效果预览"));
}

} // namespace vistello::app
