#include "app/main_window/preview_controller.h"

#include "app/application/dialog_message_sink.h"
#include "app/application/guarded.h"
#include "app/main_window/list_views.h"
#include "app/main_window/player_controller.h"
#include "app/widgets/fit_picture.h"
#include "media/picture_file.h"

#include <QLabel>
#include <QStackedWidget>
#include <QTableView>
#include <QToolButton>
#include <stdexcept>

namespace vistello::app {

PreviewController::PreviewController(store::AlbumStore& store, UserDialogs& dialogs, PlayerController& player,
                                     const PreviewControls& controls, QTableView* pictures, QTableView* songs,
                                     QWidget* window)
    : store_(store), dialogs_(dialogs), player_(player), ui_(controls), pictures_(pictures), songs_(songs),
      window_(window) {
    connect(ui_.BtnPP, &QToolButton::clicked, this,
            guardedSlot(window_, dialogs_, this, &PreviewController::BtnPPClick));
    connect(ui_.BtnNP, &QToolButton::clicked, this,
            guardedSlot(window_, dialogs_, this, &PreviewController::BtnNPClick));
}

void PreviewController::showPage(int page) {
    ui_.NotebookLook->setCurrentIndex(page);
    page_ = page;
}

void PreviewController::showPicture(int index) {
    if (index < 0 || index >= store_.PicCount())
        return;
    const std::filesystem::path file =
        store_.mediaFile(store_.PicList[static_cast<std::size_t>(index)].FileName.gbk());
    DialogMessageSink messages(dialogs_, window_);
    std::error_code ec;
    const std::filesystem::file_time_type written = std::filesystem::last_write_time(file, ec);
    if (!file.empty() && !ec && file == shownPicture_ && written == shownPictureTime_ &&
        ui_.ImgPicShow->isVisible())
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
    ui_.ImgPicShow->setPixmap(QPixmap::fromImage(picture));
    if (const std::optional<QRect> place = FitPicture(picture.size(), ui_.Image1->size()))
        ui_.ImgPicShow->setGeometry(*place);
    ui_.ImgPicShow->show();
    shownPicture_ = file;
    shownPictureTime_ = written;
}

void PreviewController::clearPicture() {
    ui_.ImgPicShow->clear();
    ui_.ImgPicShow->hide();
    shownPicture_.clear();
}

void PreviewController::clear() {
    clearPicture();
    player_.clear();
}

void PreviewController::dropStalePreview() {
    const auto currentFile = [this](const QTableView* view, const auto& records) {
        const int row = selectedRow(view);
        return row >= 0 && row < static_cast<int>(records.size())
                   ? store_.mediaFile(records[static_cast<std::size_t>(row)].FileName.gbk())
                   : std::filesystem::path();
    };
    if (!shownPicture_.empty() && shownPicture_ != currentFile(pictures_, store_.PicList))
        clearPicture();
    // Giving the player no file stops a song that plays, and with it the decoder's reading.
    if (!player_.songFile().empty() && player_.songFile() != currentFile(songs_, store_.MusicList))
        player_.clear();
}

void PreviewController::refresh(bool picturePage, int rows, int selected) {
    dropStalePreview();
    if (picturePage) {
        if (rows > 0) {
            ui_.PnlCurLook->setText(QStringLiteral("图片预览[第%1张]").arg(selected + 1));
            if (selected > -1)
                showPicture(store_.PicIndex);
        } else {
            ui_.PnlCurLook->setText(QStringLiteral("图片预览[暂无]"));
        }
    } else {
        if (rows > 0) {
            ui_.PnlCurLook->setText(QStringLiteral("音乐视听[第%1张]").arg(selected + 1));
            if (selected > -1)
                player_.loadSong(store_.MusicIndex);
        } else {
            ui_.PnlCurLook->setText(QStringLiteral("音乐视听[暂无]"));
        }
    }
    ui_.BtnPP->setEnabled(selected >= 1);
    ui_.BtnNP->setEnabled(selected != rows - 1);
    player_.refreshButtons();
}

void PreviewController::showChosenPicture(int row) {
    store_.PicIndex = row;
    showPicture(row);
    emit refreshNeeded();
}

void PreviewController::loadChosenSong(int row) {
    store_.MusicIndex = row;
    player_.loadSong(row);
    emit refreshNeeded();
}

void PreviewController::browse(bool previous) {
    QTableView* view = page_ == 1 ? songs_ : pictures_;
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
            if (page_ == 1) {
                store_.MusicIndex = t;
                player_.loadSong(t);
            } else {
                store_.PicIndex = t;
                showPicture(t);
            }
        }
    }
    emit refreshNeeded();
}

void PreviewController::BtnPPClick() {
    browse(true);
}

void PreviewController::BtnNPClick() {
    browse(false);
}

} // namespace vistello::app
