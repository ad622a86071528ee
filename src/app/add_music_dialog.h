#pragma once
// TFrmAddM: the progress dialog of the music import. It waits one timer interval after it
// is shown, then imports the whole batch inside that tick (ImportMusic of the audio module),
// letting window messages through once per file so that its cancel button is heard, saves
// the song list and closes itself.

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

class TFrmAddM final : public QDialog {
    Q_OBJECT
public:
    TFrmAddM(store::AlbumStore& store, const QStringList& files, QWidget* parent = nullptr);

    void Button1Click();
    void Timer1Timer();
    QTimer& Timer1() { return Timer1_; }
    // The store's error when the song list could not be saved, else null.
    std::exception_ptr failure() const { return failure_; }

protected:
    // Closing the box while songs are imported is a cancel; the batch ends after the file
    // at hand and the dialog then closes itself.
    void reject() override;

private:
    store::AlbumStore& store_;
    QStringList files_;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    QPushButton* Button1 = nullptr;
    QTimer Timer1_;
    bool importing_ = false;
    std::exception_ptr failure_;
};

// Imports `files` into the open album under a TFrmAddM shown through `dialogs`. The song
// list is saved when it returns; the caller refills its song list view. A failure to save
// the list is thrown (StoreError) after the dialog has closed.
void ImportMusic(store::AlbumStore& store, const QStringList& files, UserDialogs& dialogs, QWidget* parent);

} // namespace vistello::app
