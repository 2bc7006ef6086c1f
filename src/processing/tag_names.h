#pragma once

// The tag names the extraction knows. Every other name is ignored (its content, if any, is
// ordinary text).

#include <string_view>

namespace velnora::processing {

// What a tag name means, for the names compared without regard to letter case.
enum class TagKind {
    kOther,           // no table knows it
    kTd,              // "td"
    kTdEnd,           // "/td"
    kTr,              // "tr"
    kTrEnd,           // "/tr"
    kTableEnd,        // "/table"
    kBreakA,          // break set A: br, table, p, div, title, ul, ol, li and their closings
    kA,               // "a", a link
    kAEnd,            // "/a"
    kImg,             // "img"
    kInline,          // span, font, b and their closings
    kBreakB,          // break set B: hr, th, dl, form, input, blockquote and others
    kScript,          // "script": content dropped up to "</script>"
    kOptgroup,        // "optgroup": content dropped up to "</optgroup>"
    kSelect,          // "select": content dropped up to "</select>"
    kStyle,           // "style": content dropped up to "</style>"
    kPre,             // "pre": content copied unchanged up to "</pre>"
    kBase,            // "base": the base address of relative links
    kMeta,            // "meta": charset detection
    kXml,             // "?xml": encoding detection
    kLink,            // "link", the address of an RSS item
    kLinkEnd,         // "/link"
    kDescription,     // "description", an RSS text with its own line breaks
    kDescriptionEnd,  // "/description"
};

// The meaning of a tag name, letter case ignored.
TagKind KindOfTag(std::string_view name);

// A name of the RSS structure set (item, channel, description and their closings), letter
// case significant.
bool IsRssStructureName(std::string_view name);

// For a name of the RSS field set (letter case significant): the field's opening name; nothing
// (empty) for any other name. closing tells whether the name was the closing one.
std::string_view RssFieldName(std::string_view name, bool& closing);

}  // namespace velnora::processing
