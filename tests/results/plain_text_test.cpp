#include "results/plain_text.h"

#include <gtest/gtest.h>

#include "results/display.h"
#include "results/results_support.h"

namespace velnora::results {
namespace {

using test::Sjis;

TEST(PlainText, LinksShowTheirAddressSettingsLinksTheirTextAlone) {
    ResultDocument document;
    document.AppendText(Sjis("■ "));
    document.AppendLink("http://example.com/", Sjis("日記"), true);
    document.AppendLink(SettingsTarget(7), Sjis("▽"), false);
    document.AppendText("\n");
    document.AppendLink("javascript:x()", "refused", false);
    document.AppendText("\n");
    EXPECT_EQ(PlainText(document), Sjis("■ 日記 <http://example.com/> ▽\nrefused\n"));
}

}  // namespace
}  // namespace velnora::results
