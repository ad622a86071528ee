#include "app/main_window/main_window_form.h"

#include "app/application/vistello_application.h"
#include "app/widgets/eliding_label.h"
#include "app/widgets/zel_mp3_play.h"
#include "app/widgets/zel_scroll_text.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QStackedWidget>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

namespace vistello::app {

namespace {

constexpr QSize kPictureBox(173, 138);

template <class Widget> Widget* named(Widget* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

template <class Label = QLabel> Label* titlePanel(const char* name, const QString& caption) {
    auto* panel = named(new Label(caption), name);
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Raised);
    panel->setFixedHeight(24);
    panel->setAlignment(Qt::AlignCenter);
    return panel;
}

QToolButton* speedButton(const char* name, const QString& caption) {
    auto* button = named(new QToolButton, name);
    button->setText(caption);
    button->setAutoRaise(true);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    return button;
}

QPushButton* pushButton(const char* name, const QString& caption) {
    auto* button = named(new QPushButton(caption), name);
    button->setFixedHeight(26);
    return button;
}

// The flat arrows of the preview's title line.
QToolButton* arrowButton(const char* name, const QString& glyph, const QString& hint) {
    auto* button = named(new QToolButton, name);
    button->setText(glyph);
    button->setToolTip(hint);
    button->setAutoRaise(true);
    button->setFixedSize(25, 18);
    button->setCursor(Qt::PointingHandCursor);
    button->setEnabled(false);
    return button;
}

// The player's glyph buttons.
QToolButton* glyphButton(const char* name, const QString& glyph) {
    auto* button = named(new QToolButton, name);
    button->setText(glyph);
    button->setAutoRaise(true);
    button->setFixedSize(18, 18);
    button->setEnabled(false);
    return button;
}

// The player page: Image3 with the spectrum over it, then the track bar and the three buttons.
QWidget* buildPlayerPage(PlayerControls& controls) {
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
    controls.ZelMp3Play1 = new TZelMp3Play(Image3);
    controls.ZelMp3Play1->setObjectName(QStringLiteral("ZelMp3Play1"));
    controls.ZelMp3Play1->setGeometry(0, 0, 177, 121);
    controls.ZelMp3Play1->setBackColor(0x000000);
    controls.ZelMp3Play1->setPen(0x00FF00);
    controls.ZelMp3Play1->setPeak(0x00FFFF);
    controls.ZelMp3Play1->setLineWidth(6);
    controls.ZelMp3Play1->setLineFallOff(8);
    layout->addWidget(Image3);

    auto* row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    controls.bsSkinTrackBar1 = new QSlider(Qt::Horizontal);
    controls.bsSkinTrackBar1->setObjectName(QStringLiteral("bsSkinTrackBar1"));
    controls.bsSkinTrackBar1->setFixedSize(119, 19);
    controls.bsSkinTrackBar1->setRange(0, 100);
    controls.bsSkinTrackBar1->setFocusPolicy(Qt::NoFocus);
    controls.bsSkinTrackBar1->setPageStep(0); // a click on the groove does not jump
    controls.bsSkinTrackBar1->setEnabled(false);
    row->addWidget(controls.bsSkinTrackBar1);
    row->addStretch(1);
    controls.SbtPlay = glyphButton("SbtPlay", QStringLiteral("▶"));
    controls.SbtPause = glyphButton("SbtPause", QStringLiteral("❚❚"));
    controls.SbtStop = glyphButton("SbtStop", QStringLiteral("■"));
    row->addWidget(controls.SbtPlay);
    row->addWidget(controls.SbtPause);
    row->addWidget(controls.SbtStop);
    layout->addLayout(row);
    return page;
}

// The preview panel: the title line over NotebookLook (the picture page, then the player page).
QWidget* buildPreviewPanel(PreviewControls& controls, PlayerControls& player) {
    auto* panel = new QWidget;
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto* title = new QHBoxLayout;
    title->setSpacing(0);
    controls.BtnPP = arrowButton("BtnPP", QStringLiteral("◀"), QStringLiteral("浏览上幅图片"));
    controls.BtnNP = arrowButton("BtnNP", QStringLiteral("▶"), QStringLiteral("浏览下幅图片"));
    controls.PnlCurLook = new QLabel(QStringLiteral("图片预览[暂无]"));
    controls.PnlCurLook->setObjectName(QStringLiteral("PnlCurLook"));
    controls.PnlCurLook->setAlignment(Qt::AlignCenter);
    controls.PnlCurLook->setFixedHeight(22);
    title->addWidget(controls.BtnPP);
    title->addWidget(controls.PnlCurLook, 1);
    title->addWidget(controls.BtnNP);
    layout->addLayout(title);

    controls.NotebookLook = new QStackedWidget;
    controls.NotebookLook->setObjectName(QStringLiteral("NotebookLook"));
    controls.NotebookLook->setFixedSize(kPictureBox);
    controls.Image1 = new QWidget;
    controls.Image1->setObjectName(QStringLiteral("Image1"));
    controls.Image1->setFixedSize(kPictureBox);
    controls.Image1->setAttribute(Qt::WA_StyledBackground);
    controls.Image1->setStyleSheet(QStringLiteral("#Image1 { background: #1e2a3a; }"));
    controls.ImgPicShow = new QLabel(controls.Image1);
    controls.ImgPicShow->setObjectName(QStringLiteral("ImgPicShow"));
    controls.ImgPicShow->setScaledContents(true);
    controls.ImgPicShow->hide();
    controls.NotebookLook->addWidget(controls.Image1);
    controls.NotebookLook->addWidget(buildPlayerPage(player));
    layout->addWidget(controls.NotebookLook, 0, Qt::AlignHCenter);
    return panel;
}

QWidget* buildRightColumn(MainWindowForm& form) {
    auto* PnlLeft = named(new QWidget, "PnlLeft");
    PnlLeft->setFixedWidth(189);
    auto* column = new QVBoxLayout(PnlLeft);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(2);

    form.albums.PnlAllAblumTile = titlePanel("PnlAllAblumTile", QStringLiteral("现有相册列表[暂无]"));
    column->addWidget(form.albums.PnlAllAblumTile);

    form.albums.LvwA = named(new QTableView, "LvwA");
    form.albums.LvwA->setFixedHeight(150);
    column->addWidget(form.albums.LvwA);

    auto* albumButtons = new QHBoxLayout;
    form.albums.SbtNewAblm = speedButton("SbtNewAblm", QStringLiteral("新建相册"));
    form.albums.SbtDelA = speedButton("SbtDelA", QStringLiteral("删除相册"));
    albumButtons->addWidget(form.albums.SbtNewAblm);
    albumButtons->addWidget(form.albums.SbtDelA);
    column->addLayout(albumButtons);

    column->addWidget(buildPreviewPanel(form.preview, form.player));
    column->addStretch(1);

    form.BtnBeginMake = pushButton("BtnBeginMake", QStringLiteral("生成制作"));
    form.BtnBeginMake->setFixedHeight(32);
    column->addWidget(form.BtnBeginMake);
    return PnlLeft;
}

QWidget* buildMainArea(MainWindowForm& form) {
    auto* area = new QWidget;
    auto* layout = new QVBoxLayout(area);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);

