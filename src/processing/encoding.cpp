#include "processing/encoding.h"

#include "processing/text_search.h"
#include "text/shift_jis.h"

namespace velnora::processing {

Encoding EncodingForCharsetSel(int charset_sel) {
    switch (charset_sel) {
        case 2:
            return Encoding::kIso2022Jp;
        case 3:
            return Encoding::kEucJp;
        case 4:
            return Encoding::kUtf8;
        default:
            return Encoding::kShiftJis;
    }
}

std::optional<Encoding> CharsetInText(std::string_view text) {
    auto has = [&](std::string_view pattern) {
        return ContainsNoCase(text, pattern) != std::string_view::npos;
    };
    if (has("charset=euc-jp") || has("charset=x-euc-jp")) {
        return Encoding::kEucJp;
    }
    if (has("charset=iso-2022-jp")) {
        return Encoding::kIso2022Jp;
    }
    if (has("charset=utf-8")) {
        return Encoding::kUtf8;
    }
    return std::nullopt;
}

std::optional<Encoding> EncodingByName(std::string_view name) {
    if (text::EqualNoCase(name, "utf-8")) {
        return Encoding::kUtf8;
    }
    if (text::EqualNoCase(name, "euc-jp") || text::EqualNoCase(name, "x-euc-jp")) {
        return Encoding::kEucJp;
    }
    if (text::EqualNoCase(name, "iso-2022-jp")) {
        return Encoding::kIso2022Jp;
    }
    return std::nullopt;
}

}  // namespace velnora::processing
