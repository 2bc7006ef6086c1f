// Drops as Linux browsers and file managers make them: the formats each offers, with the bytes
// it writes into them.

#include "imports/dropped_link.h"

#include <gtest/gtest.h>

#include "imports/link_files.h"
#include "support/sjis.h"
#include "support/temp_dir.h"

namespace velnora::imports {
namespace {

// UTF-16LE without a byte order mark, as Firefox writes text/x-moz-url.
std::string Utf16(std::u16string_view text) {
    std::string bytes;
    for (char16_t unit : text) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}

struct Case {
    const char* what;
    std::vector<std::pair<std::string, std::string>> formats;
    DropResult result;
    std::string address;
    std::optional<std::string> title;
};

// read_link_file: how a link file on disk is read (none: files give nothing).
void Check(const Case& c,
           std::function<std::optional<std::string>(std::string_view)> read_link_file = {}) {
    SCOPED_TRACE(c.what);
    DropContent content;
    content.formats = c.formats;
    content.read_link_file = std::move(read_link_file);
    DroppedLink link = ReadDrop(content);
    EXPECT_EQ(link.result, c.result);
    EXPECT_EQ(link.address, c.address);
    EXPECT_EQ(link.title, c.title);
}

TEST(DroppedLink, LinksFromBrowsersGiveTheirAddressAndTitle) {
    const std::string moz =
        Utf16(u"https://www.mozilla.org/en-US/\nInternet for people, not profit — Mozilla");
    const Case cases[] = {
        {"a link dragged out of a Firefox page",
         {{"text/x-moz-url", moz},
          {"text/x-moz-url-data", Utf16(u"https://www.mozilla.org/en-US/")},
          {"text/x-moz-url-desc", Utf16(u"Internet for people, not profit — Mozilla")},
          {"text/uri-list", "https://www.mozilla.org/en-US/"},
          {"_NETSCAPE_URL",
           "https://www.mozilla.org/en-US/\nInternet for people, not profit \xE2\x80\x94 Mozilla"},
          {"text/plain", "https://www.mozilla.org/en-US/"}},
         DropResult::kLink,
         "https://www.mozilla.org/en-US/",
         "Internet for people, not profit — Mozilla"},
        {"text/x-moz-url with a byte order mark and a closing zero",
         {{"text/x-moz-url",
           "\xFF\xFE" + Utf16(u"http://a.example/\n日本語") + std::string(2, '\0')}},
         DropResult::kLink,
         "http://a.example/",
         "日本語"},
        {"a link dragged out of a Chromium page",
         {{"text/uri-list", "https://example.com/"},
          {"_NETSCAPE_URL", "https://example.com/\nExample Domain"},
          {"text/plain;charset=utf-8", "https://example.com/"},
          {"UTF8_STRING", "https://example.com/"}},
         DropResult::kLink,
         "https://example.com/",
         "Example Domain"},
        {"a Chromium link as plain text only",
         {{"text/plain;charset=utf-8", "https://example.com/a b"},
          {"text/plain", "https://example.com/a b"}},
         DropResult::kLink,
         "https://example.com/a%20b",
         std::nullopt},
        {"an address selected in the address bar",
         {{"text/plain", "  https://ja.wikipedia.org/wiki/日本\n"}},
         DropResult::kLink,
         "https://ja.wikipedia.org/wiki/%E6%97%A5%E6%9C%AC",
         std::nullopt},
        {"plain text that is no address is offered as it is",
         {{"text/plain", "ただの文章"}},
         DropResult::kLink,
         test::Sjis("ただの文章"),
         std::nullopt},
        {"a list of addresses gives its first, comments passed over",
         {{"text/uri-list", "# dragged\r\nhttp://first.example/\r\nhttp://second.example/\r\n"}},
         DropResult::kLink,
         "http://first.example/",
         std::nullopt},
        {"a text over 2,100 bytes is refused",
         {{"text/plain", "http://long.example/" + std::string(2100, 'x')}},
         DropResult::kTooLong,
         "",
         std::nullopt},
        {"an empty text gives nothing",
         {{"text/plain", "  \n"}},
         DropResult::kNothing,
         "",
         std::nullopt},
        {"a drag without text gives nothing",
         {{"image/png", "\x89PNG"}},
         DropResult::kNothing,
         "",
         std::nullopt},
    };
    for (const Case& c : cases) {
        Check(c);
    }
}

TEST(DroppedLink, LinkFilesFromFileManagersGiveTheAddressTheyHold) {
    test::TempDir dir;
    test::MakeDir(dir / "Desktop");
    test::WriteBytes(dir / "Desktop/Example Site.desktop",
                     "[Desktop Entry]\nEncoding=UTF-8\nName=Something else\nType=Link\n"
                     "URL=https://site.example/\nIcon=text-html\n");
    test::WriteBytes(dir / "News.URL", "[InternetShortcut]\r\nURL=http://news.example/\r\n");
    test::WriteBytes(dir / "notes.html", "<html></html>");
    std::string uri = "file://" + dir.path();
    const Case cases[] = {
        {"a .desktop file dragged from a file manager, by its escaped address",
         {{"text/uri-list", uri + "/Desktop/Example%20Site.desktop\r\n"},
          {"x-special/gnome-icon-list", uri + "/Desktop/Example%20Site.desktop\r\n"},
          {"text/plain", uri + "/Desktop/Example%20Site.desktop"}},
         DropResult::kLink,
         "https://site.example/",
         "Example Site"},
        {"a .url file named with localhost",
         {{"text/uri-list", "file://localhost" + dir.path() + "/News.URL\r\n"}},
         DropResult::kLink,
         "http://news.example/",
         "News"},
        {"a .url file given by its path as text",
         {{"text/plain", dir.path() + "/News.URL"}},
         DropResult::kLink,
         "http://news.example/",
         "News"},
        {"any other file gives nothing",
         {{"text/uri-list", uri + "/notes.html\r\n"}},
         DropResult::kNothing,
         "",
         std::nullopt},
        {"a link file that cannot be read gives nothing",
         {{"text/uri-list", uri + "/Missing.url\r\n"}},
         DropResult::kNothing,
         "",
         std::nullopt},
        {"a file on another host gives nothing",
         {{"text/uri-list", "file://server/share/News.url\r\n"}},
         DropResult::kNothing,
         "",
         std::nullopt},
    };
    for (const Case& c : cases) {
        Check(c, [](std::string_view path) { return ReadLinkFile(path); });
    }
}

}  // namespace
}  // namespace velnora::imports
