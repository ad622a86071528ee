#include "app/main_window/main_window.h"

#include "app/application/product_name.h"
#include "app/application/vistello_application.h"
#include "app/main_window/list_models.h"
#include "app/main_window/list_views.h"
#include "app/main_window/player_controller.h"
#include "app/main_window/preview_controller.h"
#include "app/main_window/undo_commands.h"
#include "app/widgets/eliding_label.h"
#include "app/widgets/zel_scroll_text.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStackedWidget>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

#include <exception>

namespace vistello::app {

namespace {

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

} // namespace

TFrmMain::TFrmMain(store::AlbumStore& store, UserDialogs& dialogs, QWidget* parent)
    : QWidget(parent), store_(store), dialogs_(dialogs) {
    setObjectName(QStringLiteral("FrmMain"));
    albumModel_ = new AlbumListModel(store_, this);
    pictureModel_ = new PictureListModel(store_, this);
    songModel_ = new SongListModel(store_, this);
    PreviewControls preview;
    PlayerControls player;
    buildLayout(preview, player);
    undo_ = std::make_unique<UndoCommands>(store_, this, QList<QWidget*>{LvwA, LvwP, LvwM, NotebookList});
    player_ = std::make_unique<PlayerController>(store_, player);
    preview_ = std::make_unique<PreviewController>(store_, dialogs_, *player_, preview, LvwP, LvwM, this);
    connectHandlers();
    try {
        FormCreate();
    } catch (const std::exception& error) {
        // The window still opens, with what could be loaded. Nothing above catches here (no
        // event is being handled yet), so a second failure is shown too instead of ending
        // the program.
        dialogs_.showMessage(this, QStringLiteral("错误"), QString::fromLocal8Bit(error.what()),
                             MessageIcon::Error);
        try {
            RefreshMain();
        } catch (const std::exception& again) {
            dialogs_.showMessage(this, QStringLiteral("错误"), QString::fromLocal8Bit(again.what()),
                                 MessageIcon::Error);
        }
    }
}

TFrmMain::~TFrmMain() = default;

void TFrmMain::buildLayout(PreviewControls& preview, PlayerControls& player) {
    auto* PnlMian = named(new QWidget(this), "PnlMian");
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(PnlMian);

    auto* columns = new QHBoxLayout;
    columns->setContentsMargins(0, 0, 0, 0);
    columns->setSpacing(2);
    columns->addWidget(buildMainArea(), 1);
    columns->addWidget(buildRightColumn(preview, player));

    auto* whole = new QVBoxLayout(PnlMian);
    whole->setContentsMargins(2, 2, 2, 2);
    whole->setSpacing(2);
    whole->addLayout(columns, 1);
    whole->addWidget(buildBottomBar());
}

QWidget* TFrmMain::buildRightColumn(PreviewControls& preview, PlayerControls& player) {
    auto* PnlLeft = named(new QWidget, "PnlLeft");
    PnlLeft->setFixedWidth(189);
    auto* column = new QVBoxLayout(PnlLeft);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(2);

    PnlAllAblumTile = titlePanel("PnlAllAblumTile", QStringLiteral("现有相册列表[暂无]"));
    column->addWidget(PnlAllAblumTile);

    LvwA = named(new QTableView, "LvwA");
    LvwA->setModel(albumModel_);
    configureListView(LvwA, {20, 131});
    LvwA->setFixedHeight(150);
    column->addWidget(LvwA);

    auto* albumButtons = new QHBoxLayout;
    SbtNewAblm = speedButton("SbtNewAblm", QStringLiteral("新建相册"));
    SbtDelA = speedButton("SbtDelA", QStringLiteral("删除相册"));
    albumButtons->addWidget(SbtNewAblm);
    albumButtons->addWidget(SbtDelA);
    column->addLayout(albumButtons);

    column->addWidget(buildPreviewPanel(preview, player));
    column->addStretch(1);

    BtnBeginMake = pushButton("BtnBeginMake", QStringLiteral("生成制作"));
    BtnBeginMake->setFixedHeight(32);
    column->addWidget(BtnBeginMake);
    return PnlLeft;
}

QWidget* TFrmMain::buildMainArea() {
    auto* area = new QWidget;
    auto* layout = new QVBoxLayout(area);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);