    // A long album name is elided here, never widening the window.
    form.PnlCurAblmTile = titlePanel<ElidingLabel>(
        "PnlCurAblmTile", QStringLiteral("编辑相册《×××××××××××××××××××××××××》中的图片与音乐"));
    form.PnlCurAblmTile->setFont(interfaceFont(14));
    QFont bold = form.PnlCurAblmTile->font();
    bold.setBold(true);
    form.PnlCurAblmTile->setFont(bold);
    form.PnlCurAblmTile->setFixedHeight(28);
    layout->addWidget(form.PnlCurAblmTile);

    auto* header = new QHBoxLayout;
    header->setSpacing(2);
    form.lists.SbtEditpic = speedButton("SbtEditpic", QStringLiteral("编辑图片信息"));
    form.lists.SbtEditMusic = speedButton("SbtEditMusic", QStringLiteral("编辑音乐信息"));
    for (QToolButton* tab : {form.lists.SbtEditpic, form.lists.SbtEditMusic}) {
        tab->setCheckable(true);
        tab->setAutoExclusive(true);
        header->addWidget(tab);
    }
    form.lists.SbtEditpic->setChecked(true);
    form.lists.PnlListTile =
        named(new QLabel(QStringLiteral("当前相册全部图片列表 [暂无图片]")), "PnlListTile");
    form.lists.PnlListTile->setAlignment(Qt::AlignCenter);
    header->addWidget(form.lists.PnlListTile, 1);
    form.lists.BtnUP = speedButton("BtnUP", QStringLiteral("▲"));
    form.lists.BtnUP->setToolTip(QStringLiteral("当前项向前移动"));
    form.lists.BtnDP = speedButton("BtnDP", QStringLiteral("▼"));
    form.lists.BtnDP->setToolTip(QStringLiteral("当前项向后移动"));
    form.lists.BtnUP->setEnabled(false);
    form.lists.BtnDP->setEnabled(false);
    header->addWidget(form.lists.BtnUP);
    header->addWidget(form.lists.BtnDP);
    layout->addLayout(header);

