#pragma once
// TFrmAddA: creates albums. It lists the existing albums, checks the typed name while it is
// typed, and creates as many albums as the user likes in one visit. An album that cannot be
// made is shown through UserDialogs, and the dialog stays open.

#include "store/album_store.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace vistello::app {

class UserDialogs;

class TFrmAddA final : public QDialog {
    Q_OBJECT
  public:
    TFrmAddA(store::AlbumStore& store, UserDialogs& dialogs, QWidget* parent = nullptr);

    // True once an album has been created in this visit.
    bool createdAlbum() const { return created_; }

    void EdtChange();
    void BtnAddClick();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void updateCountLabel();
    // Tells in the notice line that the typed name is too long and to what it is cut.
    void showShortenedNotice(const QString& shortened);

    store::AlbumStore& store_;
    UserDialogs& dialogs_;
    bool created_ = false;
    QLabel* Lab = nullptr;
    QListWidget* Lst = nullptr;
    QLineEdit* Edt = nullptr;
    QPushButton* BtnAdd = nullptr;
    QPushButton* BtnClose = nullptr;
    QLabel* PnlNotice = nullptr;
};

} // namespace vistello::app
