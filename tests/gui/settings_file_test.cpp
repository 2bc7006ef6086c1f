// velnora.ini that cannot be read or written: the window works on, tells the user once, and
// never replaces the file.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/hostile_files.h"
#include "support/temp_dir.h"
#include "window/message_box.h"
#include "window/settings_file_texts.h"
#include "window_fixture.h"

namespace velnora::window {
namespace {

class SettingsFileTest : public WindowFixture {
  protected:
    std::string file() { return home_ / "velnora.ini"; }
    void MakeOversized() { test::WriteBytes(file(), std::string(1048577, '\n')); }
    static bool StartsWith(const std::string& text, std::string_view prefix) {
        return text.compare(0, prefix.size(), prefix) == 0;
    }
};

TEST_F(SettingsFileTest, AnUnreadableFileIsReportedOnceAndLeftAsItIs) {
    MakeOversized();
    MainWindow& window = Open();
    SetNextMessageAnswer(MessageAnswer::kOk);
    window.ReportSettingsUnreadable("Larger than 1048576 bytes");
    auto shown = TakeShownMessages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_TRUE(StartsWith(shown[0].text, settings_file_texts::kUnreadable));
    EXPECT_NE(shown[0].text.find("velnora.ini: Larger than 1048576 bytes"), std::string::npos);
    EXPECT_EQ(shown[0].icon, MessageIcon::kWarning);

    // A setting the user changes is not saved, and the user is told so at once.
    SetNextMessageAnswer(MessageAnswer::kOk);
    window.StoreRootInterval(30);
    shown = TakeShownMessages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_TRUE(StartsWith(shown[0].text, settings_file_texts::kNotSaved)) << shown[0].text;
    EXPECT_EQ(shown[0].icon, MessageIcon::kError);

    // Closing saves nothing and, the user knowing why, says nothing more.
    window.close();
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(TakeShownMessages().empty());
    EXPECT_EQ(std::filesystem::file_size(file()), 1048577u);
}

TEST_F(SettingsFileTest, AFileThatCannotBeWrittenAtClosingIsReported) {
    MainWindow& window = Open();
    // Something that is no file takes velnora.ini's place while the window is open.
    ASSERT_TRUE(test::MakeFifo(file()));
    SetNextMessageAnswer(MessageAnswer::kOk);
    window.close();
    EXPECT_FALSE(window.isVisible()) << "the window goes all the same";
    auto shown = TakeShownMessages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, std::string(settings_file_texts::kNotSaved) + "Not a regular file");
    EXPECT_TRUE(std::filesystem::is_fifo(file()));
}

}  // namespace
}  // namespace velnora::window
