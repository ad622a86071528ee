#pragma once
// TFrmAddP: the progress dialog of the picture import. It waits one timer interval after it
// is shown, then imports the whole batch inside that tick (ImportPictures of the media
// module), letting window messages through once per file so that its cancel button is
// heard, saves the picture list and closes itself. The title-bar close does not stop a run:
// it only marks the dialog, which closes when the run has ended.

#include "store/album_store.h"

#include <QDialog>
#include <QStringList>
#include <QTimer>

#include <exception>

class QLabel;
class QProgressBar;
class QPushButton;

namespace vistello::app {

class UserDialogs;

class TFrmAddP final : public QDialog {
    Q_OBJECT
  public:
    // `dialogs` shows the TIFF reader's messages as message boxes.
    TFrmAddP(store::AlbumStore& store, const QStringList& files, UserDialogs& dialogs,
             QWidget* parent = nullptr);

    void Button1Click();
    void Timer1Timer();
    QTimer& Timer1() { return Timer1_; }
    // The store's error when the picture list could not be saved, else null.
    std::exception_ptr failure() const { return failure_; }
    // The title-bar close was used while the run was going on.
    bool closeRequested() const { return closeRequested_; }

  protected:
    void reject() override;

  private:
    store::AlbumStore& store_;
    QStringList files_;
    UserDialogs& dialogs_;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    QPushButton* Button1 = nullptr;
    QTimer Timer1_;
    bool importing_ = false;
    bool closeRequested_ = false;
    std::exception_ptr failure_;
};

// Imports `files` into the open album under a TFrmAddP shown through `dialogs`: the picture
// branch of the main window's add button calls this with the files its open dialog
// returned, then refills its picture list. The list is saved when it returns; a failure to
// save it is thrown (StoreError) after the dialog has closed.
void ImportPictures(store::AlbumStore& store, const QStringList& files, UserDialogs& dialogs,
                    QWidget* parent);

} // namespace vistello::app
