#include "imports/html_entities.h"

#include <array>
#include <charconv>

#include "text/cp932.h"

namespace velnora::imports {

namespace {

struct NamedReference {
    std::string_view name;
    std::string_view text;
};

constexpr std::array<NamedReference, 6> kNamed = {{
    {"amp", "&"},
    {"lt", "<"},
    {"gt", ">"},
    {"quot", "\""},
    {"apos", "'"},
    {"nbsp", "\xC2\xA0"},
}};

// The longest reference taken: "&#x10FFFF;" and the longest name fit.
constexpr std::size_t kLongestReference = 10;

// The text of the reference "&body;", appended to out; false when it is none that is known.
bool AppendReference(std::string& out, std::string_view body) {
    if (body.starts_with('#')) {
        std::string_view digits = body.substr(1);
        int base = 10;
        if (digits.starts_with('x') || digits.starts_with('X')) {
            digits.remove_prefix(1);
            base = 16;
        }
        unsigned long code = 0;
        auto [end, error] =
            std::from_chars(digits.data(), digits.data() + digits.size(), code, base);
        if (digits.empty() || error != std::errc() || end != digits.data() + digits.size() ||
            code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
            return false;
        }
        text::AppendUtf8(out, static_cast<char32_t>(code));
        return true;
    }
    for (const NamedReference& named : kNamed) {
        if (body == named.name) {
            out += named.text;
            return true;
        }
    }
    return false;
}

}  // namespace

std::string DecodeEntities(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        std::size_t amp = text.find('&', i);
        if (amp == std::string_view::npos) {
            out += text.substr(i);
            break;
        }
        out += text.substr(i, amp - i);
        std::size_t semicolon = text.find(';', amp + 1);
        if (semicolon != std::string_view::npos && semicolon - amp - 1 <= kLongestReference &&
            AppendReference(out, text.substr(amp + 1, semicolon - amp - 1))) {
            i = semicolon + 1;
        } else {
            out += '&';
            i = amp + 1;
        }
    }
    return out;
}

std::string EscapeMarkup(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += "&#39;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

}  // namespace velnora::imports
