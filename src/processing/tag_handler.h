#pragma once

// The TagHandler decides what one complete tag means for the extracted text: a line break (a
// blank inside a table cell or row when TABLE_SETTING asks for it), the start of content that
// is dropped or copied unchanged, a link or an image in reduced markup with an absolute
// address, the base address of relative links, a character set, or, in RSS feeds, labelled
// fields and item links. It writes through the ExtractedTextWriter and the TextAccumulator.
//
// Reduced markup in the extracted text: a link is <a href="address">text</a>, an image
// <img src="address" alt="text"> (each attribute only when present), an RSS item link
//  <a href="address">→[link]</a> after its title, an RSS field a line 【name】:value.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "processing/extracted_text_writer.h"
#include "processing/stage.h"
#include "processing/tag_parser.h"
#include "processing/text_accumulator.h"
#include "processing/url_resolver.h"

namespace velnora::processing {

// What the tokenizer does with the content after a tag (in HTML text).
enum class SkipMode : std::uint8_t {
    kNone = 0,      // ordinary text
    kScript = 1,    // dropped up to "</script>"
    kOptgroup = 2,  // dropped up to "</optgroup>"
    kSelect = 3,    // dropped up to "</select>"
    kStyle = 4,     // dropped up to "</style>"
    kPre = 5,       // copied unchanged up to "</pre>"
};

class TagHandler {
  public:
    // What a tag asks of the tokenizer.
    struct Outcome {
        SkipMode skip = SkipMode::kNone;  // a skip mode to enter (kNone: stay as it is)
        bool encoding_selected = false;   // the tag selected an encoding
    };

    TagHandler(TextAccumulator& accumulator, ExtractedTextWriter& writer,
               EncodingSelector& encoding, int table_setting, int charset_sel,
               std::string page_url);

    void Reset();
    Outcome Handle(const TagParser& tag);

    // Line ends in the page source become line breaks (inside an RSS description).
    bool keep_line_ends() const { return keep_line_ends_; }

  private:
    // Writes the pending blank and then the pending line break straight out.
    void FlushPending();
    // Closes an open link; a line break that fell inside its text is restored before "</a>"
    // (unless line breaks are blanks here).
    void CloseAnchor();
    void WriteAddress(std::string_view value);
    void Link(const TagParser& tag);
    void Image(const TagParser& tag);
    void Base(const TagParser& tag);
    bool Meta(const TagParser& tag);
    bool Xml(const TagParser& tag);
    void Rss(std::string_view name);

    TextAccumulator& accumulator_;
    ExtractedTextWriter& writer_;
    EncodingSelector& encoding_;
    int table_setting_;
    int charset_sel_;
    std::string page_url_;
    std::string base_url_;  // from a base tag: at most 999 characters, empty when none
    UrlResolver resolver_;  // links resolve against the base URL, else the page URL
    bool rss_mode_ = false;
    bool keep_line_ends_ = false;
};

}  // namespace velnora::processing
