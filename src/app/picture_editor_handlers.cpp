// The picture editor's record handling: showing the current record, the display-time rules,
// the save button's rule, saving, the common time and browsing.

#include "app/picture_editor.h"

#include "app/picture_fitting.h"
#include "app/picture_view.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>
#include <climits>
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
    LoadPictureFitted(pictureFile(store_.PicIndex), *ImgShow, messages_);
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
    BtnSave->setEnabled(!(sameTitle && sameTime && sameEffect));
}

std::optional<int> TFrmEditP::convertedTime() {
    bool ok = false;
    const int value = EdtSJ->text().toInt(&ok, 10);
    if (ok)
        return value;
    dialogs_.showMessage(this, QStringLiteral("错误"),
                         QStringLiteral("'%1' is not a valid integer value").arg(EdtSJ->text()), MessageIcon::Error);
    return std::nullopt;
}

void TFrmEditP::EdtTMChange() {
    UpdateSaveButton();
}

void TFrmEditP::EdtSJChange() {
    const std::optional<int> seconds = convertedTime();
    if (!seconds)
        return;
    if (*seconds == 0)
        EdtSJ->setText(QStringLiteral("3"));
    UpdateSaveButton();
}

void TFrmEditP::Btn_XClick() {
    if (const std::optional<int> seconds = convertedTime(); seconds && *seconds > INT_MIN)
        EdtSJ->setText(QString::number(*seconds - 1));
}

void TFrmEditP::BtnMClick() {
    // No upper bound other than the record's integer.
    if (const std::optional<int> seconds = convertedTime(); seconds && *seconds < INT_MAX)
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
        dialogs_.showMessage(this, QStringLiteral("错误"), QString::fromLocal8Bit(error.what()), MessageIcon::Error);
        return;
    }
    for (int row = 0; row < store_.PicCount(); ++row)
        emit pictureRowChanged(row);
}

void TFrmEditP::BtnSaveClick() {
    if (!canEdit(store_))
        return;
    // The time is checked before anything changes, so a bad time leaves the record as it was.
    const std::optional<int> seconds = convertedTime();
    if (!seconds)
        return;
    store::TPicInfo& picture = store_.PicList[static_cast<std::size_t>(store_.PicIndex)];
    const store::TPicInfo before = picture;
    BtnSave->setEnabled(false);
    // Title.setText cuts the GBK form to the field's 36 bytes on a character boundary.
    picture.Title.setText(EdtTM->text().trimmed().toStdString());
    picture.StayTime = *seconds;
    if (LbXG->currentRow() >= 0)
        picture.Effect = LbXG->currentRow();
    try {
        store_.SaveInfo("P");
    } catch (const std::exception& error) {
        picture = before;
        BtnSave->setEnabled(true);
        dialogs_.showMessage(this, QStringLiteral("错误"), QString::fromLocal8Bit(error.what()), MessageIcon::Error);
        return;
    }
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
