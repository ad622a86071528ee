// The picture editor's motion: the choice of none, automatic or custom beside the effect, the
// easing and the frame's shape below the effect list, the custom rectangles over the picture,
// the motion's plan for the preview, and saving the motion into the album's motion file.

#include "app/application/guarded.h"
#include "app/picture_editor/motion_rect_overlay.h"
#include "app/picture_editor/picture_editor.h"
#include "app/widgets/picture_fitting.h"
#include "app/widgets/picture_view.h"
#include "motion/face_finder.h"
#include "motion/motion_path.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

#include <algorithm>
#include <array>
#include <cmath>
#include <stdexcept>

namespace vistello::app {

namespace {

struct AspectChoice {
    const char* caption;
    double aspect; // display width / height
};
// 4:3 first: the editor does not know the video's format, and the disc formats are 4:3.
constexpr std::array<AspectChoice, 4> kAspects{
    {{"4:3", 4.0 / 3}, {"16:9", 16.0 / 9}, {"9:16", 9.0 / 16}, {"1:1", 1.0}}};

// Captions in the order of store::MotionKind and store::Easing.
const QString kKindCaptions[] = {QStringLiteral("无"), QStringLiteral("自动"), QStringLiteral("自定义")};
const QString kEasingCaptions[] = {QStringLiteral("线性"), QStringLiteral("渐快"), QStringLiteral("渐慢"),
                                   QStringLiteral("渐快渐慢")};

// The part of the largest rectangle that a new custom motion zooms into.
constexpr double kDefaultZoom = 0.8;

QComboBox* comboBox(const char* name, QWidget* parent, QRect geometry) {
    auto* box = new QComboBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setGeometry(geometry);
    return box;
}

QLabel* smallLabel(const QString& caption, const char* name, QWidget* parent, QRect geometry) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(geometry);
    return label;
}

// A rectangle of `scale` times the largest one of `aspect`, centred.
store::MotionRect centredRect(QSize picture, double aspect, double scale) {
    const store::MotionRect largest = motion::largestRect(picture.width(), picture.height(), aspect);
    const double width = largest.width * scale, height = largest.height * scale;
    return {(1 - width) / 2, (1 - height) / 2, width, height};
}

} // namespace

void TFrmEditP::buildMotionControls() {
    // Beside the effect's label: the kind of motion.
    LMotion = smallLabel(QStringLiteral("动态："), "LMotion", GroupBox3, {118, 80, 38, 20});
    CbMotion = comboBox("CbMotion", GroupBox3, {156, 78, 70, 21});
    for (const QString& caption : kKindCaptions)
        CbMotion->addItem(caption);
    CbMotion->setToolTip(
        QStringLiteral("图片的移动和缩放：无、自动（按画面内容和人脸选取）或自定义起点和终点"));
    // Below the effect list: how the custom way is spread over the time, and the frame's shape.
    LEasing = smallLabel(QStringLiteral("缓动："), "LEasing", GroupBox3, {12, 238, 38, 20});
    CbEasing = comboBox("CbEasing", GroupBox3, {50, 236, 82, 21});
    for (const QString& caption : kEasingCaptions)
        CbEasing->addItem(caption);
    LAspect = smallLabel(QStringLiteral("画幅："), "LAspect", GroupBox3, {138, 238, 38, 20});
    CbAspect = comboBox("CbAspect", GroupBox3, {176, 236, 50, 21});
    for (const AspectChoice& choice : kAspects)
        CbAspect->addItem(QString::fromLatin1(choice.caption));
    CbAspect->setToolTip(QStringLiteral("视频画面的宽高比：自定义的方框保持这个比例"));

    ImgMotion = new MotionRectOverlay(PnlXG);
    ImgMotion->setObjectName(QStringLiteral("ImgMotion"));
    ImgMotion->setGeometry(ImgShow->geometry());
    ImgMotion->hide();

    auto guard = [this](auto handler) { return guardedSlot(this, dialogs_, this, handler); };
    connect(CbMotion, &QComboBox::activated, this, guard(&TFrmEditP::CbMotionChange));
    connect(CbEasing, &QComboBox::activated, this, guard(&TFrmEditP::CbEasingChange));
    connect(CbAspect, &QComboBox::activated, this, guard(&TFrmEditP::CbAspectChange));
    connect(ImgMotion, &MotionRectOverlay::rectsChanged, this, guard(&TFrmEditP::ImgMotionChange));
}

double TFrmEditP::frameAspect() const {
    const int index = std::clamp(CbAspect->currentIndex(), 0, static_cast<int>(kAspects.size()) - 1);
    return kAspects[static_cast<std::size_t>(index)].aspect;
}

void TFrmEditP::showMotion() {
    const store::TPicInfo& picture = store_.PicList[static_cast<std::size_t>(store_.PicIndex)];
    storedMotion_ = store::MotionTable::load(store_.AlbumPath()).get(picture.FileName.gbk());
    motion_ = storedMotion_;
    customDraft_.reset();
    automatic_.reset();
    if (motion_.kind == store::MotionKind::Custom && !picture_.isNull()) {
        // The offered shape nearest to the stored rectangle's; the rectangles stay as stored
        // until they are moved.
        const double stored = motion::aspectOn(motion_.start, picture_.width(), picture_.height());
        const auto nearest =
            std::min_element(kAspects.begin(), kAspects.end(), [&](const auto& a, const auto& b) {
                return std::abs(std::log(a.aspect / stored)) < std::abs(std::log(b.aspect / stored));
            });
        CbAspect->setCurrentIndex(static_cast<int>(nearest - kAspects.begin()));
    }
    showMotionControls();
}

