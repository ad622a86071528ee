// The picture editor's record handling: showing the current record, the display-time rules,
// the save button's rule, saving (the record and its motion), the common time and browsing.

#include "app/picture_editor/picture_editor.h"

#include "app/application/guarded.h"

#include "app/widgets/picture_fitting.h"
#include "app/widgets/picture_view.h"
#include "media/picture_file.h"
#include "store/list_operations.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>
#include <exception>

namespace vistello::app {

namespace {

QString trimmedText(const std::string& utf8) {
    return QString::fromStdString(utf8).trimmed();
}

} // namespace

QString TFrmEditP::pictureFile(int index) const {
    const store::TPicInfo& picture = store_.PicList[static_cast<std::size_t>(index)];
    // An empty path (no album folder, or a stored name that is not a plain file name) reads
    // as a missing file and shows black.
    return QString::fromStdString(store_.mediaFile(picture.FileName.gbk()).string());
}

void TFrmEditP::ShowPicInfo() {
    if (!canEdit(store_))
        return;
    const store::TPicInfo& picture = store_.PicList[static_cast<std::size_t>(store_.PicIndex)];
    EdtTM->setText(QString::fromStdString(picture.Title.text()));
    EdtSJ->setText(QString::number(picture.StayTime));
    {
        // Selecting from code runs no handler; an effect outside the list selects nothing.
        const QSignalBlocker blocker(LbXG);
        const bool listed = picture.Effect >= 0 && picture.Effect < LbXG->count();
        LbXG->setCurrentRow(listed ? picture.Effect : -1);
        if (!listed)
            LbXG->clearSelection();
    }
    // Decoded once for the picture: fitted into the box here, and the source of its motion.
    picture_ = media::LoadPictureFile(pictureFile(store_.PicIndex), messages_);
    ImgShow->setGeometry(PnlXG->contentsRect());
    ImgShow->setPicture(fitIntoBlackBox(picture_, ImgShow->size()));
    showMotion();
    setWindowTitle(QStringLiteral("图片编辑[第[%1]张]").arg(store_.PicIndex + 1));
}

void TFrmEditP::UpdateSaveButton() {
    if (!canEdit(store_))
        return;
    const store::TPicInfo& picture = store_.PicList[static_cast<std::size_t>(store_.PicIndex)];
    const bool sameTitle = EdtTM->text().trimmed() == trimmedText(picture.Title.text());
    const bool sameTime = EdtSJ->text().trimmed() == QString::number(picture.StayTime);
    // No item selected means no effect chosen: the stored one, even outside the list, stays.
    const int row = LbXG->currentRow();
    const bool sameEffect = row < 0 || row == picture.Effect;
    const bool sameMotion = motion_ == storedMotion_;
    BtnSave->setEnabled(!(sameTitle && sameTime && sameEffect && sameMotion));
}

std::optional<int> TFrmEditP::convertedTime() {
    // The text may be anything made of digits while it is edited; here it becomes a time.
    QString text = EdtSJ->text().trimmed();
    if (text.isEmpty()) {
        // Nothing typed: the picture keeps its time.
        text = QString::number(store_.PicList[static_cast<std::size_t>(store_.PicIndex)].StayTime);
        EdtSJ->setText(text);
    }
    bool ok = false;
    const qulonglong value = text.toULongLong(&ok, 10);
    if (!ok || value > static_cast<qulonglong>(kMaxStayTimeSeconds)) {
        // Too many digits for any number count as too long as well.
        dialogs_.showMessage(
            this, QStringLiteral("提示"),
            QStringLiteral("停留时间最长为 %1 秒（1 小时），已改为 %1 秒。").arg(kMaxStayTimeSeconds),
            MessageIcon::Information);
        EdtSJ->setText(QString::number(kMaxStayTimeSeconds));
        return std::nullopt;
    }
    if (value == 0) {
        EdtSJ->setText(QStringLiteral("3"));
        return 3;
    }
    return static_cast<int>(value);
}

void TFrmEditP::EdtTMChange() {
    UpdateSaveButton();
}

void TFrmEditP::EdtSJChange() {
    // The text is checked when the field is left or used, not while it is typed.
    UpdateSaveButton();
}

void TFrmEditP::EdtSJExit() {
    if (canEdit(store_))
        convertedTime();
}

void TFrmEditP::Btn_XClick() {
    if (!canEdit(store_))
        return;
    if (const std::optional<int> seconds = convertedTime())
        EdtSJ->setText(*seconds > 1 ? QString::number(*seconds - 1) : QStringLiteral("3"));
}

void TFrmEditP::BtnMClick() {
    if (!canEdit(store_))
        return;
    if (const std::optional<int> seconds = convertedTime(); seconds && *seconds < kMaxStayTimeSeconds)
        EdtSJ->setText(QString::number(*seconds + 1));
}

void TFrmEditP::BtnToAllClick() {
    if (!canEdit(store_))
        return;
    const std::optional<int> seconds = convertedTime();
    if (!seconds)
        return;
    const std::vector<store::TPicInfo> before = store_.PicList;
    for (store::TPicInfo& picture : store_.PicList)
        picture.StayTime = *seconds;
    try {
        store_.SaveInfo("P");
    } catch (const std::exception& error) {
        // The file was not rewritten: the records go back to what the file holds.
        store_.PicList = before;
        showError(this, dialogs_, error);
        return;
    }
    for (int row = 0; row < store_.PicCount(); ++row)
        emit pictureRowChanged(row);
    emit timeTextAppliedToAll(EdtSJ->text().trimmed());
}

void TFrmEditP::BtnSaveClick() {
    if (!canEdit(store_))
        return;
    // The time is checked before anything changes, so a bad time leaves the record as it was.
    const std::optional<int> seconds = convertedTime();
    if (!seconds)
        return;
    store::TPicInfo picture = store_.PicList[static_cast<std::size_t>(store_.PicIndex)];
    BtnSave->setEnabled(false);
    // Title.setText cuts the GBK form to the field's 36 bytes on a character boundary.
    picture.Title.setText(EdtTM->text().trimmed().toStdString());
    picture.StayTime = *seconds;
    if (LbXG->currentRow() >= 0)
        picture.Effect = LbXG->currentRow();
    // The record and the motion are written together or not at all, as one change that the
    // main window records for undo.
    const std::optional<store::ListSnapshot> edited =
        store::plannedPictureEdit(store_, store_.PicIndex, picture, motion_);
    if (!edited) {
        BtnSave->setEnabled(true);
        dialogs_.showMessage(this, QStringLiteral("错误"), QStringLiteral("图片的动态无效，未保存。"),
                             MessageIcon::Error);
        return;
    }
    try {
        store::changeListAtOnce(store_, *edited);
    } catch (const std::exception& error) {
        BtnSave->setEnabled(true);
        showError(this, dialogs_, error);
        return;
    }
    storedMotion_ = motion_;
    emit pictureRowChanged(store_.PicIndex);
}

void TFrmEditP::SbtnPPClick() {
    if (canEdit(store_) && store_.PicIndex > 0)
        browseTo(store_.PicIndex - 1);
}

void TFrmEditP::SbtnNPClick() {
    if (canEdit(store_) && store_.PicIndex < store_.PicCount() - 1)
        browseTo(store_.PicIndex + 1);
}

void TFrmEditP::browseTo(int index) {
    // A running preview ends first: it would otherwise finish on the picture that was left,
    // under the caption of the new one.
    if (previewTag() == 1)
        finishPreview();
    store_.PicIndex = index;
    SbtnPP->setEnabled(index != 0);
    SbtnNP->setEnabled(index != store_.PicCount() - 1);
    BtnSave->setEnabled(false);
    ShowPicInfo();
    emit currentPictureChanged(index);
}

} // namespace vistello::app
