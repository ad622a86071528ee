#include "app/picture_editor/picture_editor.h"

#include "app/application/guarded.h"
#include "app/application/vistello_application.h"
#include "app/widgets/picture_fitting.h"
#include "app/widgets/picture_view.h"
#include "effects/effect_names.h"
#include "media/bitmap_bridge.h"
#include "store/gbk_text.h"

#include <QApplication>
#include <QEvent>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTimer>
#include <QToolButton>

namespace vistello::app {

namespace {

constexpr int kTitleBytes = 36;
constexpr QSize kPreviewSize(185, 153);

template <class Widget> Widget* named(Widget* widget, const char* name, QWidget* parent, QRect geometry) {
    widget->setObjectName(QString::fromLatin1(name));
    widget->setParent(parent);
    widget->setGeometry(geometry);
    return widget;
}

QLabel* label(const QString& caption, const char* name, QWidget* parent, QPoint at) {
    return named(new QLabel(caption), name, parent, QRect(at, QSize(70, 20)));
}

// Accepts a title while its GBK form fits the record's field; counts bytes, not characters.
class GbkByteLimit final : public QValidator {
  public:
    GbkByteLimit(int maxBytes, QObject* parent) : QValidator(parent), maxBytes_(maxBytes) {}
    State validate(QString& input, int&) const override {
        return store::utf8ToGbk(input.toStdString()).size() <= static_cast<std::size_t>(maxBytes_)
                   ? Acceptable
                   : Invalid;
    }

