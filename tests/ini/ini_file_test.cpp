#include "ini/ini_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <vector>

#include "ini/keys.h"
#include "support/hostile_files.h"
#include "support/sjis.h"
#include "support/temp_dir.h"

namespace velnora::ini {
namespace {

IniFile Parsed(std::string_view bytes) {
    IniFile ini;
    ini.Parse(bytes);
    return ini;
}

TEST(IniRead, MissingFileSectionOrKeyGivesTheDefault) {
    test::TempDir dir;
    EXPECT_EQ(GetProfileString(dir / "none.ini", "CONFIG", "URL", "dflt", 100), "dflt");
    EXPECT_EQ(GetProfileInt(dir / "none.ini", "CONFIG", "N", 7), 7);
    IniFile ini = Parsed("[OTHER]\r\nURL=x\r\n[CONFIG]\r\nA=1\r\n");
    EXPECT_EQ(ini.GetString("CONFIG", "URL", "dflt", 100), "dflt")
        << "a key of another section does not count";
    EXPECT_EQ(ini.GetInt("MISSING", "A", 9), 9);
}

TEST(IniRead, NamesMatchWithoutRegardToCase) {
    IniFile ini = Parsed("[Config]\r\nuse_old_log=5\r\n");
    EXPECT_EQ(ini.GetInt("CONFIG", "USE_OLD_LOG", 1), 5);
}

TEST(IniRead, BlanksAroundKeysAndValuesDoNotCount) {
    IniFile ini = Parsed("  [CONFIG]  \r\n  URL  =   http://a/ b  \r\n\tN\t=\t 12 \r\n");
    EXPECT_EQ(ini.GetString("CONFIG", "URL", "", 100), "http://a/ b");
    EXPECT_EQ(ini.GetInt("CONFIG", "N", 0), 12);
}

TEST(IniRead, QuotedValuesLoseTheirQuotes) {
    IniFile ini = Parsed(
        "[S]\r\nA=\"quoted\"\r\nB='single'\r\nC=\"unbalanced\r\nD=\"\r\nE=\"mixed'\r\nF=\"\"\r\n");
    EXPECT_EQ(ini.GetString("S", "A", "", 100), "quoted");
    EXPECT_EQ(ini.GetString("S", "B", "", 100), "single");
    EXPECT_EQ(ini.GetString("S", "C", "", 100), "\"unbalanced");
    EXPECT_EQ(ini.GetString("S", "D", "", 100), "\"");
    EXPECT_EQ(ini.GetString("S", "E", "", 100), "\"mixed'");
    EXPECT_EQ(ini.GetString("S", "F", "x", 100), "");
}

TEST(IniRead, TextIsCutToTheBufferSizeLessOne) {
    std::string url(2500, 'u');
    IniFile ini = Parsed("[CONFIG]\r\nURL=" + url + "\r\nNGWORD3=" + std::string(80, 'n') + "\r\n");
    EXPECT_EQ(ini.GetString("CONFIG", "URL", "", 2101), std::string(2100, 'u'));
    EXPECT_EQ(ini.GetString("CONFIG", "NGWORD3", "", 65), std::string(64, 'n'));
}

TEST(IniRead, IntegersAreTheLeadingDecimalNumber) {
    IniFile ini = Parsed(
        "[S]\r\nA=12abc\r\nB=abc\r\nC=\r\nD=-8\r\nE=+3\r\nF=4294967295\r\nG=0x10\r\nH= \r\n");
    EXPECT_EQ(ini.GetInt("S", "A", 5), 12);
    EXPECT_EQ(ini.GetInt("S", "B", 5), 0) << "text that is not a number reads as 0";
    EXPECT_EQ(ini.GetInt("S", "C", 5), 5) << "an empty value reads as the default";
    EXPECT_EQ(ini.GetInt("S", "D", 5), -8);
    EXPECT_EQ(ini.GetInt("S", "E", 5), 3);
    EXPECT_EQ(static_cast<unsigned>(ini.GetInt("S", "F", 5)), 4294967295u)
        << "unsigned counters read back";
    EXPECT_EQ(ini.GetInt("S", "G", 5), 0);
    EXPECT_EQ(ini.GetInt("S", "H", 5), 5);
}

TEST(IniRead, LineEndsOfEveryKind) {
    IniFile ini = Parsed("[S]\nA=1\rB=2\r\nC=3");
    EXPECT_EQ(ini.GetInt("S", "A", 0), 1);
    EXPECT_EQ(ini.GetInt("S", "B", 0), 2);
    EXPECT_EQ(ini.GetInt("S", "C", 0), 3);
}

TEST(IniRead, ShiftJisValuesAndSecondBytesThatLookLikeDelimiters) {
    // 表 and ソ end in a backslash byte; the value must come back byte for byte.
    std::string value = test::Sjis("表示ソフト");
    IniFile ini = Parsed("[CONFIG]\r\nCOMMENT=" + value + "\r\n");
    EXPECT_EQ(ini.GetString("CONFIG", "COMMENT", "", 101), value);
}

TEST(IniWrite, ReplacesInPlaceAndKeepsUnknownKeys) {
    IniFile ini = Parsed("; comment\r\n[CONFIG]\r\nFOO = bar\r\nURL=old\r\nzzz=keep\r\n");
    ini.SetString("CONFIG", "url", "new");
    EXPECT_EQ(ini.Serialize(), "; comment\r\n[CONFIG]\r\nFOO = bar\r\nURL=new\r\nzzz=keep\r\n");
}

TEST(IniWrite, AddsKeysAtTheEndOfTheirSection) {
    IniFile ini = Parsed("[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n");
    ini.SetString("A", "z", "3");
    ini.SetString("C", "w", "");
    EXPECT_EQ(ini.Serialize(), "[A]\r\nx=1\r\nz=3\r\n\r\n[B]\r\ny=2\r\n[C]\r\nw=\r\n");
}

TEST(IniWrite, LineBreaksInAValueCannotMakeNewKeys) {
    IniFile ini;
    ini.SetString("CONFIG", "URL", "http://a/\r\nAUTH_TYPE=1");
    EXPECT_EQ(ini.GetInt("CONFIG", "AUTH_TYPE", 0), 0);
    EXPECT_EQ(ini.GetString("CONFIG", "URL", "", 100), "http://a/  AUTH_TYPE=1");
}

TEST(IniWrite, KeysThatCannotStandOnALineAreNotWritten) {
    // A hand-edited line "[URL=x" is a key, "[URL"; written with a "]" in its value it would
    // become a section and take the keys below it out of [CONFIG].
    const char* file = "[CONFIG]\r\n[URL=x\r\nNAME=kept\r\n";
    for (std::string_view key : {"[URL", " [URL", "A\rB", "A\nB"}) {
        IniFile ini = Parsed(file);
        ini.SetString("CONFIG", key, "y]");
        EXPECT_EQ(ini.Serialize(), file) << key;
        EXPECT_EQ(ini.GetString("CONFIG", "NAME", "", 100), "kept") << key;
    }
}

TEST(IniWrite, RemovingAKeyTakesEveryLineOfItAndNothingElse) {
    IniFile ini = Parsed("[A]\r\nk=1\r\nx=2\r\n[B]\r\nk=3\r\n[a]\r\nK=4\r\n");
    EXPECT_TRUE(ini.RemoveKey("A", "k"));
    EXPECT_EQ(ini.Serialize(), "[A]\r\nx=2\r\n[B]\r\nk=3\r\n[a]\r\n");
    EXPECT_EQ(ini.GetInt("A", "k", -1), -1) << "a later read gives the default";
    EXPECT_FALSE(ini.RemoveKey("A", "k"));
}

TEST(IniKeys, AKeyWhoseFallbackMeansNoKeyIsRemovedWhenWrittenWithIt) {
    constexpr NumberKey kFollowing =
        NumberKey{"C", "INTERVAL", -1}.InRange(0, 100).OmittedAtFallback();
    IniFile ini = Parsed("[C]\r\nINTERVAL=5\r\n");
    Write(ini, kFollowing, 7);
    EXPECT_EQ(Read(ini, kFollowing), 7);
    Write(ini, kFollowing, -1);
    EXPECT_EQ(ini.Serialize(), "[C]\r\n");
    EXPECT_EQ(Read(ini, kFollowing), -1);
    // A stored value outside the range reads as the fallback, that is as no key.
    EXPECT_EQ(Read(Parsed("[C]\r\nINTERVAL=-5\r\n"), kFollowing), -1);
    // Other keys keep writing their fallback.
    Write(ini, NumberKey{"C", "PLAIN", 0}, 0);
    EXPECT_EQ(ini.Serialize(), "[C]\r\nPLAIN=0\r\n");
}

TEST(IniFileOnDisk, WriteCreatesTheFileAndSectionWithCrLf) {
    test::TempDir dir;
    std::string file = dir / "site.ini";
    ASSERT_TRUE(WriteProfileString(file, "CONFIG", "URL", "http://example.com/"));
    ASSERT_TRUE(WriteProfileString(file, "CONFIG", "USE_OLD_LOG", "1"));
    EXPECT_EQ(test::ReadBytes(file), "[CONFIG]\r\nURL=http://example.com/\r\nUSE_OLD_LOG=1\r\n");
    EXPECT_EQ(GetProfileString(file, "config", "url", "", 2101), "http://example.com/");
}

TEST(IniFileOnDisk, SaveLeavesNoTemporaryFilesBehind) {
    test::TempDir dir;
    std::string file = dir / "velnora.ini";
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(WriteProfileString(file, "S", "K", std::to_string(i)));
    }
    int entries = 0;
    for (auto it = std::filesystem::directory_iterator(dir.path());
         it != std::filesystem::directory_iterator(); ++it) {
        ++entries;
    }
    EXPECT_EQ(entries, 1);
}

TEST(IniFileOnDisk, WhatCannotBeReadWholeIsRefusedWithAReasonAndNeverSavedOver) {
    struct Case {
        const char* what;
        std::function<void(const std::string& file, const std::string& outside)> make;
        std::string reason;
    };
    const std::string too_big(kMaxIniFileSize + 1, '\n');
    const std::vector<Case> cases = {
        {"a directory", [](const std::string& f, const std::string&) { test::MakeDir(f); },
         "Not a regular file"},
        {"a FIFO", [](const std::string& f, const std::string&) { ASSERT_TRUE(test::MakeFifo(f)); },
         "Not a regular file"},
        {"a file of more than 1 MiB",
         [&](const std::string& f, const std::string&) { test::WriteBytes(f, too_big); },
         "Larger than 1048576 bytes"},
        {"a link to a file elsewhere",
         [](const std::string& f, const std::string& outside) {
             test::WriteBytes(outside, "[CONFIG]\r\nURL=x\r\n");
             ASSERT_TRUE(test::MakeSymlink(outside, f));
         },
         ""},
        {"a dangling link",
         [](const std::string& f, const std::string& outside) {
             ASSERT_TRUE(test::MakeSymlink(outside, f));
         },
         "No such file or directory"},
    };
    for (const Case& c : cases) {
        test::TempDir dir;
        std::string file = dir / "velnora.ini";
        std::string outside = dir / "outside.ini";
        c.make(file, outside);
        IniFile ini;
        std::string error;
        EXPECT_EQ(ini.Load(file, &error), c.reason.empty()) << c.what;
        EXPECT_EQ(error, c.reason) << c.what;
        ini.SetString("CONFIG", "URL", "changed");
        EXPECT_FALSE(ini.Save(file, &error)) << c.what << ": saving over it is refused";
        EXPECT_FALSE(error.empty()) << c.what;
        EXPECT_FALSE(WriteProfileString(file, "CONFIG", "URL", "x")) << c.what;
        if (c.what == std::string("a file of more than 1 MiB")) {
            EXPECT_EQ(test::ReadBytes(file).size(), too_big.size()) << "never rewritten";
        }
        if (test::Exists(outside)) {
            EXPECT_EQ(test::ReadBytes(outside), "[CONFIG]\r\nURL=x\r\n") << "not written through";
        }
    }
}

TEST(IniFileOnDisk, AFileOfExactlyTheBoundIsRead) {
    test::TempDir dir;
    std::string file = dir / "site.ini";
    std::string bytes = "[CONFIG]\r\nURL=x\r\n";
    bytes.resize(kMaxIniFileSize, '\n');
    test::WriteBytes(file, bytes);
    IniFile ini;
    ASSERT_TRUE(ini.Load(file));
    EXPECT_EQ(ini.GetString("CONFIG", "URL", "", 100), "x");
}

}  // namespace
}  // namespace velnora::ini