    // A long album name is elided here, never widening the window.
    PnlCurAblmTile = titlePanel<ElidingLabel>(
        "PnlCurAblmTile", QStringLiteral("编辑相册《×××××××××××××××××××××××××》中的图片与音乐"));
    PnlCurAblmTile->setFont(interfaceFont(14));
    QFont bold = PnlCurAblmTile->font();
    bold.setBold(true);
    PnlCurAblmTile->setFont(bold);
    PnlCurAblmTile->setFixedHeight(28);
    layout->addWidget(PnlCurAblmTile);

    auto* header = new QHBoxLayout;
    header->setSpacing(2);
    SbtEditpic = speedButton("SbtEditpic", QStringLiteral("编辑图片信息"));
    SbtEditMusic = speedButton("SbtEditMusic", QStringLiteral("编辑音乐信息"));
    for (QToolButton* tab : {SbtEditpic, SbtEditMusic}) {
        tab->setCheckable(true);
        tab->setAutoExclusive(true);
        header->addWidget(tab);
    }
    SbtEditpic->setChecked(true);
    PnlListTile = named(new QLabel(QStringLiteral("当前相册全部图片列表 [暂无图片]")), "PnlListTile");
    PnlListTile->setAlignment(Qt::AlignCenter);
    header->addWidget(PnlListTile, 1);
    BtnUP = speedButton("BtnUP", QStringLiteral("▲"));
    BtnUP->setToolTip(QStringLiteral("当前项向前移动"));
    BtnDP = speedButton("BtnDP", QStringLiteral("▼"));
    BtnDP->setToolTip(QStringLiteral("当前项向后移动"));
    BtnUP->setEnabled(false);
    BtnDP->setEnabled(false);
    header->addWidget(BtnUP);
    header->addWidget(BtnDP);
    layout->addLayout(header);

    NotebookList = named(new QStackedWidget, "NotebookList");
    LvwP = named(new QTableView, "LvwP");
    LvwP->setModel(pictureModel_);
    configureListView(LvwP, {20, 60, 100, 250, 100});
    LvwM = named(new QTableView, "LvwM");
    LvwM->setModel(songModel_);
    configureListView(LvwM, {20, 60, 120, 100, 230});
    LvwP->setEnabled(false);
    LvwM->setEnabled(false);
    NotebookList->addWidget(LvwP);
    NotebookList->addWidget(LvwM);
    layout->addWidget(NotebookList, 1);

    auto* buttons = new QHBoxLayout;
    BtnDelAP = pushButton("BtnDelAP", QStringLiteral("删除全部图片"));
    BtnDelOP = pushButton("BtnDelOP", QStringLiteral("删除当前图片"));
    BtnEditP = pushButton("BtnEditP", QStringLiteral("编辑图片信息"));
    BtnAddP = pushButton("BtnAddP", QStringLiteral("继续加入图片"));
    for (QPushButton* b : {BtnDelAP, BtnDelOP, BtnEditP}) {
        b->setEnabled(false);
        buttons->addWidget(b);
    }
    buttons->addStretch(1);
    buttons->addWidget(BtnAddP);
    layout->addLayout(buttons);
    return area;
}

QWidget* TFrmMain::buildBottomBar() {
    auto* bar = new QWidget;
    bar->setFixedHeight(22);
    auto* layout = new QHBoxLayout(bar);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    PnlHelp = titlePanel("PnlHelp", QStringLiteral("帮助"));
    PnlHelp->setFixedSize(60, 22);
    PnlHelp->setCursor(Qt::PointingHandCursor);
    layout->addWidget(PnlHelp);
    auto* ticker = named(new TZelScrollText, "CST1");
    ticker->setColor(Qt::black);
    ticker->setTransparent(true);
    ticker->setFontColor(Qt::black);
    ticker->setFont(interfaceFont());
    ticker->setZelScrollText(QStringLiteral("欢迎使用电子相册视频制作：建立相册，加入图片与音乐，为每幅图片选"
                                            "好题目、停留时间和过渡效果，即可生成 VCD、SVCD 或 DVD 视频。"));
    CST1 = ticker;
    layout->addWidget(CST1, 1);
    return bar;
}