  private:
    int maxBytes_;
};

} // namespace

TFrmEditP::TFrmEditP(store::AlbumStore& store, UserDialogs& dialogs, QWidget* parent)
    : QDialog(parent), store_(store), dialogs_(dialogs), messages_(dialogs, this) {
    setObjectName(QStringLiteral("FrmEditP"));
    setWindowTitle(QStringLiteral("图片编辑"));
    setFont(interfaceFont(12));
    setFixedSize(462, 319);
    buildLayout();
    connectHandlers();
    FormCreate();
}

TFrmEditP::~TFrmEditP() {
    preview_.OnPhaseChanged = nullptr;
    preview_.OnFrame = nullptr;
    FormClose();
}

bool TFrmEditP::canEdit(const store::AlbumStore& store) {
    return store.PicIndex >= 0 && store.PicIndex < store.PicCount();
}

void TFrmEditP::buildLayout() {
    GroupBox3 = named(new QGroupBox(QStringLiteral("图片信息编辑：")), "GroupBox3", this, {8, 6, 238, 268});
    label(QStringLiteral("图片题目："), "Label1", GroupBox3, {12, 24});
    EdtTM = named(new QLineEdit, "EdtTM", GroupBox3, {80, 23, 146, 21});
    EdtTM->setValidator(new GbkByteLimit(kTitleBytes, EdtTM));

    label(QStringLiteral("停留时间："), "Label3", GroupBox3, {12, 53});
    EdtSJ = named(new QLineEdit(QStringLiteral("3")), "EdtSJ", GroupBox3, {80, 52, 70, 21});
    // Only digits, also when pasted through the context menu.
    EdtSJ->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), EdtSJ));
    EdtSJ->installEventFilter(this);
    // The "-" and "+" buttons sit inside the right end of the field; the text stops before them.
    Btn_X = named(new QToolButton, "Btn_X", EdtSJ, {70 - 35, 2, 16, 17});
    Btn_X->setText(QStringLiteral("-"));
    BtnM = named(new QToolButton, "BtnM", EdtSJ, {70 - 18, 2, 16, 17});
    BtnM->setText(QStringLiteral("+"));
    for (QToolButton* b : {Btn_X, BtnM}) {
        b->setFocusPolicy(Qt::NoFocus);
        b->setCursor(Qt::ArrowCursor);
    }
    EdtSJ->setTextMargins(0, 0, 36, 0);

    BtnToAll = named(new QPushButton(QStringLiteral("到全部")), "BtnToAll", GroupBox3, {158, 51, 68, 23});
    BtnToAll->setToolTip(QStringLiteral("将当前时间应用到本相册的所有图片"));
    BtnToAll->setAutoDefault(false);

    label(QStringLiteral("变幻效果："), "Label2", GroupBox3, {12, 80});
    // The list leaves a row below it for the motion's easing and frame shape.
    LbXG = named(new QListWidget, "LbXG", GroupBox3, {12, 100, 214, 130});
    for (int n = 0; n <= effects::kEffectCount; ++n)
        LbXG->addItem(QString::fromStdString(effects::EffectListText(n)));

    GroupBox1 = named(new QGroupBox(QStringLiteral("效果预览：")), "GroupBox1", this, {254, 6, 200, 182});
    PnlXG = named(new QWidget, "PnlXG", GroupBox1, QRect(QPoint(7, 22), kPreviewSize));
    PnlXG->setAutoFillBackground(true);
    QPalette silver = PnlXG->palette();
    silver.setColor(QPalette::Window, QColor(0xC0, 0xC0, 0xC0));
    PnlXG->setPalette(silver);
    // Img1 fills the panel with the black start picture; ImgShow lies on top of it.
    Img1 = named(new PictureView, "Img1", PnlXG, QRect(QPoint(0, 0), kPreviewSize));
    QImage black(kPreviewSize, QImage::Format_BGR888);
    black.fill(Qt::black);
    Img1->setPicture(black);
    ImgShow = named(new PictureView, "ImgShow", PnlXG, QRect(QPoint(0, 0), kPreviewSize));
    buildMotionControls();

    GroupBox2 = named(new QGroupBox(QStringLiteral("查看控制：")), "GroupBox2", this, {254, 192, 200, 82});
    SbtnPP = named(new QToolButton, "SbtnPP", GroupBox2, {10, 20, 88, 24});
    SbtnPP->setText(QStringLiteral("上一张"));
    SbtnNP = named(new QToolButton, "SbtnNP", GroupBox2, {102, 20, 88, 24});
    SbtnNP->setText(QStringLiteral("下一张"));
    BtnLookXG = named(new QPushButton(QStringLiteral("效果预览")), "BtnLookXG", GroupBox2, {10, 48, 180, 26});
    BtnLookXG->setAutoDefault(false);
    setPreviewTag(0);

    auto* bottom = named(new QFrame, "PnlBottom", this, {0, 279, 462, 40});
    bottom->setFrameShape(QFrame::Panel);
    bottom->setFrameShadow(QFrame::Raised);
    BtnHelp = named(new QPushButton(QStringLiteral("帮助")), "BtnHelp", bottom, {8, 8, 75, 25});
    BtnSave = named(new QPushButton(QStringLiteral("保存")), "BtnSave", bottom, {290, 8, 75, 25});
    BtnExit = named(new QPushButton(QStringLiteral("返回")), "BtnExit", bottom, {378, 8, 75, 25});
    for (QPushButton* b : {BtnHelp, BtnSave, BtnExit})
        b->setAutoDefault(false);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(50);
    pauseTimer_ = new QTimer(this);
    pauseTimer_->setSingleShot(true);
}

void TFrmEditP::connectHandlers() {
    // Each handler is guarded: an error it lets out is shown over the editor and ends it there.
    auto guard = [this](auto handler) { return guardedSlot(this, dialogs_, this, handler); };
    connect(EdtTM, &QLineEdit::textChanged, this, guard(&TFrmEditP::EdtTMChange));
    connect(EdtSJ, &QLineEdit::textChanged, this, guard(&TFrmEditP::EdtSJChange));
    connect(EdtSJ, &QLineEdit::editingFinished, this, guard(&TFrmEditP::EdtSJExit));
    connect(Btn_X, &QToolButton::clicked, this, guard(&TFrmEditP::Btn_XClick));
    connect(BtnM, &QToolButton::clicked, this, guard(&TFrmEditP::BtnMClick));
    connect(BtnToAll, &QPushButton::clicked, this, guard(&TFrmEditP::BtnToAllClick));
    // Every change of the chosen effect is one LbXGClick, as a click on it is: a change by the
    // keyboard (or from code) at once, one by the mouse (a press, or a drag across the items)
    // when the button is let go. A click on the chosen item runs it too, starting or stopping
    // its preview. The list's viewport reports the mouse to eventFilter.
    connect(LbXG, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row < 0)
            return;
        if (effectMouse_.held)
            effectMouse_.changedRow = true;
        else
            guarded(this, dialogs_, [this] { LbXGClick(); });
    });
    LbXG->viewport()->installEventFilter(this);
    connect(BtnLookXG, &QPushButton::clicked, this, guard(&TFrmEditP::BtnLookXGClick));
    connect(Timer1, &QTimer::timeout, this, guard(&TFrmEditP::Timer1Timer));
    connect(pauseTimer_, &QTimer::timeout, this, guard(&TFrmEditP::startPreviewSteps));
    preview_.OnFrame = [this] { ImgShow->setPicture(media::imageFromBitmap(preview_.frame())); };
    preview_.OnPhaseChanged = [this](PicturePreviewModel::Phase phase) { previewPhaseChanged(phase); };
    connect(SbtnPP, &QToolButton::clicked, this, guard(&TFrmEditP::SbtnPPClick));
    connect(SbtnNP, &QToolButton::clicked, this, guard(&TFrmEditP::SbtnNPClick));
    connect(BtnHelp, &QPushButton::clicked, this, guard(&TFrmEditP::BtnHelpClick));
    connect(BtnSave, &QPushButton::clicked, this, guard(&TFrmEditP::BtnSaveClick));
    connect(BtnExit, &QPushButton::clicked, this, guard(&TFrmEditP::BtnExitClick));
}

