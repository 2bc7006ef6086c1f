// Opening addresses with the user's browser program: no shell, and variables expanded in the
// command only, never in the address.

#include "desktop/desktop.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <QTest>
#include <fstream>

#include "support/temp_dir.h"

namespace velnora::desktop {
namespace {

// A browser that writes each argument it gets on a line of its own.
std::string MakeBrowser(const test::TempDir& dir) {
    std::string script = dir / "my browser.sh";
    std::ofstream(script) << "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > \""
                          << dir.path() << "/args.txt\"\n";
    ::chmod(script.c_str(), 0755);
    return script;
}

std::string WaitForArguments(const test::TempDir& dir) {
    std::string path = dir / "args.txt";
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return test::Exists(path) && !test::ReadBytes(path).empty(); }, 5000));
    return test::ReadBytes(path);
}

TEST(LaunchBrowser, TheAddressIsOneArgumentAndIsNeverExpanded) {
    test::TempDir dir;
    std::string browser = MakeBrowser(dir);
    ::setenv("VELNORA_TEST_FLAG", "--new-window", 1);
    std::string command = "\"" + browser + "\" %VELNORA_TEST_FLAG% ${VELNORA_TEST_FLAG}";
    std::string address = "http://example.com/a b?$HOME&%PATH%;rm -rf x|`id`";
    ASSERT_EQ(LaunchBrowser(command, address), LaunchResult::kStarted);
    EXPECT_EQ(WaitForArguments(dir), "--new-window\n--new-window\n" + address + "\n");
}

TEST(LaunchBrowser, MissingOrBrokenBrowsers) {
    EXPECT_EQ(LaunchBrowser("", "http://x/"), LaunchResult::kNoBrowser);
    EXPECT_EQ(LaunchBrowser("/nonexistent/browser", "http://x/"), LaunchResult::kCannotStart);
    EXPECT_EQ(LaunchBrowser("b", std::string(3620, 'x')), LaunchResult::kTooLong);
}

}  // namespace
}  // namespace velnora::desktop