void TFrmMain::connectHandlers() {
    connect(LvwA->selectionModel(), &QItemSelectionModel::selectionChanged, this, &TFrmMain::LvwAChange);
    connect(LvwP->selectionModel(), &QItemSelectionModel::selectionChanged, this, &TFrmMain::LvwPChange);
    connect(LvwM->selectionModel(), &QItemSelectionModel::selectionChanged, this, &TFrmMain::LvwMChange);
    connect(preview_.get(), &PreviewController::refreshNeeded, this, &TFrmMain::RefreshMain);
    connect(SbtEditpic, &QToolButton::clicked, this, [this] { SbtEditpicClick(0); });
    connect(SbtEditMusic, &QToolButton::clicked, this, [this] { SbtEditpicClick(1); });
    connect(SbtNewAblm, &QToolButton::clicked, this, &TFrmMain::SbtNewAblmClick);
    connect(SbtDelA, &QToolButton::clicked, this, &TFrmMain::SbtDelAClick);
    connect(BtnUP, &QToolButton::clicked, this, &TFrmMain::BtnUPClick);
    connect(BtnDP, &QToolButton::clicked, this, &TFrmMain::BtnDPClick);
    connect(BtnDelOP, &QPushButton::clicked, this, &TFrmMain::BtnDelOPClick);
    connect(BtnDelAP, &QPushButton::clicked, this, &TFrmMain::BtnDelAPClick);
    connect(BtnEditP, &QPushButton::clicked, this, &TFrmMain::BtnEditPClick);
    connect(LvwP, &QTableView::doubleClicked, this, &TFrmMain::BtnEditPClick);
    setUpDrops();
    connect(undo_.get(), &UndoCommands::storeNeedsShowing, this, &TFrmMain::showStoreState);
    connect(undo_.get(), &UndoCommands::changeReplayed, this, &TFrmMain::showReplayedChange);
    connect(BtnAddP, &QPushButton::clicked, this, &TFrmMain::BtnAddPClick);
    connect(BtnBeginMake, &QPushButton::clicked, this, &TFrmMain::BtnBeginMakeClick);
}

void TFrmMain::FormCreate() {
    resize(800, 567);
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - QPoint(400, 283));
    store_.AlbumList.clear();
    store_.closeAlbum();
    store_.AlbumIndex = -1;
    SbtEditpicClick(0);
    setWindowTitle(kProductName + QStringLiteral("2007 V7.0"));
    store_.LoadInfo("A");
    FillAlbumList();
    if (albumModel_->rowCount() > 0)
        selectRow(LvwA, store_.AlbumIndex);
    const int selected = selectedRow(LvwA);
    if (selected >= 0)
        OpenAlbum(selected);
    else
        RefreshMain();
}

void TFrmMain::FillAlbumList() {
    albumModel_->reset();
}

void TFrmMain::FillPicList() {
    pictureModel_->reset();
}

void TFrmMain::FillMusicList() {
    songModel_->reset();
}

void TFrmMain::OpenAlbum(int index) {
    store_.openAlbum(store_.AlbumCount() > 0 ? index : -1);
    FillPicList();
    FillMusicList();
    if (pictureModel_->rowCount() > 0)
        selectRow(LvwP, store_.PicIndex);
    if (songModel_->rowCount() > 0)
        selectRow(LvwM, store_.MusicIndex);
    // A first picture that cannot be read leaves the preview empty; the album opens all the
    // same (lists, captions, buttons), and the error ends the handler after that.
    preview_->forgetUnreadablePicture();
    std::exception_ptr unreadable;
    if (const int picture = selectedRow(LvwP); picture >= 0) {
        try {
            preview_->showPicture(picture);
        } catch (const std::exception&) {
            preview_->clearPicture();
            unreadable = std::current_exception();
        }
    }
    RefreshMain();
    if (unreadable)
        std::rethrow_exception(unreadable);
}

void TFrmMain::LvwAChange() {
    const int selected = selectedRow(LvwA);
    if (albumModel_->rowCount() == 0 || selected < 0)
        return;
    store_.AlbumIndex = selected;
    preview_->clear();
    OpenAlbum(selected);
}

