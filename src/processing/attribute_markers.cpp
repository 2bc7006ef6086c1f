// Hidden attribute values: the address of a link or the source of an image in a line of
// extracted text is marked so that the comparison can pass over it, and the marks are undone.

#include "processing/attribute_markers.h"

#include <cstring>

namespace velnora::processing {

namespace {

constexpr char kHiddenHref = 0x01;   // stands for the h of href="
constexpr char kHiddenSrc = 0x02;    // stands for the s of src="
constexpr char kHiddenClose = 0x03;  // stands for the quote that closes the value

// Where the scan stands in the line's reduced markup.
enum class Scan {
    kOutside,  // plain text
    kTag,      // inside an img tag (mode 0) or a tag whose name begins with a (mode 1)
    kQuoted,   // inside a quoted value that is not hidden
    kValue,    // inside the hidden value, looking for its closing quote
};

bool StartsWith(const std::string& line, std::size_t at, std::string_view text) {
    return line.size() - at >= text.size() &&
           std::memcmp(line.data() + at, text.data(), text.size()) == 0;
}

}  // namespace

// Tag names and attributes are matched case-sensitively, as the extraction writes them. The
// first byte of a hidden value is always part of it, even when it is the closing quote of an
// empty value.
void HideAttributeValues(std::string& line, int mode) {
    const std::string_view tag_name = mode == 0 ? "img" : "a";
    const std::string_view attribute = mode == 0 ? "src=\"" : "href=\"";
    const char marker = mode == 0 ? kHiddenSrc : kHiddenHref;
    Scan state = Scan::kOutside;
    std::size_t i = 0;
    // The next byte at or after i that is c, or the end of the line.
    auto next = [&line](std::size_t from, char c) {
        const void* found = std::memchr(line.data() + from, c, line.size() - from);
        return found == nullptr
                   ? line.size()
                   : static_cast<std::size_t>(static_cast<const char*>(found) - line.data());
    };
    while (i < line.size()) {
        switch (state) {
            case Scan::kOutside:
                i = next(i, '<');
                if (i == line.size()) {
                    break;
                }
                if (StartsWith(line, i + 1, tag_name)) {
                    state = Scan::kTag;
                    i += 1 + tag_name.size();
                } else {
                    ++i;
                }
                break;
            case Scan::kTag:
                if (line[i] == '>') {
                    state = Scan::kOutside;
                    ++i;
                } else if (StartsWith(line, i, attribute)) {
                    line[i] = marker;
                    state = Scan::kValue;
                    i += attribute.size() + 1;
                } else {
                    if (line[i] == '"') {
                        state = Scan::kQuoted;
                    }
                    ++i;
                }
                break;
            case Scan::kQuoted:
                i = next(i, '"');
                if (i < line.size()) {
                    state = Scan::kTag;
                    ++i;
                }
                break;
            case Scan::kValue:
                i = next(i, '"');
                if (i < line.size()) {
                    line[i] = kHiddenClose;
                    state = Scan::kOutside;
                    ++i;
                }
                break;
        }
    }
}

void RestoreAttributeValues(std::string& line) {
    for (char& c : line) {
        if (c == kHiddenHref) {
            c = 'h';
        } else if (c == kHiddenSrc) {
            c = 's';
        } else if (c == kHiddenClose) {
            c = '"';
        }
    }
}

bool HidesAttributeValues(const ComparisonContext& context) {
    return context.ignore_image_name != 0 || context.settings.ignore_url != 0;
}

void HideForComparison(std::string& line, const ComparisonContext& context) {
    if (context.ignore_image_name != 0) {
        HideAttributeValues(line, 0);
    }
    if (context.settings.ignore_url != 0) {
        HideAttributeValues(line, 1);
    }
}

}  // namespace velnora::processing
