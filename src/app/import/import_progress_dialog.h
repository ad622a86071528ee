#pragma once
// ImportProgressDialog: what the picture and the music import dialogs have in common. A line
// that counts the files, the path of the file at hand, a progress bar and a cancel button whose
// tag is the cancel mark; a one-shot timer whose first tick, one interval after the dialog was
// shown, runs the whole batch and then closes the dialog; and a title-bar close that only marks
// a running batch, which goes on to its end (the cancel button is the way to stop early).
// Both batches report to the dialog through the one store::ImportProgress it hands them.

#include "store/import_batch.h"

#include <QDialog>
#include <QStringList>
#include <QTimer>

#include <exception>
#include <filesystem>
#include <vector>

class QLabel;
class QProgressBar;
class QPushButton;

namespace vistello::app {

class UserDialogs;

class ImportProgressDialog : public QDialog {
    Q_OBJECT
  public:
    void Button1Click();
    void Timer1Timer();
    QTimer& Timer1() { return Timer1_; }
    // The error the batch ended with (the list could not be saved), else null.
    std::exception_ptr failure() const { return failure_; }
    // The title-bar close was used while the batch was going on.
    bool closeRequested() const { return closeRequested_; }

    // For the batch's progress report: the cancel mark, and the start of file `index` (from 0)
    // of `count`, shown in the dialog before window messages are let through once, which is
    // where a click on the cancel button is heard.
    bool cancelMarked() const;
    void fileStarting(int index, int count, const QString& file);
    // A drop brought files of other kinds, which are not imported: says how many, left of
    // the cancel button (`what` names the kind, "图片" or "MP3音乐").
    void showSkipped(int count, const QString& what);

  protected:
    ImportProgressDialog(const QString& name, const QString& caption, const QStringList& files,
                         QWidget* parent);
    // The files as the import takes them, and the report it gives through the cancel mark
    // and fileStarting.
    std::vector<std::filesystem::path> filePaths() const;
    store::ImportProgress& progress() { return progress_; }
    // Runs the batch over filePaths(); called once, inside the timer's first tick.
    virtual void importFiles() = 0;
    void reject() override;

  private:
    class Progress final : public store::ImportProgress {
      public:
        explicit Progress(ImportProgressDialog& dialog) : dialog_(dialog) {}
        bool cancelled() const override { return dialog_.cancelMarked(); }
        void fileStarting(int index, int count, const std::filesystem::path& file) override;

      private:
        ImportProgressDialog& dialog_;
    };

    QStringList files_;
    Progress progress_{*this};
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    QPushButton* Button1 = nullptr;
    QTimer Timer1_;
    bool importing_ = false;
    bool closeRequested_ = false;
    std::exception_ptr failure_;
};

// Starts the dialog's timer, shows the dialog modally through `dialogs` and, once it has
// closed, throws the error its batch ended with.
void runImportDialog(ImportProgressDialog& dialog, UserDialogs& dialogs);

} // namespace vistello::app