void TFrmMain::RefreshMain() {
    const bool picturePage = NotebookList->currentIndex() == 0;
    QTableView* active = picturePage ? LvwP : LvwM;
    const int n = active->model()->rowCount();
    const int s = selectedRow(active);
    if (picturePage) {
        store_.PicIndex = s;
        PnlListTile->setText(n > 0 ? QStringLiteral("当前相册全部图片列表 [共%1张图片]").arg(n)
                                   : QStringLiteral("当前相册全部图片列表 [暂无图片]"));
    } else {
        store_.MusicIndex = s;
        PnlListTile->setText(n > 0 ? QStringLiteral("当前相册全部音乐列表 [共%1张音乐]").arg(n)
                                   : QStringLiteral("当前相册全部音乐列表 [暂无音乐]"));
    }
    BtnUP->setEnabled(s >= 1);
    BtnDP->setEnabled(s != n - 1);
    BtnDelOP->setEnabled(s >= 0);
    BtnDelAP->setEnabled(n > 0);
    LvwM->setEnabled(n > 0);
    LvwP->setEnabled(n > 0);
    BtnEditP->setEnabled(n > 0);
    BtnAddP->setEnabled(store_.AlbumIndex >= 0);

    const int albums = albumModel_->rowCount();
    SbtDelA->setEnabled(albums > 0 && selectedRow(LvwA) >= 0);
    PnlAllAblumTile->setText(albums > 0 ? QStringLiteral("现有相册列表[共%1个]").arg(albums)
                                        : QStringLiteral("现有相册列表[暂无]"));
    if (store_.AlbumIndex > -1 && store_.AlbumIndex < store_.AlbumCount()) {
        const QString albumName = QString::fromStdString(store_.albumName(store_.AlbumIndex));
        PnlCurAblmTile->setText(QStringLiteral("编辑相册《%1》中的图片与音乐").arg(albumName));
        PnlCurAblmTile->setToolTip(albumName); // the whole name, however the title is elided
    }
    BtnBeginMake->setEnabled(pictureModel_->rowCount() > 0 && songModel_->rowCount() > 0);
    preview_->refresh(picturePage, n, s);
}

void TFrmMain::showStoreState() {
    FillAlbumList();
    selectRow(LvwA, store_.AlbumIndex);
    FillPicList();
    FillMusicList();
    selectRow(LvwP, store_.PicIndex);
    selectRow(LvwM, store_.MusicIndex);
    if (store_.PicIndex >= 0)
        ScrollToSelected(LvwP);
    if (store_.MusicIndex >= 0)
        ScrollToSelected(LvwM);
    preview_->clear();
    RefreshMain();
}

void TFrmMain::showReplayedChange(store::ListKind list) {
    showStoreState();
    // The page of the list that changed comes to the front.
    if (list != store::ListKind::Albums)
        SbtEditpicClick(list == store::ListKind::Songs ? 1 : 0);
}

void TFrmMain::LvwPChange() {
    const int selected = selectedRow(LvwP);
    if (LvwP->model()->rowCount() > 0 && selected >= 0)
        preview_->showChosenPicture(selected);
}

void TFrmMain::LvwMChange() {
    const int selected = selectedRow(LvwM);
    if (LvwM->model()->rowCount() > 0 && selected >= 0)
        preview_->loadChosenSong(selected);
}

void TFrmMain::SbtEditpicClick(int page) {
    NotebookList->setCurrentIndex(page);
    preview_->showPage(page);
    listTag_ = page;
    (page == 0 ? SbtEditpic : SbtEditMusic)->setChecked(true);
    BtnEditP->setVisible(page == 0);
    if (page == 0) {
        BtnDelAP->setText(QStringLiteral("删除全部图片"));
        BtnDelOP->setText(QStringLiteral("删除当前图片"));
        BtnEditP->setText(QStringLiteral("编辑图片信息"));
        BtnAddP->setText(QStringLiteral("继续加入图片"));
    } else {
        BtnDelAP->setText(QStringLiteral("删除全部音乐"));
        BtnDelOP->setText(QStringLiteral("删除当前音乐"));
        BtnEditP->setText(QStringLiteral("编辑音乐信息"));
        BtnAddP->setText(QStringLiteral("继续加入音乐"));
    }
    RefreshMain();
}

} // namespace vistello::app
