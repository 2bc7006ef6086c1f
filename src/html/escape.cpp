#include "html/escape.h"

#include "results/characters.h"
#include "results/link_targets.h"
#include "text/shift_jis.h"

namespace velnora::html {

namespace {

void AppendEscaped(std::string& out, std::string_view text, bool line_breaks) {
    for (std::size_t i = 0; i < text.size();) {
        std::size_t size = results::CharacterSize(text, i);
        char c = text[i];
        if (size == 2) {
            out.append(text.substr(i, 2));
        } else if (c == '&') {
            out.append("&amp;");
        } else if (c == '<') {
            out.append("&lt;");
        } else if (c == '>') {
            out.append("&gt;");
        } else if (c == '"') {
            out.append("&quot;");
        } else if (c == '\n' && line_breaks) {
            out.append("<br>\n");
        } else if (text::IsLeadByte(c)) {
            out.push_back('?');
        } else {
            out.push_back(c);
        }
        i += size;
    }
}

}  // namespace

void AppendEscapedText(std::string& out, std::string_view text) {
    AppendEscaped(out, text, true);
}

void AppendEscapedAttribute(std::string& out, std::string_view value) {
    AppendEscaped(out, value, false);
}

void AppendLink(std::string& out, std::string_view target, std::string_view text) {
    if (!results::IsOpenableTarget(target)) {
        AppendEscapedText(out, text);
        return;
    }
    out.append("<a href=\"");
    AppendEscapedAttribute(out, target);
    out.append("\">");
    AppendEscapedText(out, text);
    out.append("</a>");
}

}  // namespace velnora::html
