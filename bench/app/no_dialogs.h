#pragma once
// Silent answers for the window benchmarks: no box is ever shown, every question is answered
// No, and a save dialog returns `saveName`.

#include "app/user_dialogs.h"

namespace vistello::bench {

class NoDialogs final : public app::UserDialogs {
  public:
    QString saveName;

    bool askYesNo(QWidget*, const QString&, const QString&, app::MessageIcon) override { return false; }
    void showMessage(QWidget*, const QString&, const QString&, app::MessageIcon) override {}
    QStringList getOpenFileNames(QWidget*, const QString&, const QString&) override { return {}; }
    QString getSaveFileName(QWidget*, const QString&, const QString&, const QString&) override {
        return saveName;
    }
    std::optional<QColor> getColor(QWidget*, const QColor&) override { return std::nullopt; }
    int runModal(QDialog&) override { return 0; }
    void openFolder(const QString&) override {}
};

} // namespace vistello::bench
