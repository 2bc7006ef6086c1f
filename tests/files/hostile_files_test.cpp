// What stands where the program expects a file is not always a file: FIFOs, directories and
// symbolic links must neither block, pass for empty files nor be written through; and a write
// that fails must leave the old file as it was.

#include "support/hostile_files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <string>
#include <vector>

#include "files/binary_file.h"
#include "files/file_system.h"
#include "files/text_file.h"
#include "support/file_size_limit.h"
#include "support/temp_dir.h"

namespace velnora::files {
namespace {

struct Obstacle {
    const char* what;
    // Puts the obstacle at the path; outside is a regular file beside it, outside the page.
    std::function<void(const std::string& path, const std::string& outside)> make;
    std::string_view reason;
};

const std::vector<Obstacle>& Obstacles() {
    static const std::vector<Obstacle> obstacles = {
        {"a FIFO", [](const std::string& p, const std::string&) { ASSERT_TRUE(test::MakeFifo(p)); },
         kNotRegularFileText},
        {"a directory", [](const std::string& p, const std::string&) { test::MakeDir(p); },
         kNotRegularFileText},
        {"a link to a FIFO",
         [](const std::string& p, const std::string& outside) {
             ASSERT_TRUE(test::MakeFifo(outside + ".fifo"));
             ASSERT_TRUE(test::MakeSymlink(outside + ".fifo", p));
         },
         kNotRegularFileText},
        {"a link to a device",
         [](const std::string& p, const std::string&) {
             ASSERT_TRUE(test::MakeSymlink("/dev/zero", p));
         },
         kNotRegularFileText},
    };
    return obstacles;
}

TEST(HostileFiles, OnlyRegularFilesAreReadAndNothingBlocks) {
    for (const Obstacle& obstacle : Obstacles()) {
        test::TempDir dir;
        std::string path = dir / "index.txt";
        obstacle.make(path, dir / "outside");
        InputFile input;
        std::string error;
        EXPECT_FALSE(input.Open(path, &error)) << obstacle.what;
        EXPECT_EQ(error, obstacle.reason) << obstacle.what;
        std::string bytes;
        EXPECT_FALSE(ReadWholeFile(path, bytes, &error)) << obstacle.what;
        EXPECT_EQ(error, obstacle.reason) << obstacle.what;
        TextReader reader;
        EXPECT_FALSE(reader.Open(path)) << obstacle.what;
    }
}

TEST(HostileFiles, WritesAreRefusedAndNeverGoThroughALink) {
    std::vector<Obstacle> obstacles = Obstacles();
    obstacles.push_back({"a link to a file outside",
                         [](const std::string& p, const std::string& outside) {
                             test::WriteBytes(outside, "outside");
                             ASSERT_TRUE(test::MakeSymlink(outside, p));
                         },
                         kSymbolicLinkText});
    obstacles.push_back({"a dangling link",
                         [](const std::string& p, const std::string& outside) {
                             ASSERT_TRUE(test::MakeSymlink(outside + ".missing", p));
                         },
                         kSymbolicLinkText});
    for (const Obstacle& obstacle : obstacles) {
        test::TempDir dir;
        std::string path = dir / "new.txt";
        std::string outside = dir / "outside";
        obstacle.make(path, outside);
        bool had_outside = test::Exists(outside);
        std::string error;
        OutputFile output;
        EXPECT_FALSE(output.Open(path, OutputFile::Mode::kTruncate, &error)) << obstacle.what;
        FileReplacement replacement;
        EXPECT_FALSE(replacement.Open(path, &error)) << obstacle.what;
        EXPECT_FALSE(WriteFileAtomically(path, "written", &error)) << obstacle.what;
        TextWriter writer;
        EXPECT_FALSE(writer.Open(path)) << obstacle.what;
        if (std::string_view(obstacle.what) != "a link to a FIFO" &&
            std::string_view(obstacle.what) != "a link to a device") {
            EXPECT_EQ(error, obstacle.reason) << obstacle.what;
        }
        if (had_outside) {
            EXPECT_EQ(test::ReadBytes(outside), "outside") << obstacle.what;
        }
        EXPECT_FALSE(test::Exists(outside + ".missing")) << obstacle.what;
        for (const DirectoryEntry& entry : ListDirectory(dir.path())) {
            EXPECT_EQ(entry.name.find(".tmp"), std::string::npos)
                << obstacle.what << ": a temporary file is left";
        }
    }
}

TEST(HostileFiles, ALinkThatAppearsBeforeTheCommitIsReplacedNotWrittenThrough) {
    test::TempDir dir;
    test::WriteBytes(dir / "outside", "outside");
    FileReplacement file;
    ASSERT_TRUE(file.Open(dir / "index.txt"));
    ASSERT_TRUE(file.Write("7"));
    ASSERT_TRUE(test::MakeSymlink(dir / "outside", dir / "index.txt"));
    ASSERT_TRUE(file.Commit());
    EXPECT_FALSE(IsSymbolicLink(dir / "index.txt"));
    EXPECT_EQ(test::ReadBytes(dir / "index.txt"), "7");
    EXPECT_EQ(test::ReadBytes(dir / "outside"), "outside");
}

TEST(Replacement, TheOldFileStaysUntilTheCommitAndWhenAnythingFails) {
    struct Case {
        const char* what;
        std::function<bool(FileReplacement&)> write;  // true when the commit is to succeed
    };
    const std::string big(200000, 'x');
    const std::vector<Case> cases = {
        {"committed", [](FileReplacement& f) { return f.Write("new") && f.Commit(); }},
        {"abandoned",
         [](FileReplacement& f) {
             EXPECT_TRUE(f.Write("new"));
             f.Abandon();
             return false;
         }},
        {"given up by going out of scope", [](FileReplacement& f) { return !f.Write("new"); }},
        {"a write beyond the disk's room",
         [&](FileReplacement& f) {
             test::FileSizeLimit limit(100000);
             EXPECT_FALSE(f.Write(big));
             EXPECT_FALSE(f.Write("more")) << "a failure stays";
             EXPECT_FALSE(f.Commit());
             EXPECT_EQ(f.error(), SystemErrorText(EFBIG));
             return false;
         }},
    };
    for (const Case& c : cases) {
        test::TempDir dir;
        std::string path = dir / "site.ini";
        test::WriteBytes(path, "old");
        ::chmod(path.c_str(), 0600);
        bool committed = false;
        {
            FileReplacement file;
            ASSERT_TRUE(file.Open(path)) << c.what;
            EXPECT_EQ(test::ReadBytes(path), "old") << c.what << ": before the commit";
            committed = c.write(file);
        }
        EXPECT_EQ(test::ReadBytes(path), committed ? "new" : "old") << c.what;
        EXPECT_EQ(ListDirectory(dir.path()).size(), 1u) << c.what << ": no temporary file is left";
        struct stat info {};
        ASSERT_EQ(::stat(path.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0600u) << c.what << ": the permissions stay";
    }
}

TEST(FileSystem, ReplaceFileNeverDeletesTheOldOneFirstAndRefusesALink) {
    test::TempDir dir;
    test::WriteBytes(dir / "htmltmp.txt", "new response");
    test::WriteBytes(dir / "html.txt", "old response");
    ASSERT_TRUE(ReplaceFile(dir / "htmltmp.txt", dir / "html.txt"));
    EXPECT_EQ(test::ReadBytes(dir / "html.txt"), "new response");
    EXPECT_FALSE(test::Exists(dir / "htmltmp.txt"));

    test::WriteBytes(dir / "outside", "outside");
    ASSERT_TRUE(test::MakeSymlink(dir / "outside", dir / "log3.txt"));
    std::string error;
    EXPECT_FALSE(ReplaceFile(dir / "html.txt", dir / "log3.txt", &error));
    EXPECT_EQ(error, kSymbolicLinkText);
    EXPECT_EQ(test::ReadBytes(dir / "html.txt"), "new response");
}

TEST(FileSystem, TemporaryFilesOfEndedProcessesAreStale) {
    pid_t child = test::EndedProcessId();
    std::string ended = std::to_string(child);
    std::string alive = std::to_string(::getpid());
    struct Case {
        std::string name;
        bool stale;
    } cases[] = {
        {"new.txt.tmp" + ended + "-0", true},
        {"site.ini.tmp" + ended + "-12", true},
        {"new.txt.tmp" + alive + "-0", false},
        {"new.txt", false},
        {"log.tmp.txt", false},
        {".tmp" + ended + "-0", false},
        {"new.txt.tmp" + ended + "-", false},
        {"new.txt.tmp" + ended + "-1-2", false},
        {"new.txt.tmp-3", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsStaleTemporary(c.name), c.stale) << c.name;
    }
    EXPECT_EQ(TemporaryName("a/new.txt", 4), "a/new.txt.tmp" + alive + "-4");
}

TEST(FileSystem, ASaveRemovesWhatKilledSavesOfTheSameFileLeft) {
    pid_t child = test::EndedProcessId();
    test::TempDir dir;
    std::string stale = "velnora.ini.tmp" + std::to_string(child) + "-0";
    std::string other = "site.ini.tmp" + std::to_string(child) + "-0";
    std::string live = "velnora.ini.tmp" + std::to_string(::getpid()) + "-99";
    for (const std::string& name : {stale, other, live}) {
        test::WriteBytes(dir / name, "partial");
    }
    ASSERT_TRUE(WriteFileAtomically(dir / "velnora.ini", "[CONFIG]\r\n"));
    EXPECT_FALSE(test::Exists(dir / stale));
    EXPECT_TRUE(test::Exists(dir / other)) << "another file's temporary is not this save's";
    EXPECT_TRUE(test::Exists(dir / live)) << "a running writer's temporary stays";
}

}  // namespace
}  // namespace velnora::files
