#pragma once
// Every question, message and standard dialog the windows show goes through UserDialogs, so
// tests answer them in code and never block on a modal box. QtUserDialogs shows the real ones.

#include <QColor>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QDialog;
class QWidget;

namespace vistello::app {

enum class MessageIcon { Information, Warning, Error, Question };

class UserDialogs {
  public:
    virtual ~UserDialogs() = default;

    // A Yes/No question; true only when the user answers Yes.
    virtual bool askYesNo(QWidget* parent, const QString& title, const QString& question,
                          MessageIcon icon) = 0;
    virtual void showMessage(QWidget* parent, const QString& title, const QString& text,
                             MessageIcon icon) = 0;
    // filter uses Qt's form: "Description (*.a *.b);;Other (*.c)".
    virtual QStringList getOpenFileNames(QWidget* parent, const QString& title, const QString& filter) = 0;
    virtual QString getSaveFileName(QWidget* parent, const QString& title, const QString& initialPath,
                                    const QString& filter) = 0;
    // A save dialog that proposes a name of its own in every folder the user enters:
    // `nameInFolder` gets the folder and returns the full path to propose there. Dialogs that
    // cannot follow the user's moves show the plain save dialog.
    virtual QString
    getSaveFileNameProposing(QWidget* parent, const QString& title, const QString& initialPath,
                             const QString& filter,
                             const std::function<QString(const QString& folder)>& nameInFolder) {
        (void)nameInFolder;
        return getSaveFileName(parent, title, initialPath, filter);
    }
    virtual std::optional<QColor> getColor(QWidget* parent, const QColor& initial) = 0;
    // Shows one of the program's own dialogs modally and returns its result code.
    virtual int runModal(QDialog& dialog) = 0;
    // Opens a folder in the desktop's file manager; false when it cannot be opened (no file
    // manager or launcher installed).
    virtual bool openFolder(const QString& folder) = 0;
};

class QtUserDialogs final : public UserDialogs {
  public:
    bool askYesNo(QWidget* parent, const QString& title, const QString& question, MessageIcon icon) override;
    void showMessage(QWidget* parent, const QString& title, const QString& text, MessageIcon icon) override;
    QStringList getOpenFileNames(QWidget* parent, const QString& title, const QString& filter) override;
    QString getSaveFileName(QWidget* parent, const QString& title, const QString& initialPath,
                            const QString& filter) override;
    QString
    getSaveFileNameProposing(QWidget* parent, const QString& title, const QString& initialPath,
                             const QString& filter,
                             const std::function<QString(const QString& folder)>& nameInFolder) override;
    std::optional<QColor> getColor(QWidget* parent, const QColor& initial) override;
    int runModal(QDialog& dialog) override;
    bool openFolder(const QString& folder) override;
};

// Turns a Windows-style filter ("Description|*.a;*.b|Other|*.c") into Qt's form.
QString qtFileFilter(const QString& pairs);

} // namespace vistello::app
