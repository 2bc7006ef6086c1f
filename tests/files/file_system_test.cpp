#include "files/file_system.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "files/file_names.h"
#include "support/sjis.h"
#include "support/temp_dir.h"

namespace velnora::files {
namespace {

TEST(FileNames, ShiftJisInsideUtf8OnDisk) {
    test::TempDir dir;
    std::string folder = dir / test::Sjis("ニュース.grp");
    ASSERT_TRUE(MakeDirectory(folder));
    EXPECT_TRUE(std::filesystem::is_directory(dir.path() + "/ニュース.grp"))
        << "the name on disk is UTF-8";
    auto entries = ListDirectory(dir.path());
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].name, test::Sjis("ニュース.grp"));
    EXPECT_TRUE(entries[0].is_directory);
}

TEST(FileNames, AnUnconvertibleNameFailsWithoutCreatingAnything) {
    test::TempDir dir;
    std::string error;
    EXPECT_FALSE(MakeDirectory(dir / "bad\x80name", &error));
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(ListDirectory(dir.path()).empty());
    EXPECT_FALSE(ToDiskName(std::string("a\0b", 3)).has_value());
}

TEST(FileNames, ANameThatCouldNotBeListedAgainIsNeverMade) {
    test::TempDir dir;
    // A user-defined character: it has a Unicode form, but none that leads back.
    std::string name = dir / "\xb2\xf0\x83Nz.dat";
    std::string error;
    EXPECT_FALSE(MakeDirectory(name, &error));
    EXPECT_EQ(error, kUnconvertibleName);
    EXPECT_TRUE(ListDirectory(dir.path()).empty());
}

TEST(FileNames, NamesWithoutAShiftJisFormAreNotListed) {
    test::TempDir dir;
    std::filesystem::create_directory(dir.path() + "/caf\xC3\xA9.dat");  // é
    std::filesystem::create_directory(dir.path() + "/ok.dat");
    auto entries = ListDirectory(dir.path());
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].name, "ok.dat");
}

TEST(FileSystem, MovePathRefusesToReplace) {
    test::TempDir dir;
    test::MakeDir(dir / "a.dat");
    test::MakeDir(dir / "b.dat");
    std::string error;
    EXPECT_FALSE(MovePath(dir / "a.dat", dir / "b.dat", &error));
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(IsDirectory(dir / "a.dat"));
    EXPECT_TRUE(MovePath(dir / "a.dat", dir / "c.dat"));
    EXPECT_TRUE(IsDirectory(dir / "c.dat"));
}

TEST(FileSystem, AtomicWriteReplacesWhole) {
    test::TempDir dir;
    std::string file = dir / "x.ini";
    ASSERT_TRUE(WriteFileAtomically(file, "first"));
    ASSERT_TRUE(WriteFileAtomically(file, "2"));
    EXPECT_EQ(test::ReadBytes(file), "2");
    EXPECT_EQ(FileSize(file), 1u);
    std::string error;
    EXPECT_FALSE(WriteFileAtomically(dir / "missing/x.ini", "x", &error));
    EXPECT_FALSE(error.empty());
}

TEST(FileSystem, MakeDirectoriesCreatesParents) {
    test::TempDir dir;
    EXPECT_TRUE(MakeDirectories(dir / "a/b/c"));
    EXPECT_TRUE(IsDirectory(dir / "a/b/c"));
    EXPECT_TRUE(MakeDirectories(dir / "a/b/c")) << "an existing directory is fine";
    EXPECT_FALSE(MakeDirectory(dir / "a")) << "one directory that exists fails";
}

}  // namespace
}  // namespace velnora::files
