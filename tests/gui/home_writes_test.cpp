// The window's writes and the program home's write lock, against a second process that holds
// it: the window waits for it (naming the holder), holds it only while it writes, and never
// writes beside the other program.

#include <gtest/gtest.h>

#include <QTcpServer>
#include <QTest>

#include "files/program_home.h"
#include "files/write_lock.h"
#include "ini/ini_file.h"
#include "store/settings_files.h"
#include "support/lock_holder.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"
#include "window/commands.h"
#include "window/main_window.h"
#include "window/page_tree_view.h"
#include "window_fixture.h"

namespace velnora::window {
namespace {

class HomeWritesTest : public WindowFixture {
  protected:
    HomeWritesTest() {
        test::WriteBytes(home_ / "velnora.ini", "[CONFIG]\r\nFINISH_MESSAGE=0\r\n");
    }

    std::string AddPage(const std::string& name, const std::string& url) {
        std::string dir = home_ / ("data/" + name + ".dat");
        test::MakeDir(dir);
        test::WriteBytes(dir + "/site.ini", "[CONFIG]\r\nURL=" + url + "\r\n");
        return dir;
    }

    // Whether some program holds the lock now, as a third program would see it.
    bool LockIsFree() {
        files::WriteLock probe(home_.path() + "/", "probe");
        return probe.TryAcquire() == files::WriteLock::Result::kTaken;
    }
};

TEST_F(HomeWritesTest, ACheckAndARenameWaitForTheOtherProgramNamingIt) {
    std::string page = AddPage("Site", "");
    MainWindow& window = Open();
    test::LockHolder holder(home_.path() + "/");
    ASSERT_TRUE(holder.took());
    std::string name = holder.name();

    window.RunCommand(kStartCheck);
    store::ItemId site = window.tree().FirstChild(window.tree().root());
    emit window.tree_view().LabelEdited(site, "Renamed");
    QTest::qWait(600);
    EXPECT_TRUE(window.StatusText().startsWith(QString::fromStdString(name) + " "))
        << window.StatusText().toStdString();
    EXPECT_EQ(store::ReadResultCode(page), store::RESULT_NONE) << "nothing checked yet";
    EXPECT_TRUE(test::Exists(page)) << "nor renamed";
    EXPECT_TRUE(window.isEnabled());

    holder.Release();
    std::string renamed = home_ / "data/Renamed.dat";
    ASSERT_TRUE(QTest::qWaitFor([&] { return test::Exists(renamed); }, 5000));
    EXPECT_EQ(store::ReadResultCode(renamed), store::RESULT_ERROR) << "checked (no URL)";
    EXPECT_TRUE(LockIsFree()) << "the idle window holds no lock";
}

TEST_F(HomeWritesTest, AWriteInPlaceWaitsWhileTheWindowGoesOn) {
    MainWindow& window = Open();
    test::LockHolder holder(home_.path() + "/");
    ASSERT_TRUE(holder.took());
    std::string name = holder.name();
    QString shown;
    bool timers_ran = false;
    QTimer::singleShot(300, [&] {
        timers_ran = true;
        shown = window.StatusText();
        holder.Release();
    });
    {
        HomeWriteScope writing(window);  // as the OK of a sheet, a delete, clearing past logs
        EXPECT_TRUE(writing);
        EXPECT_TRUE(timers_ran) << "the window's timers ran while it waited";
        EXPECT_FALSE(LockIsFree());
    }
    EXPECT_TRUE(shown.startsWith(QString::fromStdString(name) + " ")) << shown.toStdString();
    EXPECT_TRUE(LockIsFree());
}

TEST_F(HomeWritesTest, TheWindowHoldsTheLockForTheTimeOfItsCheckOnly) {
    QTcpServer silent;  // accepts the connection and never answers
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost));
    AddPage("Site", "http://127.0.0.1:" + std::to_string(silent.serverPort()) + "/");
    MainWindow& window = Open();
    EXPECT_TRUE(LockIsFree());
    window.RunCommand(kStartCheck);
    ASSERT_TRUE(window.check().running());
    files::WriteLock other(home_.path() + "/", "velnora-cli check");
    EXPECT_EQ(other.TryAcquire(), files::WriteLock::Result::kHeld);
    EXPECT_EQ(other.holder(), "velnora (PID " + std::to_string(::getpid()) + ")");
    window.RunCommand(kAbortCheck);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window.check().running(); }, 5000));
    EXPECT_TRUE(LockIsFree());
}

TEST_F(HomeWritesTest, ClosingSavesTheStatisticsOnceTheOtherProgramIsDone) {
    stats_.LoadStatistics(home_ / "velnora.ini");
    MainWindow& window = Open();
    stats_.CountReceivedPage();
    {
        // Meanwhile a command-line check saves its own count.
        test::LockHolder holder(home_.path() + "/");
        ASSERT_TRUE(holder.took());
        window.close();
        QTest::qWait(300);
        EXPECT_TRUE(window.isVisible()) << "closing waits for the lock";
        fetch::TrafficStats command_line;
        command_line.LoadStatistics(home_ / "velnora.ini");
        command_line.CountReceivedPage();
        ASSERT_TRUE(command_line.SaveStatistics(home_ / "velnora.ini"));
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window.isVisible(); }, 5000));
    ini::IniFile ini;
    ini.Load(home_ / "velnora.ini");
    EXPECT_EQ(ini.GetInt("STATISTICS", "NUM_SITES", 0), 2) << "both counts kept";
    EXPECT_GT(ini.GetInt("POSITION", "CX", 0), 0);
}

}  // namespace
}  // namespace velnora::window
