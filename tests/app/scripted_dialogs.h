#pragma once
// A UserDialogs for window tests: answers questions from a queue, records what was asked,
// and runs the program's own dialogs through a test-supplied function instead of exec().

#include "app/application/user_dialogs.h"

#include <QDialog>
#include <QStringList>
#include <deque>
#include <functional>

namespace vistello::app::testing {

class ScriptedDialogs final : public UserDialogs {
  public:
    std::deque<bool> answers; // Yes/No answers, in order; a missing answer is No
    QStringList questions;    // every question asked
    QStringList messages;     // every message shown
    QStringList filesToOpen;  // what the next open dialog returns
    QString openFilter;       // the filter the last open dialog was given
    QString fileToSave;
    std::optional<QColor> colorToPick;
    std::function<int(QDialog&)> driveDialog; // runs a modal dialog of the program
    QStringList openedFolders;
    bool folderOpens = true; // whether a file manager opens the folders asked for

    bool askYesNo(QWidget*, const QString&, const QString& question, MessageIcon) override {
        questions << question;
        if (answers.empty())
            return false;
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void showMessage(QWidget*, const QString&, const QString& text, MessageIcon) override {
        messages << text;
    }
    QStringList getOpenFileNames(QWidget*, const QString&, const QString& filter) override {
        openFilter = filter;
        return filesToOpen;
    }
    QString getSaveFileName(QWidget*, const QString&, const QString&, const QString&) override {
        return fileToSave;
    }
    std::optional<QColor> getColor(QWidget*, const QColor&) override { return colorToPick; }
    int runModal(QDialog& dialog) override {
        if (driveDialog)
            return driveDialog(dialog);
        return QDialog::Rejected;
    }
    bool openFolder(const QString& folder) override {
        openedFolders << folder;
        return folderOpens;
    }
};

} // namespace vistello::app::testing
