#pragma once

// A main window over a temporary program home: the home with its data directory, and the window
// opened on it as the program opens it, with the settings the home's velnora.ini holds.

#include <gtest/gtest.h>

#include <QSize>
#include <QTest>
#include <memory>

#include "fetch/traffic_stats.h"
#include "files/program_home.h"
#include "settings/app_settings.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"
#include "window/main_window.h"

namespace velnora::window {

class WindowFixture : public testing::Test {
  protected:
    WindowFixture() { velnora::test::MakeDir(home_ / "data"); }

    // Opens the window (of the given size, or the stored one) and waits until it is shown.
    MainWindow& Open(QSize size = QSize()) {
        home_found_ = *files::FindProgramHome();
        settings::LoadAppSettings(home_found_.directory + "velnora.ini", settings_);
        window_ = std::make_unique<MainWindow>(home_found_, settings_, stats_);
        if (size.isValid()) {
            window_->resize(size);
        }
        window_->ShowAsStored();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
        return *window_;
    }

    velnora::test::TempDir home_;
    velnora::test::ScopedEnv home_variable_{"VELNORA_HOME", home_.path()};
    files::ProgramHome home_found_;
    settings::AppSettings settings_;
    fetch::TrafficStats stats_;
    std::unique_ptr<MainWindow> window_;
};

}  // namespace velnora::window
