#include "app/main_window/list_drops.h"

#include "app/main_window/list_models.h"

#include <QDirIterator>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QTableView>

#include <algorithm>

namespace vistello::app {

DroppedFiles collectDroppedFiles(const QList<QUrl>& urls, const QStringList& extensions) {
    DroppedFiles dropped;
    auto take = [&](const QString& path) {
        if (extensions.contains(QFileInfo(path).suffix(), Qt::CaseInsensitive))
            dropped.files << path;
        else
            ++dropped.skipped;
    };
    for (const QUrl& url : urls) {
        if (!url.isLocalFile())
            continue;
        const QString path = url.toLocalFile();
        const QFileInfo info(path);
        if (info.isDir()) {
            QStringList inFolder;
            QDirIterator walk(path, QDir::Files | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
            while (walk.hasNext())
                inFolder << walk.next();
            std::sort(inFolder.begin(), inFolder.end()); // the walk's own order is the file system's
            for (const QString& file : inFolder)
                take(file);
        } else if (info.isFile()) {
            take(path);
        }
    }
    return dropped;
}

ListDropTarget::ListDropTarget(QTableView* view, QString listName, QStringList extensions, Actions actions)
    : QObject(view), view_(view), listName_(std::move(listName)), extensions_(std::move(extensions)),
      actions_(std::move(actions)) {
    view_->setDragEnabled(true);
    view_->setDragDropMode(QAbstractItemView::DragDrop);
    view_->setDefaultDropAction(Qt::MoveAction);
    view_->setAcceptDrops(true);
    view_->viewport()->setAcceptDrops(true);
    view_->viewport()->installEventFilter(this);
}

int ListDropTarget::draggedRow(const QMimeData* data) const {
    const QString text = QString::fromUtf8(data->data(QString::fromLatin1(kRowDragMimeType)));
    const qsizetype space = text.lastIndexOf(QLatin1Char(' '));
    if (space < 0 || text.left(space) != listName_)
        return -1;
    bool ok = false;
    const int row = text.mid(space + 1).toInt(&ok);
    return ok ? row : -1;
}

bool ListDropTarget::acceptable(const QMimeData* data) const {
    if (!data || !actions_.accepting())
        return false;
    if (data->hasFormat(QString::fromLatin1(kRowDragMimeType)))
        return draggedRow(data) >= 0;
    return data->hasUrls();
}

bool ListDropTarget::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        if (acceptable(drag->mimeData())) {
            // A row moves; files are copied into the album, never moved away from their folder.
            drag->setDropAction(drag->mimeData()->hasUrls() ? Qt::CopyAction : Qt::MoveAction);
            drag->accept();
        } else {
            drag->ignore();
        }
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        const QMimeData* data = drop->mimeData();
        if (!acceptable(data)) {
            drop->ignore();
            return true;
        }
        // The view must not remove the dragged row itself: the store's list is rewritten here.
        drop->setDropAction(Qt::CopyAction);
        drop->accept();
        if (data->hasFormat(QString::fromLatin1(kRowDragMimeType))) {
            const int rows = view_->model()->rowCount();
            const QModelIndex at = view_->indexAt(drop->position().toPoint());
            actions_.moveRow(draggedRow(data), at.isValid() ? at.row() : rows - 1);
        } else {
            actions_.importFiles(collectDroppedFiles(data->urls(), extensions_));
        }
        return true;
    }
    default:
        return QObject::eventFilter(watched, event);
    }
}

FileDropArea::FileDropArea(QWidget* area, std::function<bool()> accepting,
                           std::function<void(const QList<QUrl>&)> dropped)
    : QObject(area), accepting_(std::move(accepting)), dropped_(std::move(dropped)) {
    area->setAcceptDrops(true);
    area->installEventFilter(this);
}

bool FileDropArea::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
        return QObject::eventFilter(watched, event);
    auto* drop = static_cast<QDropEvent*>(event);
    if (!drop->mimeData() || !drop->mimeData()->hasUrls() || !accepting_()) {
        drop->ignore();
        return true;
    }
    drop->setDropAction(Qt::CopyAction);
    drop->accept();
    if (type == QEvent::Drop)
        dropped_(drop->mimeData()->urls());
    return true;
}

} // namespace vistello::app
