#pragma once
// UndoCommands: the main window's undo and redo of list changes. It owns the undo history of
// the store, the two commands with their keys (Ctrl+Z; Ctrl+Y or Ctrl+Shift+Z) and the context
// menu of the lists that offers them, and runs every change of the store so that the commands'
// captions follow it. How the window shows the store after a change is the window's business:
// it hears of it through the two signals. The store outlives this object.

#include "store/album_store.h"
#include "store/undo_history.h"

#include <QList>
#include <QObject>

#include <functional>

class QAction;
class QMenu;
class QPoint;
class QWidget;

namespace vistello::app {

class UserDialogs;

class UndoCommands final : public QObject {
    Q_OBJECT
  public:
    // Adds the commands to `window`, whose keys reach them anywhere in it, and offers them in the
    // context menu of each of `lists`. The actions and the menu are children of `window`, which
    // outlives this object; an undo or redo that fails is shown through `dialogs`.
    UndoCommands(store::AlbumStore& store, UserDialogs& dialogs, QWidget* window,
                 const QList<QWidget*>& lists);

    store::UndoHistory& history() { return history_; }

    // Runs a change of the store. Whether it succeeds or throws, the commands follow it; when it
    // throws, storeNeedsShowing is emitted (the lists are shown again as the store holds them,
    // which is what the files hold) before the error goes on to the handler's guard.
    void changeStore(const std::function<void()>& change);
    // Captions and enabled states from the history.
    void refresh();

    void UndoClick();
    void RedoClick();

  signals:
    // The store may hold what the window does not show: a change failed part way.
    void storeNeedsShowing();
    // A change of `list` was taken back or made again.
    void changeReplayed(store::ListKind list);

  private:
    void showListMenu(QWidget* list, const QPoint& position);

    store::AlbumStore& store_;
    store::UndoHistory history_;
    QAction* ActUndo = nullptr;
    QAction* ActRedo = nullptr;
    QMenu* PmnList = nullptr;
};

} // namespace vistello::app
