#include "app/main_window/list_models.h"

#include "app/application/artwork.h"
#include "effects/effect_names.h"

#include <QMimeData>

namespace vistello::app {

namespace {
QString text(const std::string& utf8) {
    return QString::fromStdString(utf8);
}
} // namespace

StoreListModel::StoreListModel(store::AlbumStore& store, QIcon rowIcon, QStringList captions, QObject* parent)
    : QAbstractTableModel(parent), store_(store), rowIcon_(std::move(rowIcon)),
      captions_(std::move(captions)) {}

int StoreListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(captions_.size());
}

QVariant StoreListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
        section < captions_.size())
        return captions_[section];
    return {};
}

QVariant StoreListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    if (index.column() == 0)
        return role == Qt::DecorationRole ? QVariant(rowIcon_) : QVariant();
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
        return cellText(index.row(), index.column());
    return {};
}

void StoreListModel::allowRowDrags(const QString& listName) {
    dragName_ = listName;
}

Qt::ItemFlags StoreListModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags result = QAbstractTableModel::flags(index);
    if (index.isValid() && !dragName_.isEmpty())
        result |= Qt::ItemIsDragEnabled;
    return result;
}

QStringList StoreListModel::mimeTypes() const {
    return {QString::fromLatin1(kRowDragMimeType)};
}

QMimeData* StoreListModel::mimeData(const QModelIndexList& indexes) const {
    if (indexes.isEmpty() || dragName_.isEmpty())
        return nullptr;
    auto* data = new QMimeData;
    data->setData(QString::fromLatin1(kRowDragMimeType),
                  QStringLiteral("%1 %2").arg(dragName_).arg(indexes.front().row()).toUtf8());
    return data;
}

void StoreListModel::reset() {
    beginResetModel();
    endResetModel();
}

void StoreListModel::rowChanged(int row) {
    emit dataChanged(index(row, 0), index(row, columnCount() - 1));
}

AlbumListModel::AlbumListModel(store::AlbumStore& store, QObject* parent)
    : StoreListModel(store, listIcon(ListIcon::Album), {QString(), QStringLiteral("相册名称")}, parent) {}

int AlbumListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : store_.AlbumCount();
}

QString AlbumListModel::cellText(int row, int) const {
    return text(store_.albumName(row));
}

PictureListModel::PictureListModel(store::AlbumStore& store, QObject* parent)
    : StoreListModel(store, listIcon(ListIcon::Picture),
                     {QString(), QStringLiteral("停留时间"), QStringLiteral("过渡效果"),
                      QStringLiteral("图片题目"), QStringLiteral("备注")},
                     parent) {}

int PictureListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : store_.PicCount();
}

void PictureListModel::reset() {
    typedTimes_.clear();
    StoreListModel::reset();
}

void PictureListModel::rowChanged(int row) {
    typedTimes_.remove(row);
    StoreListModel::rowChanged(row);
}

void PictureListModel::showTypedTime(int row, const QString& typed) {
    if (row < 0 || row >= rowCount())
        return;
    typedTimes_.insert(row, typed);
    emit dataChanged(index(row, 1), index(row, 1));
}

QString PictureListModel::cellText(int row, int column) const {
    const store::TPicInfo& p = store_.PicList[static_cast<std::size_t>(row)];
    switch (column) {
    case 1:
        return typedTimes_.value(row, QString::number(p.StayTime));
    case 2:
        return text(std::string(effects::EffectName(p.Effect)));
    case 3:
        return text(p.Title.text());
    default:
        return text(p.Remark.text());
    }
}

SongListModel::SongListModel(store::AlbumStore& store, QObject* parent)
    : StoreListModel(store, listIcon(ListIcon::Song),
                     {QString(), QStringLiteral("播放时间"), QStringLiteral("歌曲名称"),
                      QStringLiteral("歌手信息"), QStringLiteral("备注信息")},
                     parent) {}

int SongListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : store_.MusicCount();
}

QString SongListModel::cellText(int row, int column) const {
    const store::TMusicInfo& m = store_.MusicList[static_cast<std::size_t>(row)];
    switch (column) {
    case 1:
        return QString::number(m.PlayTime);
    case 2:
        return text(m.SongName.text());
    case 3:
        return text(m.Singer.text());
    default:
        return text(m.Remark.text());
    }
}

} // namespace vistello::app
