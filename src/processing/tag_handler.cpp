#include "processing/tag_handler.h"

#include <optional>
#include <utility>

#include "processing/encoding.h"
#include "processing/limits.h"
#include "processing/tag_names.h"
#include "processing/url_resolver.h"
#include "text/shift_jis.h"

namespace velnora::processing {
namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// h1 to h6 (and any "h" and digit); only in lower case.
bool IsHeadingStart(std::string_view name) {
    return name.size() >= 2 && name[0] == 'h' && IsDigit(name[1]);
}

// /h1 to /h6 (and any "/h" and digit), in either case.
bool IsHeadingEnd(std::string_view name) {
    return name.size() >= 3 && name[0] == '/' && (name[1] == 'h' || name[1] == 'H') &&
           IsDigit(name[2]);
}

bool IsAttribute(std::string_view token, std::string_view attribute) {
    return text::EqualNoCase(token, attribute);
}

constexpr std::string_view kFieldOpen = "\x81\x79";                // 【
constexpr std::string_view kFieldClose = "\x81\x7A";               // 】
constexpr std::string_view kRssLinkEnd = "\">\x81\xA8[link]</a>";  // ">→[link]</a>

}  // namespace

TagHandler::TagHandler(TextAccumulator& accumulator, ExtractedTextWriter& writer,
                       EncodingSelector& encoding, int table_setting, int charset_sel,
                       std::string page_url)
    : accumulator_(accumulator),
      writer_(writer),
      encoding_(encoding),
      table_setting_(table_setting),
      charset_sel_(charset_sel),
      page_url_(std::move(page_url)) {
    resolver_.SetBase(page_url_);
}

void TagHandler::Reset() {
    base_url_.clear();
    resolver_.SetBase(page_url_);
    rss_mode_ = false;
    keep_line_ends_ = false;
}

void TagHandler::FlushPending() {
    if (accumulator_.pending_blanks != 0) {
        writer_.WriteChar(' ');
    }
    if (accumulator_.pending_breaks != 0) {
        writer_.WriteChar('\n');
    }
    accumulator_.pending_blanks = 0;
    accumulator_.pending_breaks = 0;
    accumulator_.anchor_line_break = false;
}

void TagHandler::CloseAnchor() {
    if (!accumulator_.inside_anchor) {
        return;
    }
    if (accumulator_.anchor_line_break && !accumulator_.no_break) {
        ++accumulator_.pending_breaks;
    }
    FlushPending();
    writer_.WriteText("</a>");
    accumulator_.inside_anchor = false;
}

void TagHandler::WriteAddress(std::string_view value) {
    writer_.WriteText(resolver_.Absolute(value));
}

TagHandler::Outcome TagHandler::Handle(const TagParser& tag) {
    Outcome outcome;
    const std::size_t count = tag.token_count();
    const std::string_view name = tag.token(0);
    const TagKind kind = KindOfTag(name);
    switch (kind) {
        case TagKind::kTd:
        case TagKind::kTdEnd:
        case TagKind::kTr:
        case TagKind::kTrEnd: {
            CloseAnchor();
            const bool cell = kind == TagKind::kTd || kind == TagKind::kTdEnd;
            if (table_setting_ == (cell ? 1 : 2)) {
                accumulator_.no_break = kind == TagKind::kTd || kind == TagKind::kTr;
                accumulator_.Add('\n');
            } else {
                accumulator_.Break();
            }
            return outcome;
        }
        case TagKind::kTableEnd:
            CloseAnchor();
            accumulator_.no_break = false;
            accumulator_.Add('\n');
            return outcome;
        case TagKind::kBreakA:
        case TagKind::kBreakB:
            accumulator_.Break();
            return outcome;
        case TagKind::kA:
            Link(tag);
            return outcome;
        case TagKind::kAEnd:
            // Unlike CloseAnchor, a line break inside the link text is not restored.
            if (accumulator_.inside_anchor) {
                FlushPending();
                writer_.WriteText("</a>");
                accumulator_.inside_anchor = false;
            }
            return outcome;
        case TagKind::kImg:
            Image(tag);
            return outcome;
        case TagKind::kInline:
            return outcome;
        case TagKind::kScript:
            outcome.skip = SkipMode::kScript;
            return outcome;
        case TagKind::kOptgroup:
            outcome.skip = SkipMode::kOptgroup;
            return outcome;
        case TagKind::kSelect:
            outcome.skip = SkipMode::kSelect;
            return outcome;
        case TagKind::kStyle:
            outcome.skip = SkipMode::kStyle;
            return outcome;
        case TagKind::kPre:
            accumulator_.Break();
            outcome.skip = SkipMode::kPre;
            return outcome;
        case TagKind::kBase:
            Base(tag);
            return outcome;
        case TagKind::kMeta:
            outcome.encoding_selected = Meta(tag);
            return outcome;
        case TagKind::kXml:
            outcome.encoding_selected = Xml(tag);
            return outcome;
        case TagKind::kLink:
        case TagKind::kLinkEnd:
        case TagKind::kDescription:
        case TagKind::kDescriptionEnd:
        case TagKind::kOther:
            break;
    }
    if (IsHeadingStart(name) || IsHeadingEnd(name)) {
        accumulator_.Break();
        return outcome;
    }
    if (!rss_mode_) {
        if (name == "rss" || name == "rdf:RDF") {
            rss_mode_ = true;
        }
        return outcome;
    }
    switch (kind) {
        case TagKind::kLink:
            if (count == 1) {
                writer_.WriteText(" <a href=\"");
                accumulator_.pending_blanks = 0;
                accumulator_.pending_breaks = 0;
                accumulator_.anchor_line_break = false;
            }
            return outcome;
        case TagKind::kLinkEnd:
            writer_.WriteText(kRssLinkEnd);
            accumulator_.Add('\n');
            return outcome;
        case TagKind::kDescription:
            keep_line_ends_ = true;
            return outcome;
        case TagKind::kDescriptionEnd:
            keep_line_ends_ = false;
            return outcome;
        default:
            break;
    }
    Rss(name);
    return outcome;
}

