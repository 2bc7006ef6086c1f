#pragma once

// A main window over a temporary program home: the home with its data directory, and the window
// opened on it as the program opens it, with the settings the home's velnora.ini holds.

#include <gtest/gtest.h>

#include <QSize>
#include <QTest>
#include <memory>
#include <string>

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

    // A page of the data directory ("News.grp/Site.dat") checking the URL; its directory.
    std::string AddPage(const std::string& relative, const std::string& url) {
        std::string dir = home_ / ("data/" + relative);
        velnora::test::MakeDir(dir);
        velnora::test::WriteBytes(dir + "/site.ini",
                                  "[CONFIG]\r\nURL=" + url + "\r\nUSE_OLD_LOG=1\r\n");
        return dir;
    }

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
