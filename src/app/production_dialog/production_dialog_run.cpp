// The production dialog's run: start, progress, preview, stop, result, and the refusal to
// close while a run is going on.

#include "app/production_dialog/output_space_check.h"
#include "app/production_dialog/production_dialog.h"
#include "app/widgets/stretch_view.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

namespace vistello::app {

production::RunCallbacks TFrmMake::runCallbacks() {
    production::RunCallbacks callbacks;
    callbacks.setSettingsEnabled = [this](bool enabled) { SetSettingsEnabled(enabled); };
    callbacks.setRunning = [this](bool running) {
        SbtnMake->setEnabled(!running);
        SbtnStop->setEnabled(running);
    };
    callbacks.setBusyCursor = [this](bool busy) { setBusyCursor(busy); };
    callbacks.showProgress = [this](const QString& text) { Lguage->setText(text); };
    callbacks.showTime = [this](const QString& text) { LOverTine->setText(text); };
    callbacks.preview = [this](const effects::Bitmap& frame) { showFrame(frame); };
    callbacks.processEvents = [this] { processPendingEvents(); };
    return callbacks;
}

void TFrmMake::SetSettingsEnabled(bool enabled) {
    for (QWidget* w : std::initializer_list<QWidget*>{RGOutType, SpeedButton3, CboxTB, GroupBox3})
        w->setEnabled(enabled);
}

void TFrmMake::setBusyCursor(bool busy) {
    if (busy == busyCursor_)
        return;
    busyCursor_ = busy;
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void TFrmMake::showFrame(const effects::Bitmap& frame) {
    // The frame is the run's own bitmap and changes after this call: the box keeps a copy.
    const QImage view(frame.data(), frame.width(), frame.height(), frame.stride(), QImage::Format_BGR888);
    ImgMpg->setPicture(view.copy());
    ImgMpg->repaint();
}

void TFrmMake::processPendingEvents() {
    // The preview box keeps the last frame it was given, so whatever the event processing
    // repaints of the panel shows that frame again. Switching the panel's updates off here
    // would not keep the frame: re-enabling them schedules a repaint, and the next pass paints
    // the group's background over the whole panel while its children are skipped, leaving the
    // preview blank for the whole run.
    QCoreApplication::processEvents();
}

void TFrmMake::SbtnMakeClick() {
    if (running())
        return; // a start from inside the event processing of a run
    if (!outputFitsOrSay(store_, currentSettings(), dialogs_, this))
        return; // the video would fill the disk before it is done
    running_ = true;
    SbtnMake->setEnabled(false);
    SbtnStop->setEnabled(true);
    ImgMpg->setStretch(true);
    ImgMpg->setPicture({});
    const production::ProductionSettings settings = currentSettings();
    const QString output = EdtOut->text().trimmed();
    const production::RunResult result = run_.Start(settings);
    ImgMpg->setPicture({});
    PnlBack->update();
    SbtnMake->setEnabled(true);
    SbtnStop->setEnabled(false);
    reportResult(result, output);
    running_ = false;
}

void TFrmMake::reportResult(const production::RunResult& result, const QString& output) {
    if (!result.error.empty() && !result.encoderError) {
        // A picture, a song or a background that could not be read, or settings a run refuses.
        dialogs_.showMessage(this, QStringLiteral("错误"), QString::fromStdString(result.error),
                             MessageIcon::Error);
        return;
    }
    if (result.outcome == production::RunOutcome::NotStarted)
        return;
    if (result.fileWritten && !result.discError.empty()) {
        // The video is there; the images ready to burn are not.
        dialogs_.showMessage(this, QStringLiteral("错误"),
                             QStringLiteral("视频文件已生成，但光盘映像生成失败：") +
                                 QString::fromStdString(result.discError),
                             MessageIcon::Error);
    }
    if (result.fileWritten) {
        if (!dialogs_.askYesNo(this, QStringLiteral("完成"), QStringLiteral("文件生成完毕！请确定查看。"),
                               MessageIcon::Information))
            return;
        const QFileInfo file(output);
        if (!dialogs_.openFolder(file.absolutePath()))
            // No file manager to show it: say where the video is instead.
            dialogs_.showMessage(
                this, QStringLiteral("完成"),
                QStringLiteral("无法打开文件夹（没有可用的文件管理器）。视频文件保存在：\n%1")
                    .arg(QDir::toNativeSeparators(file.absoluteFilePath())),
                MessageIcon::Information);
    } else {
        dialogs_.showMessage(this, QStringLiteral("错误"),
                             QStringLiteral("创建相册视频文件出错，请重新制作！"), MessageIcon::Information);
    }
}

void TFrmMake::SbtnStopClick() {
    run_.Stop();
}

void TFrmMake::reject() {
    if (running())
        return;
    QDialog::reject();
}

void TFrmMake::closeEvent(QCloseEvent* event) {
    if (running()) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

} // namespace vistello::app
