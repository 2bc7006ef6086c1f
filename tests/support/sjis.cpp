#include "support/sjis.h"

#include <gtest/gtest.h>

#include "text/cp932.h"

namespace velnora::test {

std::string Sjis(std::string_view utf8) {
    auto converted = text::Utf8ToShiftJisStrict(utf8);
    EXPECT_TRUE(converted.has_value()) << "no Shift_JIS form: " << utf8;
    return converted.value_or("");
}

std::string Utf8(std::string_view sjis) {
    return text::ShiftJisToUtf8(sjis);
}

}  // namespace velnora::test