    form.lists.NotebookList = named(new QStackedWidget, "NotebookList");
    form.lists.LvwP = named(new QTableView, "LvwP");
    form.lists.LvwM = named(new QTableView, "LvwM");
    form.lists.LvwP->setEnabled(false);
    form.lists.LvwM->setEnabled(false);
    form.lists.NotebookList->addWidget(form.lists.LvwP);
    form.lists.NotebookList->addWidget(form.lists.LvwM);
    layout->addWidget(form.lists.NotebookList, 1);

    auto* buttons = new QHBoxLayout;
    form.lists.BtnDelAP = pushButton("BtnDelAP", QStringLiteral("删除全部图片"));
    form.lists.BtnDelOP = pushButton("BtnDelOP", QStringLiteral("删除当前图片"));
    form.lists.BtnEditP = pushButton("BtnEditP", QStringLiteral("编辑图片信息"));
    form.lists.BtnAddP = pushButton("BtnAddP", QStringLiteral("继续加入图片"));
    for (QPushButton* b : {form.lists.BtnDelAP, form.lists.BtnDelOP, form.lists.BtnEditP}) {
        b->setEnabled(false);
        buttons->addWidget(b);
    }
    buttons->addStretch(1);
    buttons->addWidget(form.lists.BtnAddP);
    layout->addLayout(buttons);
    return area;
}

QWidget* buildBottomBar(MainWindowForm& form) {
    auto* bar = new QWidget;
    bar->setFixedHeight(22);
    auto* layout = new QHBoxLayout(bar);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    form.PnlHelp = titlePanel("PnlHelp", QStringLiteral("帮助"));
    form.PnlHelp->setFixedSize(60, 22);
    form.PnlHelp->setCursor(Qt::PointingHandCursor);
    layout->addWidget(form.PnlHelp);
    auto* ticker = named(new TZelScrollText, "CST1");
    ticker->setColor(Qt::black);
    ticker->setTransparent(true);
    ticker->setFontColor(Qt::black);
    ticker->setFont(interfaceFont());
    ticker->setZelScrollText(QStringLiteral("欢迎使用电子相册视频制作：建立相册，加入图片与音乐，为每幅图片选"
                                            "好题目、停留时间和过渡效果，即可生成 VCD、SVCD 或 DVD 视频。"));
    form.CST1 = ticker;
    layout->addWidget(ticker, 1);
    return bar;
}

} // namespace

MainWindowForm buildMainWindowForm(QWidget* window) {
    MainWindowForm form;
    auto* PnlMian = named(new QWidget(window), "PnlMian");
    auto* outer = new QVBoxLayout(window);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(PnlMian);

    auto* columns = new QHBoxLayout;
    columns->setContentsMargins(0, 0, 0, 0);
    columns->setSpacing(2);
    columns->addWidget(buildMainArea(form), 1);
    columns->addWidget(buildRightColumn(form));

    auto* whole = new QVBoxLayout(PnlMian);
    whole->setContentsMargins(2, 2, 2, 2);
    whole->setSpacing(2);
    whole->addLayout(columns, 1);
    whole->addWidget(buildBottomBar(form));
    return form;
}

} // namespace vistello::app
