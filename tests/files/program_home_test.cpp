#include "files/program_home.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>

#include "support/scoped_env.h"
#include "support/temp_dir.h"

namespace velnora::files {
namespace {

using test::ScopedEnv;

TEST(ProgramHome, VelnoraHomeWinsAndIsCreatedWithItsDataDirectory) {
    test::TempDir dir;
    ScopedEnv home("VELNORA_HOME", (dir / "home").c_str());
    auto found = FindProgramHome();
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(found->directory, dir / "home/");
    EXPECT_EQ(found->data_directory, dir / "home/data");
    EXPECT_TRUE(std::filesystem::is_directory(dir.path() + "/home/data"));
}

TEST(ProgramHome, XdgDataHomeWhenNothingElseApplies) {
    test::TempDir dir;
    ScopedEnv home("VELNORA_HOME", nullptr);
    ScopedEnv xdg("XDG_DATA_HOME", dir.path().c_str());
    auto found = FindProgramHome();
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(found->directory, dir / "velnora/");
}

TEST(ProgramHome, AHomeWithoutAShiftJisNameIsRefusedWithAReason) {
    test::TempDir dir;
    ScopedEnv home("VELNORA_HOME", (dir / "caf\xC3\xA9").c_str());
    std::string error;
    EXPECT_FALSE(FindProgramHome(&error).has_value());
    EXPECT_NE(error.find("Shift_JIS"), std::string::npos) << error;
}

}  // namespace
}  // namespace velnora::files
