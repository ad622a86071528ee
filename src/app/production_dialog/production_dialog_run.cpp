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

void TFrmMake::phaseChanged(production::RunPhase state) {
    status_.apply(state);
    showStatus();
    if (state == production::RunPhase::MakingDisc)
        processPendingEvents(); // the text shows before the authoring tools take their time
}

bool TFrmMake::progressed(const production::RunProgress& progress) {
    status_.apply(progress);
    showStatus();
    // Clicks on the dialog, the stop button's among them, are handled here.
    processPendingEvents();
    return !stopAsked_;
}

void TFrmMake::showStatus() {
    SetSettingsEnabled(status_.settingsEnabled);
    SbtnMake->setEnabled(!status_.running);
    SbtnStop->setEnabled(status_.running);
    setBusyCursor(status_.busy);
    Lguage->setText(status_.progress);
    LOverTine->setText(status_.time);
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

void TFrmMake::preview(const effects::Bitmap& frame) {
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
    stopAsked_ = false;
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
    using production::RunFailure;
    // The encoder's own reports (the file could not be written, say) get no text of their own:
    // the run is judged by its file, as after a stop.
    const bool judgedByFile =
        result.error.what == RunFailure::Encoder || result.error.what == RunFailure::OutputNotCreated;
    if (result.error && !judgedByFile) {
        // A picture, a song or a background that could not be read, or settings a run refuses.
        dialogs_.showMessage(this, runErrorTitle(), runErrorText(result.error), MessageIcon::Error);
        return;
    }
    if (result.outcome == production::RunOutcome::NotStarted)
        return;
    if (result.fileWritten && !result.discError.empty()) {
        // The video is there; the images ready to burn are not.
        dialogs_.showMessage(this, runErrorTitle(), discFailedText(QString::fromStdString(result.discError)),
                             MessageIcon::Error);
    }
    if (result.fileWritten) {
        if (!dialogs_.askYesNo(this, runDoneTitle(), runDoneQuestion(), MessageIcon::Information))
            return;
        const QFileInfo file(output);
        if (!dialogs_.openFolder(file.absolutePath()))
            // No file manager to show it: say where the video is instead.
            dialogs_.showMessage(this, runDoneTitle(),
                                 folderNotOpenedText(QDir::toNativeSeparators(file.absoluteFilePath())),
                                 MessageIcon::Information);
    } else {
        dialogs_.showMessage(this, runErrorTitle(), runFailedText(), MessageIcon::Information);
    }
}

void TFrmMake::SbtnStopClick() {
    // The run hears it as the answer to the progress notification this click comes in.
    if (run_.running())
        stopAsked_ = true;
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
