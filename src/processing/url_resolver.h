#pragma once

// The absolute address of a link or image target, as the extracted text records it.

#include <string>
#include <string_view>

namespace velnora::processing {

// A value beginning with "http://", "https://" or "ftp://" (letter case ignored) is taken as it
// stands. Otherwise it is resolved against the base by RFC 3986 section 5.2 (a reference with a
// scheme of its own is absolute; a base that is not absolute with an authority leaves the value
// exactly as written). The result then has every byte up to 0x20 or from 0x7F, and each of
// " < > \ ^ ` { | }, written as %XX with upper-case hex ("%" and "#" stay). A result longer than
// 9,999 bytes gives the value unchanged.
std::string AbsoluteAddress(std::string_view value, std::string_view base);

// The same rules with the base parsed once: a page's links are all resolved against one base.
class UrlResolver {
public:
    void SetBase(std::string_view base);
    std::string Absolute(std::string_view value) const;

private:
    std::string base_;
    // The parts of an absolute base with an authority; usable_ is false for any other base.
    bool usable_ = false;
    std::string origin_;     // scheme ":" "//" authority
    std::string directory_;  // the base path up to and including its last "/"
    std::string path_;       // the base path
    std::string query_;      // the base query, with its "?", or empty
    bool has_query_ = false;
    bool clean_directory_ = false;  // directory_ holds no dot segment
};

}  // namespace velnora::processing
