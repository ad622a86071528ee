#include "app/main_window/undo_commands.h"

#include "app/application/guarded.h"

#include <QAction>
#include <QMenu>
#include <QTableView>

namespace vistello::app {

namespace {

QString changeName(const store::ChangeSummary& change) {
    const bool songs = change.list == store::ListKind::Songs;
    switch (change.kind) {
    case store::ChangeKind::Move:
        return songs ? QStringLiteral("移动音乐") : QStringLiteral("移动图片");
    case store::ChangeKind::Delete:
        return songs ? QStringLiteral("删除音乐") : QStringLiteral("删除图片");
    case store::ChangeKind::DeleteAll:
        return songs ? QStringLiteral("删除全部音乐") : QStringLiteral("删除全部图片");
    case store::ChangeKind::Edit:
        return QStringLiteral("编辑图片信息");
    case store::ChangeKind::Import:
        return songs ? QStringLiteral("加入音乐") : QStringLiteral("加入图片");
    case store::ChangeKind::CreateAlbum:
        return QStringLiteral("新建相册《%1》").arg(QString::fromStdString(change.album));
    case store::ChangeKind::DeleteAlbum:
        return QStringLiteral("删除相册《%1》").arg(QString::fromStdString(change.album));
    }
    return {};
}

// "撤销删除图片", with the album named when the change belongs to another one than the open
// album; the bare verb when there is nothing to take back.
QString commandCaption(const QString& verb, const std::optional<store::ChangeSummary>& change,
                       const store::AlbumStore& store) {
    if (!change)
        return verb;
    QString caption = verb + changeName(*change);
    if (change->list != store::ListKind::Albums && store.AlbumPath().filename().string() != change->album)
        caption += QStringLiteral("（相册《%1》）").arg(QString::fromStdString(change->album));
    return caption;
}

} // namespace

UndoCommands::UndoCommands(store::AlbumStore& store, UserDialogs& dialogs, QWidget* window,
                           const QList<QWidget*>& lists)
    : store_(store), history_(store) {
    ActUndo = new QAction(QStringLiteral("撤销"), window);
    ActUndo->setObjectName(QStringLiteral("ActUndo"));
    ActUndo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    ActRedo = new QAction(QStringLiteral("重做"), window);
    ActRedo->setObjectName(QStringLiteral("ActRedo"));
    ActRedo->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    for (QAction* action : {ActUndo, ActRedo}) {
        action->setShortcutContext(Qt::WindowShortcut);
        window->addAction(action);
    }
    connect(ActUndo, &QAction::triggered, this, guardedSlot(window, dialogs, this, &UndoCommands::UndoClick));
    connect(ActRedo, &QAction::triggered, this, guardedSlot(window, dialogs, this, &UndoCommands::RedoClick));

    PmnList = new QMenu(window);
    PmnList->setObjectName(QStringLiteral("PmnList"));
    PmnList->addAction(ActUndo);
    PmnList->addAction(ActRedo);
    // An empty list is disabled and passes the menu request on to the notebook that holds it.
    for (QWidget* list : lists) {
        list->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(list, &QWidget::customContextMenuRequested, this,
                [this, list](const QPoint& position) { showListMenu(list, position); });
    }
    refresh();
}

void UndoCommands::refresh() {
    const std::optional<store::ChangeSummary> undo = history_.nextUndo();
    const std::optional<store::ChangeSummary> redo = history_.nextRedo();
    ActUndo->setText(commandCaption(QStringLiteral("撤销"), undo, store_));
    ActRedo->setText(commandCaption(QStringLiteral("重做"), redo, store_));
    ActUndo->setEnabled(undo.has_value());
    ActRedo->setEnabled(redo.has_value());
}

void UndoCommands::showListMenu(QWidget* list, const QPoint& position) {
    refresh();
    // A list view reports the position in its viewport. popup, not exec: the menu runs in the
    // window's own event loop.
    const auto* view = qobject_cast<QTableView*>(list);
    PmnList->popup((view ? view->viewport() : list)->mapToGlobal(position));
}

void UndoCommands::changeStore(const std::function<void()>& change) {
    try {
        change();
    } catch (...) {
        emit storeNeedsShowing();
        refresh();
        throw;
    }
    refresh();
}

void UndoCommands::UndoClick() {
    const std::optional<store::ChangeSummary> change = history_.nextUndo();
    if (!change)
        return;
    changeStore([this] { history_.undo(); });
    emit changeReplayed(change->list);
}

void UndoCommands::RedoClick() {
    const std::optional<store::ChangeSummary> change = history_.nextRedo();
    if (!change)
        return;
    changeStore([this] { history_.redo(); });
    emit changeReplayed(change->list);
}

} // namespace vistello::app
