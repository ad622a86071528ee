#pragma once
// Shared by the window benchmarks: silent answers to every dialog, and a main() that runs the
// benchmarks under an offscreen QApplication.

#include "app/application/user_dialogs.h"

#include <QApplication>
#include <benchmark/benchmark.h>

namespace vistello::bench {

// No box is ever shown, every question is answered No, and a save dialog returns `saveName`.
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
    bool openFolder(const QString&) override { return true; }
};

inline int runWindowBenchmarks(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace vistello::bench
