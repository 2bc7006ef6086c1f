#include "processing/url_resolver.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace velnora::processing {
namespace {

struct Resolution {
    const char* reference;
    const char* expected;
};

// RFC 3986 section 5.4, base "http://a/b/c/d;p?q".
constexpr const char* kRfcBase = "http://a/b/c/d;p?q";

TEST(AbsoluteAddress, ResolvesTheNormalExamplesOfRfc3986) {
    const std::vector<Resolution> examples = {
        {"g:h", "g:h"},
        {"g", "http://a/b/c/g"},
        {"./g", "http://a/b/c/g"},
        {"g/", "http://a/b/c/g/"},
        {"/g", "http://a/g"},
        {"//g", "http://g"},
        {"?y", "http://a/b/c/d;p?y"},
        {"g?y", "http://a/b/c/g?y"},
        {"#s", "http://a/b/c/d;p?q#s"},
        {"g#s", "http://a/b/c/g#s"},
        {"g?y#s", "http://a/b/c/g?y#s"},
        {";x", "http://a/b/c/;x"},
        {"g;x", "http://a/b/c/g;x"},
        {"g;x?y#s", "http://a/b/c/g;x?y#s"},
        {"", "http://a/b/c/d;p?q"},
        {".", "http://a/b/c/"},
        {"./", "http://a/b/c/"},
        {"..", "http://a/b/"},
        {"../", "http://a/b/"},
        {"../g", "http://a/b/g"},
        {"../..", "http://a/"},
        {"../../", "http://a/"},
        {"../../g", "http://a/g"},
    };
    for (const Resolution& r : examples) {
        EXPECT_EQ(AbsoluteAddress(r.reference, kRfcBase), r.expected) << r.reference;
    }
}

TEST(AbsoluteAddress, ResolvesTheAbnormalExamplesOfRfc3986) {
    const std::vector<Resolution> examples = {
        {"../../../g", "http://a/g"},
        {"../../../../g", "http://a/g"},
        {"/./g", "http://a/g"},
        {"/../g", "http://a/g"},
        {"g.", "http://a/b/c/g."},
        {".g", "http://a/b/c/.g"},
        {"g..", "http://a/b/c/g.."},
        {"..g", "http://a/b/c/..g"},
        {"./../g", "http://a/b/g"},
        {"./g/.", "http://a/b/c/g/"},
        {"g/./h", "http://a/b/c/g/h"},
        {"g/../h", "http://a/b/c/h"},
        {"g;x=1/./y", "http://a/b/c/g;x=1/y"},
        {"g;x=1/../y", "http://a/b/c/y"},
        {"g?y/./x", "http://a/b/c/g?y/./x"},
        {"g?y/../x", "http://a/b/c/g?y/../x"},
        {"g#s/./x", "http://a/b/c/g#s/./x"},
        {"g#s/../x", "http://a/b/c/g#s/../x"},
        {"http:g", "http:g"},
    };
    for (const Resolution& r : examples) {
        EXPECT_EQ(AbsoluteAddress(r.reference, kRfcBase), r.expected) << r.reference;
    }
}

TEST(AbsoluteAddress, TakesWebAndFtpAddressesAsWritten) {
    EXPECT_EQ(AbsoluteAddress("http://x/a b/../c", kRfcBase), "http://x/a b/../c");
    EXPECT_EQ(AbsoluteAddress("HTTPS://x/|", kRfcBase), "HTTPS://x/|");
    EXPECT_EQ(AbsoluteAddress("Ftp://x/ y", ""), "Ftp://x/ y");
    // Any other scheme is resolved (dot segments removed) and escaped.
    EXPECT_EQ(AbsoluteAddress("mailto:a b@c", kRfcBase), "mailto:a%20b@c");
    EXPECT_EQ(AbsoluteAddress("javascript:f(\"x\")", ""), "javascript:f(%22x%22)");
    EXPECT_EQ(AbsoluteAddress("http:/x/../y", ""), "http:/y");
}

TEST(AbsoluteAddress, EscapesUnsafeBytesOfTheResult) {
    EXPECT_EQ(AbsoluteAddress("a b\t\"<>\\^`{|}", "http://h/"),
              "http://h/a%20b%09%22%3C%3E%5C%5E%60%7B%7C%7D");
    EXPECT_EQ(AbsoluteAddress("\x7f\x80\xfc", "http://h/"), "http://h/%7F%80%FC");
    EXPECT_EQ(AbsoluteAddress("%41#x?#", "http://h/"), "http://h/%41#x?#");
    EXPECT_EQ(AbsoluteAddress("[]~!$&'()*+,;=:@", "http://h/"), "http://h/[]~!$&'()*+,;=:@");
    // The base's own unsafe bytes are escaped too.
    EXPECT_EQ(AbsoluteAddress("x", "http://h/a b/"), "http://h/a%20b/x");
}

TEST(AbsoluteAddress, KeepsTheValueWhenThereIsNoUsableBase) {
    EXPECT_EQ(AbsoluteAddress("a b/x", ""), "a b/x");
    EXPECT_EQ(AbsoluteAddress("x", "relative/path"), "x");
    EXPECT_EQ(AbsoluteAddress("x", "//host/only"), "x");
    EXPECT_EQ(AbsoluteAddress("x", "mailto:someone"), "x");
    EXPECT_EQ(AbsoluteAddress("x", "1http://h/"), "x");
    // A base with an empty authority is absolute.
    EXPECT_EQ(AbsoluteAddress("x y", "file:///d/p"), "file:///d/x%20y");
    // A base without a path gets the root.
    EXPECT_EQ(AbsoluteAddress("x", "http://h"), "http://h/x");
    EXPECT_EQ(AbsoluteAddress("?q", "http://h"), "http://h?q");
}

TEST(AbsoluteAddress, KeepsTheValueWhenTheResultIsTooLong) {
    const std::string base = "http://h/";
    const std::string fits(9999 - base.size(), 'x');
    EXPECT_EQ(AbsoluteAddress(fits, base), base + fits);
    EXPECT_EQ(AbsoluteAddress(fits + "y", base), fits + "y");
    // Escaping counts: three bytes for each blank.
    std::string escaped = base;
    for (int i = 0; i < 3330; ++i) {
        escaped += "%20";
    }
    EXPECT_EQ(AbsoluteAddress(std::string(3330, ' '), base), escaped);
    EXPECT_EQ(AbsoluteAddress(std::string(3331, ' '), base), std::string(3331, ' '));
}

}  // namespace
}  // namespace velnora::processing

