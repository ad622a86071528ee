#pragma once
// Drops onto the picture and song lists of the main window: files and folders dragged from
// the file manager are imported as the add button imports them (a folder with its
// subfolders; files of other kinds skipped and counted), and a row of the list dragged to a
// new place moves there.

#include <QList>
#include <QMimeData>
#include <QObject>
#include <QStringList>
#include <QUrl>

#include <functional>

class QTableView;

namespace vistello::app {

struct DroppedFiles {
    QStringList files; // of the list's kinds, folders walked in name order
    int skipped = 0;   // other files
};

// The local files that `urls` name, each folder with everything under it, split into those
// whose extension (compared without case) is one of `extensions` and the count of the rest.
DroppedFiles collectDroppedFiles(const QList<QUrl>& urls, const QStringList& extensions);

// Watches the view's drops (its viewport's drag and drop events).
class ListDropTarget final : public QObject {
    Q_OBJECT
  public:
    struct Actions {
        std::function<bool()> accepting;                              // an album is open
        std::function<void(const DroppedFiles& dropped)> importFiles; // files and folders
        std::function<void(int from, int to)> moveRow;                // one of the list's rows
    };
    // `listName` is the name the list's model gives its dragged rows (allowRowDrags).
    ListDropTarget(QTableView* view, QString listName, QStringList extensions, Actions actions);

    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool acceptable(const QMimeData* data) const;
    int draggedRow(const QMimeData* data) const;

    QTableView* view_;
    QString listName_;
    QStringList extensions_;
    Actions actions_;
};

// Takes drops of files and folders on a container of the lists, which Qt hands the drops
// that its disabled children cannot take: the lists are disabled while the open album has
// nothing on the page shown, and that is when dropping the first pictures in matters most.
class FileDropArea final : public QObject {
    Q_OBJECT
  public:
    // `accepting` says whether a drop is wanted now; `dropped` gets the dropped URLs.
    FileDropArea(QWidget* area, std::function<bool()> accepting,
                 std::function<void(const QList<QUrl>&)> dropped);

    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    std::function<bool()> accepting_;
    std::function<void(const QList<QUrl>&)> dropped_;
};

} // namespace vistello::app
