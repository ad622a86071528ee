// The preview panel of the main window: the current picture fitted into its box, the player
// page of the current song, and browsing through the list of the current tab.

#include "app/main_window/main_window.h"

#include "app/application/dialog_message_sink.h"
#include "app/main_window/list_views.h"
#include "app/widgets/fit_picture.h"
#include "media/picture_file.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QStackedWidget>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>
#include <stdexcept>

namespace vistello::app {

namespace {
constexpr QSize kPictureBox(173, 138);

QToolButton* arrowButton(const char* name, const QString& glyph, const QString& hint) {
    auto* button = new QToolButton;
    button->setObjectName(QString::fromLatin1(name));
    button->setText(glyph);
    button->setToolTip(hint);
    button->setAutoRaise(true);
    button->setFixedSize(25, 18);
    button->setCursor(Qt::PointingHandCursor);
    button->setEnabled(false);
    return button;
}
} // namespace

QWidget* TFrmMain::buildPreviewPanel() {
    auto* panel = new QWidget;
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto* title = new QHBoxLayout;
    title->setSpacing(0);
    BtnPP = arrowButton("BtnPP", QStringLiteral("◀"), QStringLiteral("浏览上幅图片"));
    BtnNP = arrowButton("BtnNP", QStringLiteral("▶"), QStringLiteral("浏览下幅图片"));
    PnlCurLook = new QLabel(QStringLiteral("图片预览[暂无]"));
    PnlCurLook->setObjectName(QStringLiteral("PnlCurLook"));
    PnlCurLook->setAlignment(Qt::AlignCenter);
    PnlCurLook->setFixedHeight(22);
    title->addWidget(BtnPP);
    title->addWidget(PnlCurLook, 1);
    title->addWidget(BtnNP);
    layout->addLayout(title);

    NotebookLook = new QStackedWidget;
    NotebookLook->setObjectName(QStringLiteral("NotebookLook"));
    NotebookLook->setFixedSize(kPictureBox);
    Image1 = new QWidget;
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setFixedSize(kPictureBox);
    Image1->setAttribute(Qt::WA_StyledBackground);
    Image1->setStyleSheet(QStringLiteral("#Image1 { background: #1e2a3a; }"));
    ImgPicShow = new QLabel(Image1);
    ImgPicShow->setObjectName(QStringLiteral("ImgPicShow"));
    ImgPicShow->setScaledContents(true);
    ImgPicShow->hide();
    NotebookLook->addWidget(Image1);
    NotebookLook->addWidget(buildPlayerPage());
    layout->addWidget(NotebookLook, 0, Qt::AlignHCenter);
    return panel;
}

void TFrmMain::showPicture(int index) {
    if (index < 0 || index >= store_.PicCount())
        return;
    const std::filesystem::path file =
        store_.mediaFile(store_.PicList[static_cast<std::size_t>(index)].FileName.gbk());
    DialogMessageSink messages(dialogs_, this);
    std::error_code ec;
    const std::filesystem::file_time_type written = std::filesystem::last_write_time(file, ec);
    if (!file.empty() && !ec && file == shownPicture_ && written == shownPictureTime_ &&
        ImgPicShow->isVisible())
        return;
    if (unreadablePicture_ && file == *unreadablePicture_ && written == unreadablePictureTime_)
        return; // reported when it was first met, and not changed since
    const QImage picture =
        file.empty() ? QImage() : media::LoadPictureFile(QString::fromStdString(file.string()), messages);
    if (picture.isNull()) {
        unreadablePicture_ = file;
        unreadablePictureTime_ = written;
        throw std::runtime_error("无法读取图片文件 \"" + file.string() + "\"");
    }
    unreadablePicture_.reset();
    ImgPicShow->setPixmap(QPixmap::fromImage(picture));
    if (const std::optional<QRect> place = FitPicture(picture.size(), Image1->size()))
        ImgPicShow->setGeometry(*place);
    ImgPicShow->show();
    shownPicture_ = file;
    shownPictureTime_ = written;
}

void TFrmMain::clearPicture() {
    ImgPicShow->clear();
    ImgPicShow->hide();
    shownPicture_.clear();
}

void TFrmMain::clearPreview() {
    clearPicture();
    clearPlayer();
}

void TFrmMain::dropStalePreview() {
    const auto currentFile = [this](const QTableView* view, const auto& records) {
        const int row = selectedRow(view);
        return row >= 0 && row < static_cast<int>(records.size())
                   ? store_.mediaFile(records[static_cast<std::size_t>(row)].FileName.gbk())
                   : std::filesystem::path();
    };
    if (!shownPicture_.empty() && shownPicture_ != currentFile(LvwP, store_.PicList))
        clearPicture();
    // Giving the player no file stops a song that plays, and with it the decoder's reading.
    if (!songFile_.empty() && songFile_ != currentFile(LvwM, store_.MusicList))
        clearPlayer();
}

void TFrmMain::refreshPreview(bool picturePage, int rows, int selected) {
    dropStalePreview();
    if (picturePage) {
        if (rows > 0) {
            PnlCurLook->setText(QStringLiteral("图片预览[第%1张]").arg(selected + 1));
            if (selected > -1)
                showPicture(store_.PicIndex);
        } else {
            PnlCurLook->setText(QStringLiteral("图片预览[暂无]"));
        }
    } else {
        if (rows > 0) {
            PnlCurLook->setText(QStringLiteral("音乐视听[第%1张]").arg(selected + 1));
            if (selected > -1)
                loadSong(store_.MusicIndex);
        } else {
            PnlCurLook->setText(QStringLiteral("音乐视听[暂无]"));
        }
    }
    BtnPP->setEnabled(selected >= 1);
    BtnNP->setEnabled(selected != rows - 1);
    refreshPlayerButtons();
}

void TFrmMain::LvwPChange() {
    const int selected = selectedRow(LvwP);
    if (LvwP->model()->rowCount() == 0 || selected < 0)
        return;
    store_.PicIndex = selected;
    showPicture(selected);
    RefreshMain();
}

void TFrmMain::LvwMChange() {
    const int selected = selectedRow(LvwM);
    if (LvwM->model()->rowCount() == 0 || selected < 0)
        return;
    store_.MusicIndex = selected;
    loadSong(selected);
    RefreshMain();
}

void TFrmMain::browse(bool previous) {
    QTableView* view = listTag_ == 1 ? LvwM : LvwP;
    const int n = view->model()->rowCount();
    int s = selectedRow(view);
    if (n >= 2) {
        int t = -1;
        if (previous && s >= 1)
            t = s - 1;
        else if (!previous && s <= n - 2)
            t = std::max(s, 0) + 1;
        if (t >= 0) {
            selectRow(view, t);
            ScrollToSelected(view);
            if (listTag_ == 1) {
                store_.MusicIndex = t;
                loadSong(t);
            } else {
                store_.PicIndex = t;
                showPicture(t);
            }
        }
    }
    RefreshMain();
}

void TFrmMain::BtnPPClick() {
    browse(true);
}

void TFrmMain::BtnNPClick() {
    browse(false);
}

} // namespace vistello::app
