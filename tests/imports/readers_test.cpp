// The readers of bookmark collections, fed files shaped as the programs that write them do.

#include <gtest/gtest.h>

#include "imports/import_source.h"
#include "support/sjis.h"
#include "support/temp_dir.h"

namespace velnora::imports {
namespace {

std::string Fixture(std::string_view name) {
    return test::ReadBytes(std::string(VELNORA_TEST_DATA) + "/imports/" + std::string(name));
}

// An entry as "Folder/Sub: title <address>", for comparing whole lists at a glance.
std::vector<std::string> Shown(const ImportSource& source) {
    std::vector<std::string> shown;
    for (const ImportEntry& entry : source.entries) {
        std::string line;
        for (const std::string& folder : entry.folders) {
            line += folder + "/";
        }
        line += entry.folder_only ? "" : ": " + entry.title + " <" + entry.address + ">";
        shown.push_back(line);
    }
    return shown;
}

TEST(ImportReaders, AFirefoxExportKeepsItsFoldersAndEveryLink) {
    ImportSource source = ReadImportBytes(Fixture("firefox.html"));
    ASSERT_EQ(source.error, ReadError::kNone) << source.detail;
    EXPECT_EQ(source.format, SourceFormat::kBookmarkHtml);
    EXPECT_EQ(
        Shown(source),
        (std::vector<std::string>{
            ": Recent Tags <place:parent=toolbar_____&sort=12&maxResults=10&excludeQueries=1>",
            "Bookmarks Toolbar/: Example News & Views <https://www.example.org/news/>",
            "Bookmarks Toolbar/: Say hi <javascript:(function(){alert(\"hi\")})()>",
            "Bookmarks Toolbar/日本語のサイト/: 例のサイト / トップ <https://www.example.jp/>",
            "Bookmarks Toolbar/日本語のサイト/: 🎉 Party blog "
            "<https://www.example.jp/blog/feed.rss>",
            "Mozilla Firefox/: Get Help <https://support.mozilla.org/products/firefox>",
            "Mozilla Firefox/: Example News again <https://www.example.org/news/>",
            "Other Bookmarks/: Example FTP mirror <http://ftp.example.net/pub/>",
            "Other Bookmarks/: Example FTP mirror (copy) <http://ftp.example.net/pub/>",
            "Other Bookmarks/: Recent Tags <place:type=6&sort=14&maxResults=10>",
        }));
}

TEST(ImportReaders, AChromiumExportKeepsNestedFoldersWithSlashesInTheirNames) {
    ImportSource source = ReadImportBytes(Fixture("chromium.html"));
    ASSERT_EQ(source.error, ReadError::kNone) << source.detail;
    EXPECT_EQ(Shown(source),
              (std::vector<std::string>{
                  "Bookmarks bar/: Example Domain <https://example.com/>",
                  "Bookmarks bar/Tech/Dev/: A <dev> page "
                  "<https://dev.example.com/a?x=1&y=2>",
                  "Bookmarks bar/Tech/Dev/: The same page "
                  "<https://dev.example.com/a?x=1&y=2>",
                  "Bookmarks bar/Tech/Dev/: A <dev> page <https://dev.example.com/b>",
                  "Other bookmarks/: Example Domain <https://example.com/>",
              }));
    EXPECT_EQ(source.entries[1].folders.size(), 2u) << "Tech/Dev is one folder";
}

TEST(ImportReaders, AnOpmlOutlineGivesFeedsAndPagesInNestedFolders) {
    ImportSource source = ReadImportBytes(Fixture("feeds.opml"));
    ASSERT_EQ(source.error, ReadError::kNone) << source.detail;
    EXPECT_EQ(source.format, SourceFormat::kOpml);
    EXPECT_EQ(Shown(source), (std::vector<std::string>{
                                 "Tech/: Example Engineering <https://eng.example.com/feed.xml>",
                                 "Tech/Japanese/: ニュース速報 <https://news.example.jp/rss>",
                                 ": A page, not a feed <https://www.example.org/>",
                                 ": A link <https://link.example.org/x>",
                                 ":  <https://untitled.example.net/atom>",
                             }));
}

TEST(ImportReaders, AnAddressListSkipsBlankLinesAndCountsTheOthers) {
    ImportSource source = ReadImportBytes(Fixture("urls.txt"));
    ASSERT_EQ(source.error, ReadError::kNone);
    EXPECT_EQ(source.format, SourceFormat::kAddressList);
    EXPECT_EQ(Shown(source), (std::vector<std::string>{
                                 ":  <https://one.example.com/>",
                                 ":  <https://two.example.com/path?q=1>",
                                 ":  <http://one.example.com/>",
                                 ":  <https://one.example.com/>",
                                 ":  <ftp://files.example.com/pub/>",
                             }));
    EXPECT_EQ(source.junk_lines, 3) << "the text, the comment and the address without scheme";
}

TEST(ImportReaders, TextInOtherEncodingsIsReadAsWhatItSays) {
    struct Case {
        const char* what;
        std::string bytes;
        std::string title;
    };
    std::string sjis_export =
        "<!DOCTYPE NETSCAPE-Bookmark-file-1>\r\n<DL><p>\r\n<DT><A HREF=\"http://a.example.jp/\">" +
        test::Sjis("日本語") + "</A>\r\n</DL><p>\r\n";
    std::string sjis_opml =
        "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\n<opml><body><outline text=\"" +
        test::Sjis("日本語") + "\" xmlUrl=\"http://c.example/\"/></body></opml>";
    const Case cases[] = {
        {"a Shift_JIS bookmark export", sjis_export, "日本語"},
        {"an OPML outline declared as Shift_JIS", sjis_opml, "日本語"},
        {"a UTF-8 list with a byte order mark", "\xEF\xBB\xBFhttp://b.example/\n", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ImportSource source = ReadImportBytes(c.bytes);
        ASSERT_EQ(source.error, ReadError::kNone) << source.detail;
        ASSERT_EQ(source.entries.size(), 1u);
        EXPECT_EQ(source.entries[0].title, c.title);
    }
    ImportSource wide = ReadImportBytes(std::string("\xFF\xFE", 2) +
                                        std::string("h\0t\0t\0p\0:\0/\0/\0b\0.\0e\0x\0\n\0", 24));
    ASSERT_EQ(wide.error, ReadError::kNone) << "a UTF-16 list is no binary file";
    ASSERT_EQ(wide.entries.size(), 1u);
    EXPECT_EQ(wide.entries[0].address, "http://b.ex");
}

TEST(ImportReaders, FilesThatAreNoCollectionOrAreBrokenAreRefusedWithTheReason) {
    std::string firefox = Fixture("firefox.html");
    std::string opml = Fixture("feeds.opml");
    struct Case {
        const char* what;
        std::string bytes;
        ReadError error;
    };
    const Case cases[] = {
        {"a saved web page", "<!DOCTYPE html>\n<html><head><title>x</title></head></html>",
         ReadError::kOtherMarkup},
        {"a saved page after blanks and a byte order mark", "\xEF\xBB\xBF\r\n  <html></html>",
         ReadError::kOtherMarkup},
        {"an RSS feed", "<?xml version=\"1.0\"?>\n<rss version=\"2.0\"><channel/></rss>",
         ReadError::kOtherMarkup},
        {"a binary file", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), ReadError::kBinary},
        {"a text with a zero byte", std::string("http://a.example/\n\0", 19), ReadError::kBinary},
        {"a bookmark export cut in the middle of a tag", firefox.substr(0, 1200),
         ReadError::kDamagedHtml},
        {"a bookmark export cut between entries", firefox.substr(0, firefox.find("<HR>")),
         ReadError::kDamagedHtml},
        {"a bookmark export without a list",
         "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<TITLE>x</TITLE>", ReadError::kDamagedHtml},
        {"OPML cut short", opml.substr(0, opml.size() / 2), ReadError::kDamagedXml},
        {"OPML that is not well-formed",
         "<opml version=\"2.0\"><body><outline text=\"a\" xmlUrl=\"http://a/\"></body></opml>",
         ReadError::kDamagedXml},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ImportSource source = ReadImportBytes(c.bytes);
        EXPECT_EQ(source.error, c.error) << source.detail;
        EXPECT_TRUE(source.entries.empty());
    }
}

TEST(ImportReaders, ADirectoryOfLinkFilesIsReadAsFoldersAndLinks) {
    test::TempDir favorites;
    test::MakeDir(favorites / "News");
    test::MakeDir(favorites / "Empty");
    test::WriteBytes(favorites / "News/a.url", "[InternetShortcut]\r\nURL=http://a.example/\r\n");
    test::WriteBytes(favorites / "News/b.URL",
                     "[{000214A0-0000-0000-C000-000000000046}]\r\nProp3=19,2\r\n"
                     "[InternetShortcut]\r\nIDList=\r\nURL=http://b.example/\r\n");
    test::WriteBytes(
        favorites / "Site.desktop",
        "[Desktop Entry]\nEncoding=UTF-8\nName=Site\nType=Link\nURL=https://site.example/\n"
        "Icon=text-html\n");
    test::WriteBytes(favorites / "nothing.url", "[InternetShortcut]\r\n");
    test::WriteBytes(favorites / "notes.txt", "http://not.a.link/\n");
    ImportSource source = ReadImportPath(favorites.path());
    ASSERT_EQ(source.error, ReadError::kNone);
    EXPECT_EQ(source.format, SourceFormat::kLinkFolder);
    std::vector<std::string> shown = Shown(source);
    std::sort(shown.begin(), shown.end());
    EXPECT_EQ(shown, (std::vector<std::string>{
                         ": Site <https://site.example/>",
                         ": nothing <>",
                         "Empty/",
                         "News/",
                         "News/: a <http://a.example/>",
                         "News/: b <http://b.example/>",
                     }));
    EXPECT_EQ(SourceBaseName(favorites.path() + "/"),
              favorites.path().substr(favorites.path().rfind('/') + 1));
    EXPECT_EQ(SourceBaseName("/x/bookmarks_2024.06.html"), "bookmarks_2024.06");
    EXPECT_EQ(SourceBaseName("/x/.hidden"), ".hidden");
}

}  // namespace
}  // namespace velnora::imports
