#include "settings/window_placement.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace velnora::settings {
namespace {

TEST(WindowPlacement, DefaultsOnFirstStart) {
    test::TempDir dir;
    WindowPlacement p;
    int topmost = 5;
    LoadWindowPlacement(dir / "velnora.ini", p, topmost);
    EXPECT_EQ(p.left, 0);
    EXPECT_EQ(p.top, 0);
    EXPECT_EQ(p.cx, 620);
    EXPECT_EQ(p.cy, 400);
    EXPECT_EQ(p.tree_width, 150);
    EXPECT_EQ(p.maximized, 0);
    EXPECT_EQ(topmost, 0);
    ScreenArea area{0, 0, 1920, 1040};
    WindowPlacement clamped = ClampPlacement(p, area);
    EXPECT_EQ(clamped.cx, 620);
    EXPECT_EQ(clamped.cy, 400);
}

TEST(WindowPlacement, ClampPullsAnOffScreenWindowBack) {
    ScreenArea area{0, 0, 1280, 1000};
    struct Row {
        WindowPlacement stored;
        WindowPlacement expected;
    };
    const Row rows[] = {
        {{-10, -5, 600, 400, 150, 0}, {0, 0, 600, 400, 150, 0}},
        {{1280, 1000, 600, 400, 150, 0}, {0, 0, 600, 400, 150, 0}},
        {{1279, 999, 600, 400, 150, 0}, {1279, 999, 600, 400, 150, 0}},
        {{10, 20, 0, -3, 150, 0}, {10, 20, 1280, 1000, 150, 0}},
        {{10, 20, 1281, 1001, 150, 1}, {10, 20, 1280, 1000, 150, 1}},
    };
    for (const Row& row : rows) {
        WindowPlacement got = ClampPlacement(row.stored, area);
        EXPECT_EQ(got.left, row.expected.left);
        EXPECT_EQ(got.top, row.expected.top);
        EXPECT_EQ(got.cx, row.expected.cx);
        EXPECT_EQ(got.cy, row.expected.cy);
        EXPECT_EQ(got.maximized, row.expected.maximized);
    }
}

TEST(WindowPlacement, AWorkAreaBelowAPanelIsRespected) {
    ScreenArea area{0, 32, 1280, 968};
    WindowPlacement got = ClampPlacement({5, 0, 600, 400, 150, 0}, area);
    EXPECT_EQ(got.top, 32);
}

TEST(WindowPlacement, SaveAndLoad) {
    test::TempDir dir;
    std::string file = dir / "velnora.ini";
    ASSERT_TRUE(SaveWindowPlacement(file, {-8, 12, 800, 600, 222, 1}, 1));
    EXPECT_EQ(test::ReadBytes(file),
              "[POSITION]\r\nLEFT=-8\r\nTOP=12\r\nCX=800\r\nCY=600\r\nW=222\r\nMAXIMIZED=1\r\n"
              "[CONFIG]\r\nTOPMOST=1\r\n");
    WindowPlacement p;
    int topmost = 0;
    LoadWindowPlacement(file, p, topmost);
    EXPECT_EQ(p.left, -8);
    EXPECT_EQ(p.tree_width, 222);
    EXPECT_EQ(p.maximized, 1);
    EXPECT_EQ(topmost, 1);
}

}  // namespace
}  // namespace velnora::settings