void TFrmEditP::FormCreate() {
    preview_.reset();
    if (!canEdit(store_)) {
        // Nothing to edit: the dialog shows black and offers only its way out.
        for (QWidget* w : std::initializer_list<QWidget*>{GroupBox3, GroupBox2, BtnSave, BtnHelp})
            w->setEnabled(false);
        ImgShow->setPicture(Img1->picture());
        showMotionControls();
        return;
    }
    SbtnPP->setEnabled(store_.PicIndex != 0);
    SbtnNP->setEnabled(store_.PicIndex != store_.PicCount() - 1);
    BtnSave->setEnabled(false);
    ShowPicInfo();
}

void TFrmEditP::done(int result) {
    FormClose();
    QDialog::done(result);
}

void TFrmEditP::FormClose() {
    // The timers stop first, so no tick can reach the released bitmaps.
    Timer1->stop();
    pauseTimer_->stop();
    preview_.reset();
    setPreviewTag(0);
    BtnLookXG->setText(QStringLiteral("效果预览"));
}

void TFrmEditP::BtnExitClick() {
    close();
}

bool TFrmEditP::eventFilter(QObject* watched, QEvent* event) {
    if (watched == EdtSJ && event->type() == QEvent::KeyPress) {
        bool passOn = true;
        guarded(this, dialogs_, [&] { passOn = EdtSJKeyPress(*static_cast<QKeyEvent*>(event)); });
        return !passOn;
    }
    if (LbXG && watched == LbXG->viewport())
        guarded(this, dialogs_, [&] { followEffectMouse(*event); });
    return QDialog::eventFilter(watched, event);
}

void TFrmEditP::followEffectMouse(const QEvent& event) {
    // Seen before the list handles the event, so a row change during a press knows the
    // button is down.
    const auto type = event.type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick &&
        type != QEvent::MouseButtonRelease)
        return;
    const auto& mouse = static_cast<const QMouseEvent&>(event);
    if (mouse.button() != Qt::LeftButton)
        return;
    const int row = LbXG->indexAt(mouse.position().toPoint()).row();
    if (type != QEvent::MouseButtonRelease) {
        effectMouse_ = {true, false, row};
        return;
    }
    const bool changed = effectMouse_.changedRow;
    const bool clickedChosen = row >= 0 && row == effectMouse_.pressedRow && row == LbXG->currentRow();
    effectMouse_ = {};
    if (changed || clickedChosen)
        LbXGClick();
}

bool TFrmEditP::EdtSJKeyPress(const QKeyEvent& key) const {
    // Typed characters other than digits are discarded. Editing keys (Backspace, Delete, the
    // arrows) and shortcuts (Ctrl+A, the clipboard, undo) keep working; the validator keeps
    // pasted text to digits.
    const QString text = key.text();
    if (text.isEmpty() || key.modifiers().testFlag(Qt::ControlModifier))
        return true;
    return std::all_of(text.begin(), text.end(), [](QChar c) {
        return (c >= u'0' && c <= u'9') || c.category() == QChar::Other_Control;
    });
}

} // namespace vistello::app
