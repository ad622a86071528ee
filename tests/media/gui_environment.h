#pragma once
// A QGuiApplication for the whole test program, as the window program and the command-line
// tool have one: Qt's image plugins and the metafiles' text drawing expect it. Offscreen platform.

#include <gtest/gtest.h>

#include <QGuiApplication>

#include <memory>

namespace vistello::media::testing {

class GuiEnvironment : public ::testing::Environment {
  public:
    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        app_ = std::make_unique<QGuiApplication>(argc_, argv_);
    }
    void TearDown() override { app_.reset(); }

  private:
    int argc_ = 1;
    char name_[16] = "media-test";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QGuiApplication> app_;
};

inline ::testing::Environment* const kGuiEnvironment =
    ::testing::AddGlobalTestEnvironment(new GuiEnvironment);

} // namespace vistello::media::testing
