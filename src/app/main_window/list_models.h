#pragma once
// Table models over the album store's arrays: row i shows record i of the album, picture or
// song list. The models hold no copies; after the store changes, the owner calls reset() (a
// full refill) or rowChanged() (one rewritten row).

#include "store/album_store.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QIcon>
#include <QMimeData>

namespace vistello::app {

class StoreListModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    StoreListModel(store::AlbumStore& store, QIcon rowIcon, QStringList captions, QObject* parent);

    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    virtual void reset();
    virtual void rowChanged(int row);

    // Lets rows be dragged (to a new place in the same list): a drag carries kRowDragMimeType
    // with "<listName> <row>", so a drop can tell a row of its own list from anything else.
    void allowRowDrags(const QString& listName);
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    Qt::DropActions supportedDragActions() const override { return Qt::MoveAction; }

  protected:
    // Text of column `column` (1-based: column 0 only shows the icon) of row `row`.
    virtual QString cellText(int row, int column) const = 0;
    store::AlbumStore& store_;

  private:
    QIcon rowIcon_;
    QStringList captions_;
    QString dragName_;
};

inline constexpr char kRowDragMimeType[] = "application/x-vistello-list-row";

// LvwA: the icon column and "相册名称".
class AlbumListModel final : public StoreListModel {
  public:
    AlbumListModel(store::AlbumStore& store, QObject* parent);
    int rowCount(const QModelIndex& parent = {}) const override;

  private:
    QString cellText(int row, int column) const override;
};

// LvwP: 停留时间, 过渡效果, 图片题目, 备注. A time given to a row as typed (by "到全部") is
// shown as typed until the row is rewritten from its record or the list is refilled.
class PictureListModel final : public StoreListModel {
  public:
    PictureListModel(store::AlbumStore& store, QObject* parent);
    int rowCount(const QModelIndex& parent = {}) const override;

    void reset() override;
    void rowChanged(int row) override;
    void showTypedTime(int row, const QString& typed);

  private:
    QString cellText(int row, int column) const override;
    QHash<int, QString> typedTimes_;
};

// LvwM: 播放时间, 歌曲名称, 歌手信息, 备注信息.
class SongListModel final : public StoreListModel {
  public:
    SongListModel(store::AlbumStore& store, QObject* parent);
    int rowCount(const QModelIndex& parent = {}) const override;

  private:
    QString cellText(int row, int column) const override;
};

} // namespace vistello::app