void TagHandler::Link(const TagParser& tag) {
    CloseAnchor();
    accumulator_.inside_anchor = true;
    FlushPending();
    const std::size_t count = tag.token_count();
    for (std::size_t i = 1; i + 1 < count; ++i) {
        if (IsAttribute(tag.token(i), "href")) {
            writer_.WriteText("<a href=\"");
            WriteAddress(tag.token(i + 1));
            writer_.WriteText("\">");
        }
    }
}

void TagHandler::Image(const TagParser& tag) {
    FlushPending();
    writer_.WriteText("<img");
    const std::size_t count = tag.token_count();
    for (std::size_t i = 1; i + 1 < count; ++i) {
        if (IsAttribute(tag.token(i), "src") && !tag.token(i + 1).empty()) {
            writer_.WriteText(" src=\"");
            WriteAddress(tag.token(i + 1));
            writer_.WriteChar('"');
        }
    }
    for (std::size_t i = 1; i + 1 < count; ++i) {
        if (IsAttribute(tag.token(i), "alt") && !tag.token(i + 1).empty()) {
            writer_.WriteText(" alt=\"");
            writer_.WriteText(tag.token(i + 1));
            writer_.WriteChar('"');
        }
    }
    writer_.WriteChar('>');
}

void TagHandler::Base(const TagParser& tag) {
    const std::size_t count = tag.token_count();
    for (std::size_t i = 1; i + 1 < count; ++i) {
        if (IsAttribute(tag.token(i), "href")) {
            std::string_view address = tag.token(i + 1);
            if (address.size() <= kBaseUrlLimit) {
                base_url_.assign(address);
                resolver_.SetBase(base_url_.empty() ? page_url_ : base_url_);
            }
            return;
        }
    }
}

bool TagHandler::Meta(const TagParser& tag) {
    if (charset_sel_ != 0) {
        return false;
    }
    bool selected = false;
    const std::size_t count = tag.token_count();
    // http-equiv="Content-Type" content="text/html; charset=...": any token naming a charset.
    for (std::size_t i = 0; i < count; ++i) {
        if (std::optional<Encoding> encoding = CharsetInText(tag.token(i))) {
            encoding_.Select(*encoding);
            selected = true;
        }
    }
    // charset="...": the value is the encoding's name.
    for (std::size_t i = 1; i + 1 < count; ++i) {
        if (IsAttribute(tag.token(i), "charset")) {
            if (std::optional<Encoding> encoding = EncodingByName(tag.token(i + 1))) {
                encoding_.Select(*encoding);
                selected = true;
            }
        }
    }
    return selected;
}

bool TagHandler::Xml(const TagParser& tag) {
    if (charset_sel_ != 0) {
        return false;
    }
    bool selected = false;
    const std::size_t count = tag.token_count();
    for (std::size_t i = 1; i + 1 < count; ++i) {
        if (IsAttribute(tag.token(i), "encoding")) {
            if (std::optional<Encoding> encoding = EncodingByName(tag.token(i + 1))) {
                encoding_.Select(*encoding);
                selected = true;
            }
        }
    }
    return selected;
}

void TagHandler::Rss(std::string_view name) {
    if (IsRssStructureName(name)) {
        accumulator_.Add('\n');
        return;
    }
    bool closing = false;
    std::string_view field = RssFieldName(name, closing);
    if (field.empty()) {
        return;
    }
    accumulator_.Add('\n');
    if (closing) {
        return;
    }
    if (field.starts_with("dc:")) {
        field.remove_prefix(3);
    }
    for (std::string_view part : {kFieldOpen, field, kFieldClose, std::string_view(":")}) {
        for (char c : part) {
            accumulator_.Add(static_cast<unsigned char>(c));
        }
    }
}

}  // namespace velnora::processing
