#pragma once

// The HtmlTokenizer turns the Shift_JIS body into the extracted text: it separates text from
// tags byte by byte, collects text in the TextAccumulator, splits each tag into tokens with its
// TagParser and lets the TagHandler act on every complete tag. Script, style, select and
// optgroup content is dropped; pre content and plain-text pages are copied unchanged.

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "processing/extracted_text_writer.h"
#include "processing/stage.h"
#include "processing/text_accumulator.h"

namespace velnora::processing {

// The page settings that the extraction reads.
struct ExtractionOptions {
    int table_setting = 0;  // TABLE_SETTING: 0, 1 (no break in a cell) or 2 (in a row)
    int charset_sel = 0;    // CHARSET_SEL: detection from meta and ?xml tags only when 0
    std::string page_url;   // the base of relative links when no base tag gives one
};

class HtmlTokenizer : public ByteSink {
  public:
    HtmlTokenizer(TextAccumulator& accumulator, ExtractedTextWriter& writer,
                  EncodingSelector& encoding, ExtractionOptions options);
    ~HtmlTokenizer() override;

    void Reset();
    // The header block has ended: plain text (AS_TEXT) or HTML from here on.
    void BeginBody(bool as_text);
    std::size_t Take(std::string_view bytes) override;
    // The body has ended: text still in the accumulator after the last tag is written, as a
    // "<" would write it.
    void EndBody();

  private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace velnora::processing