namespace velnora::processing {
namespace {

// The resolver keeps the base parsed and takes short cuts for the common references; it must
// give exactly what AbsoluteAddress gives.
TEST(UrlResolver, AgreesWithAbsoluteAddress) {
    const char* bases[] = {"http://a/b/c/d;p?q", "http://a", "http://a/", "HTTP://Host:8080/x/y",
                           "http://a/b/../c/", "http://a/./b/", "http://a/b", "http://a/b/c?q#f",
                           "relative/base", "", "mailto:x@y", "http://a/b c/"};
    const char* values[] = {"g", "./g", "g/", "/g", "//g", "?y", "g?y", "#s", "g#s", "g?y#s",
                            ";x", "g;x", "", ".", "./", "..", "../", "../g", "../..", "/./g",
                            "/../g", "g.", ".g", "g..", "..g", "./../g", "g/./h", "g/../h",
                            "g;x=1/./y", "http:g", "https://x/y", "FTP://x", "a b<c>",
                            "\x82\xA0.html", "/path?q=\x82\xA0#frag", "a:b", "g:h", "//",
                            "/x//y", "x/", "/"};
    for (const char* base : bases) {
        UrlResolver resolver;
        resolver.SetBase(base);
        for (const char* value : values) {
            EXPECT_EQ(resolver.Absolute(value), AbsoluteAddress(value, base))
                << "base " << base << ", value " << value;
        }
    }
}

}  // namespace
}  // namespace velnora::processing
