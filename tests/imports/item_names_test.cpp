#include "imports/item_names.h"

#include <gtest/gtest.h>

#include "fetch/page_walk.h"
#include "files/file_names.h"
#include "support/sjis.h"

namespace velnora::imports {
namespace {

using test::Sjis;

constexpr std::string_view kDataDirectory = "/home/user/.local/share/velnora/data";

TEST(ItemNames, TitlesThatCannotStandAsNamesAreMadeIntoOnes) {
    struct Case {
        const char* what;
        const char* title;
        const char* address;
        std::string name;  // Shift_JIS
    };
    const Case cases[] = {
        {"a slash becomes the full-width slash", "News / Views", "", Sjis("News ／ Views")},
        {"emoji are left out", "🎉 Party 🎉 blog", "", "Party blog"},
        {"accented letters keep their letter", "Café Crème", "", "Cafe Creme"},
        {"compatibility forms are taken", "ﬁle", "", "file"},
        {"Japanese stays as it is", "日本語のサイト・トップ", "", Sjis("日本語のサイト・トップ")},
        {"a wave dash is stored as it reads back", "〜", "", Sjis("～")},
        {"line breaks, tabs and runs of blanks are one space", " a\tb\r\nc   d ", "", "a b c d"},
        {"control characters are blanks",
         "a\x01\x7F"
         "b",
         "", "a b"},
        {"the name \".\" cannot be a directory", ".", "", Sjis("．")},
        {"nor can \"..\"", "..", "", Sjis("．．")},
        {"an empty title takes the address's host", "", "https://user@www.example.jp:8080/x",
         "www.example.jp"},
        {"so does a title of emoji alone", "🎉🎉", "http://example.com/", "example.com"},
        {"without a host the fallback stands", "", "javascript:void(0)", "fallback"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(ItemNameFromTitle(c.title, c.address, "fallback", PageNameRoom(kDataDirectory)),
                  c.name)
            << test::Utf8(
                   ItemNameFromTitle(c.title, c.address, "fallback", PageNameRoom(kDataDirectory)));
    }
}

TEST(ItemNames, LongTitlesAreCutToThePathAndToTheFileSystemsLimit) {
    std::string long_japanese;
    for (int i = 0; i < 300; ++i) {
        long_japanese += "あ";
    }
    // Near the data directory the file system's 255 bytes bind: 83 characters of three UTF-8
    // bytes and ".dat".
    std::string name = ItemNameFromTitle(long_japanese, "", "", PageNameRoom(kDataDirectory));
    EXPECT_EQ(name.size(), 83u * 2);
    EXPECT_LE(files::ToDiskName(name)->size() + 4, 255u);

    // Deep in the tree the path binds: the page's path stays within what a check takes.
    std::string deep = std::string(kDataDirectory) + "/" + std::string(170, 'd') + ".grp";
    name = ItemNameFromTitle(long_japanese, "", "", PageNameRoom(deep));
    EXPECT_LE(deep.size() + 1 + name.size() + 4, fetch::kMaxCheckedPagePath);
    EXPECT_GE(deep.size() + 1 + name.size() + 4, fetch::kMaxCheckedPagePath - 1)
        << "cut at a character, no further";
    EXPECT_EQ(name.size() % 2, 0u) << "no character is split";

    // A folder keeps room for the pages it will hold.
    EXPECT_LT(ItemNameFromTitle(std::string(300, 'f'), "", "", FolderNameRoom(deep)).size(),
              ItemNameFromTitle(std::string(300, 'f'), "", "", PageNameRoom(deep)).size());
    // Where not one character fits, there is no name.
    EXPECT_EQ(ItemNameFromTitle("x", "", "", PageNameRoom(std::string(250, 'd'))), "");
}

TEST(ItemNames, NumberedNamesMakeRoomForTheirNumber) {
    NameRoom room = PageNameRoom(kDataDirectory);
    EXPECT_EQ(NumberedName("News", 0, room), "News");
    EXPECT_EQ(NumberedName("News", 2, room), "News(2)");
    std::string full = ItemNameFromTitle(std::string(300, 'n'), "", "", room);
    std::string numbered = NumberedName(full, 12, room);
    EXPECT_EQ(numbered.size(), full.size());
    EXPECT_TRUE(numbered.ends_with("(12)"));
}

}  // namespace
}  // namespace velnora::imports
