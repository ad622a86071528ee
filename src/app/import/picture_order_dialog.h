#pragma once
// TFrmPicOrder: asked before a batch of several pictures is imported, whether they go into
// the album by the date they were taken or by file name. The last choice is remembered in
// the store's folder and offered first next time.

#include "media/picture_order.h"
#include "store/album_store.h"

#include <QDialog>
#include <QStringList>

#include <optional>

class QPushButton;
class QRadioButton;

namespace vistello::app {

class UserDialogs;

class TFrmPicOrder final : public QDialog {
    Q_OBJECT
  public:
    TFrmPicOrder(media::PictureOrder initial, QWidget* parent = nullptr);

    media::PictureOrder chosenOrder() const;

  private:
    QRadioButton* RbtnByDate = nullptr;
    QRadioButton* RbtnByName = nullptr;
    QPushButton* BtnOK = nullptr;
    QPushButton* BtnCancel = nullptr;
};

// The files in the order the user chooses through a TFrmPicOrder shown by `dialogs` (which
// is remembered), or nullopt when the user cancels, which cancels the import. A single file
// is returned as it is, without asking.
std::optional<QStringList> orderForImport(store::AlbumStore& store, const QStringList& files,
                                          UserDialogs& dialogs, QWidget* parent);

} // namespace vistello::app