void TFrmEditP::showMotionControls() {
    CbMotion->setCurrentIndex(static_cast<int>(motion_.kind));
    CbEasing->setCurrentIndex(static_cast<int>(motion_.easing));
    const bool custom = motion_.kind == store::MotionKind::Custom;
    for (QWidget* w : std::initializer_list<QWidget*>{LEasing, CbEasing})
        w->setEnabled(custom);
    const bool moving = motion_.kind != store::MotionKind::None;
    for (QWidget* w : std::initializer_list<QWidget*>{LAspect, CbAspect})
        w->setEnabled(moving);
    const bool still = !preview_.running() && canEdit(store_) && !picture_.isNull();
    if (custom && still) {
        ImgMotion->setGeometry(ImgShow->geometry());
        ImgMotion->setPicture(picture_.size(), roundedFitRect(picture_.size(), ImgShow->size()));
        ImgMotion->setAspect(frameAspect());
        ImgMotion->setRects(motion_.start, motion_.end);
        ImgMotion->show();
        ImgMotion->raise();
    } else {
        ImgMotion->hide();
    }
}

void TFrmEditP::CbMotionChange() {
    if (!canEdit(store_))
        return;
    const auto kind = static_cast<store::MotionKind>(std::clamp(CbMotion->currentIndex(), 0, 2));
    if (motion_.kind == store::MotionKind::Custom)
        customDraft_ = motion_;
    switch (kind) {
    case store::MotionKind::None:
        motion_ = {};
        break;
    case store::MotionKind::Automatic:
        motion_ = store::PictureMotion::automatic();
        break;
    case store::MotionKind::Custom:
        if (customDraft_) {
            motion_ = *customDraft_;
        } else {
            // A slow zoom into the middle, to be moved and resized.
            const double aspect = frameAspect();
            motion_ = store::PictureMotion::custom(centredRect(picture_.size(), aspect, 1),
                                                   centredRect(picture_.size(), aspect, kDefaultZoom),
                                                   store::Easing::Linear);
        }
        break;
    }
    showMotionControls();
    UpdateSaveButton();
}

void TFrmEditP::CbEasingChange() {
    if (!canEdit(store_) || motion_.kind != store::MotionKind::Custom)
        return;
    motion_.easing = static_cast<store::Easing>(std::clamp(CbEasing->currentIndex(), 0, 3));
    UpdateSaveButton();
}

void TFrmEditP::CbAspectChange() {
    if (!canEdit(store_))
        return;
    if (motion_.kind == store::MotionKind::Custom && !picture_.isNull()) {
        // Each rectangle takes the new shape around its centre, with its area kept.
        const double aspect = frameAspect();
        motion_.start = motion::withAspect(motion_.start, picture_.width(), picture_.height(), aspect);
        motion_.end = motion::withAspect(motion_.end, picture_.width(), picture_.height(), aspect);
    }
    showMotionControls();
    UpdateSaveButton();
}

void TFrmEditP::ImgMotionChange() {
    if (!canEdit(store_) || motion_.kind != store::MotionKind::Custom)
        return;
    motion_.start = ImgMotion->rect(MotionRectOverlay::Which::Start);
    motion_.end = ImgMotion->rect(MotionRectOverlay::Which::End);
    UpdateSaveButton();
}

int TFrmEditP::previewSeconds() const {
    // The time as typed when it is one, else the stored time; the preview asks nothing.
    bool ok = false;
    const int typed = EdtSJ->text().trimmed().toInt(&ok);
    if (ok && typed > 0 && typed <= kMaxStayTimeSeconds)
        return typed;
    return std::max(1, store_.PicList[static_cast<std::size_t>(store_.PicIndex)].StayTime);
}

std::optional<PicturePreviewModel::Motion> TFrmEditP::previewMotion() {
    if (motion_.kind == store::MotionKind::None || picture_.isNull())
        return std::nullopt;
    const double aspect = frameAspect();
    const int seconds = std::min(previewSeconds(), kMaxStayTimeSeconds);
    motion::MotionPath path;
    if (motion_.kind == store::MotionKind::Automatic) {
        // Chosen once for the picture (and kept while the shape and time stay), not per frame.
        if (!automatic_ || automatic_->aspect != aspect || automatic_->seconds != seconds) {
            if (!faces_)
                faces_ = std::make_unique<motion::CascadeFaceFinder>();
            automatic_ = AutomaticChoice{
                aspect, seconds, motion::chooseAutomaticMotion(picture_, aspect, seconds, faces_.get())};
        }
        path = automatic_->path;
    } else {
        // Rectangles drawn for another shape are shown in this one, as a render would.
        path = {motion::withAspect(motion_.start, picture_.width(), picture_.height(), aspect),
                motion::withAspect(motion_.end, picture_.width(), picture_.height(), aspect), motion_.easing};
    }
    PicturePreviewModel::Motion plan;
    const QRect frame =
        roundedFitRect(QSize(static_cast<int>(std::lround(aspect * 10000)), 10000), ImgShow->size());
    plan.frame = {frame.left(), frame.top(), frame.left() + frame.width(), frame.top() + frame.height()};
    const store::MotionRect& smaller = path.start.width < path.end.width ? path.start : path.end;
    plan.source = std::make_shared<const motion::MotionSource>(
        picture_, motion::suitedSourceSize(picture_.width(), picture_.height(), frame.width(), frame.height(),
                                           smaller));
    plan.path = path;
    plan.ticks = seconds * 1000 / PicturePreviewModel::kTickMs;
    return plan;
}

} // namespace vistello::app
