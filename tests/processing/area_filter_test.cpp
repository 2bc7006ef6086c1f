#include "processing/area_filter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace velnora::processing {
namespace {

store::AreaMarker Area(std::string start, int start_type, std::string end, int end_type) {
    return store::AreaMarker{std::move(start), std::move(end), start_type, end_type};
}

const store::AreaMarker kNoArea{};

// Feeds the lines in order and lists the ones compared, separated by blanks; "|" marks where
// reading ended.
std::string Compared(const store::AreaMarker& check, const store::AreaMarker& ignore,
                     const std::vector<std::string>& lines) {
    AreaFilter filter(check, ignore);
    std::string out;
    for (const std::string& line : lines) {
        AreaFilter::Verdict verdict = filter.Next(line);
        if (verdict.compare) {
            out += out.empty() ? "" : " ";
            out += line;
        }
        if (verdict.stop) {
            return out + "|";
        }
    }
    return out;
}

const std::vector<std::string> kLines = {"a", "S1", "b", "E1", "c"};

TEST(AreaFilter, WithoutAreasEveryLineTakesPart) {
    EXPECT_EQ(Compared(kNoArea, kNoArea, kLines), "a S1 b E1 c");
}

TEST(AreaFilter, CheckAreaTypes) {
    struct Case {
        const char* what;
        store::AreaMarker check;
        std::string compared;
    };
    const Case cases[] = {
        {"from the start line to the end line", Area("S", 0, "E", 0), "S1 b E1|"},
        {"from the line after the start line", Area("S", 1, "E", 0), "b E1|"},
        {"up to the line before the end line", Area("S", 0, "E", 1), "S1 b|"},
        {"strictly between the delimiter lines", Area("S", 1, "E", 1), "b|"},
        {"a start string that never occurs: nothing", Area("Z", 0, "E", 0), ""},
        {"an end string that never occurs: to the end", Area("S", 0, "Z", 0), "S1 b E1 c"},
        {"no start string: from the first line", Area("", 0, "E", 0), "a S1 b E1|"},
        {"start types other than 1 act as 0", Area("S", 7, "E", 0), "S1 b E1|"},
        {"end types other than 1 act as 0", Area("S", 0, "E", -1), "S1 b E1|"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Compared(c.check, kNoArea, kLines), c.compared) << c.what;
    }
}

TEST(AreaFilter, StartAndEndOnOneLine) {
    const std::vector<std::string> lines = {"x", "S E", "y", "E"};
    EXPECT_EQ(Compared(Area("S", 0, "E", 0), kNoArea, lines), "S E|")
        << "the end is looked for on the start line itself";
    EXPECT_EQ(Compared(Area("S", 0, "E", 1), kNoArea, lines), "|");
    EXPECT_EQ(Compared(Area("S", 1, "E", 0), kNoArea, lines), "y E|")
        << "with start type 1 the start line is not tested for the end";
    EXPECT_EQ(Compared(Area("S", 1, "E", 1), kNoArea, {"S", "E", "z"}), "|")
        << "delimiters on consecutive lines leave nothing between them";
}

TEST(AreaFilter, IgnoreAreaTypes) {
    const std::vector<std::string> lines = {"a", "IS", "b", "IE", "c"};
    EXPECT_EQ(Compared(kNoArea, Area("IS", 0, "IE", 0), lines), "a c")
        << "types 0: the delimiter lines are left out too";
    EXPECT_EQ(Compared(kNoArea, Area("IS", 1, "IE", 1), lines), "a IS IE c")
        << "types 1: only the lines between are left out";
    EXPECT_EQ(Compared(kNoArea, Area("IS", 0, "IE", 1), lines), "a IE c");
    EXPECT_EQ(Compared(kNoArea, Area("IS", 1, "IE", 0), lines), "a IS c");
    EXPECT_EQ(Compared(kNoArea, Area("IS", 5, "IE", 5), lines), "a IS IE c")
        << "types other than 0 act as 1";
}

TEST(AreaFilter, IgnoreStretches) {
    const store::AreaMarker ignore = Area("IS", 0, "IE", 0);
    EXPECT_EQ(Compared(kNoArea, ignore, {"a", "IS", "b", "IE", "c", "IS", "d", "IE", "e"}), "a c e")
        << "the ignore area cuts several stretches";
    EXPECT_EQ(Compared(kNoArea, ignore, {"a", "IS IE", "b", "IE", "c"}), "a c")
        << "the end is not looked for on the line where a stretch starts";
    EXPECT_EQ(Compared(kNoArea, ignore, {"a", "IS", "IE IS", "b"}), "a b")
        << "a new start is not looked for on the line where a stretch ends";
    EXPECT_EQ(Compared(Area("S", 0, "E", 0), ignore, {"S", "IS", "b", "E", "c"}), "S|")
        << "a stretch without its end runs to the end of the check area";
    EXPECT_EQ(Compared(Area("BEGIN", 0, "END", 0), ignore, {"IS", "BEGIN", "x", "END"}),
              "BEGIN x END|")
        << "the ignore area is looked for only inside the check area";
}

TEST(AreaFilter, DelimitersAreFoundInTheDecodedLine) {
    EXPECT_EQ(Compared(Area("<h2>", 1, "", 0), kNoArea, {"a", "&lt;h2&gt;News", "b"}), "b");
    EXPECT_EQ(Compared(Area("&lt;h2&gt;", 1, "", 0), kNoArea, {"a", "&lt;h2&gt;News", "b"}), "")
        << "the written form of a reference is no longer there to be found";
    EXPECT_EQ(Compared(Area("s", 1, "", 0), kNoArea, {"S", "s", "x"}), "x")
        << "matching is case-sensitive";
    EXPECT_EQ(Compared(kNoArea, Area("IS", 0, "IE", 0), {"I&#83;", "x", "I&#x45;", "y"}), "y");
}

}  // namespace
}  // namespace velnora::processing
