#pragma once

// Runs the HtmlTokenizer over a page body and collects the extracted text in memory. Every
// expectation is checked with the body fed whole, one byte per Take, and split in two at every
// position (for long bodies, at a spread of positions), so that no state depends on where a
// span ends.

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "processing/encoding.h"
#include "processing/extracted_text_writer.h"
#include "processing/html_tokenizer.h"
#include "processing/text_accumulator.h"

namespace velnora::processing::test {

// Records the encodings that charset detection selects.
class RecordingSelector : public EncodingSelector {
  public:
    void Select(Encoding encoding) override { selected.push_back(encoding); }
    std::vector<Encoding> selected;
};

class ExtractionRun {
  public:
    explicit ExtractionRun(ExtractionOptions options = {}, bool as_text = false)
        : writer_(output_), tokenizer_(accumulator_, writer_, selector_, std::move(options)) {
        tokenizer_.BeginBody(as_text);
    }

    // Hands the bytes over in one span; when the tokenizer stops early after an encoding
    // switch, the rest follows in a new span, as the charset decoder does it.
    void Feed(std::string_view bytes) {
        while (!bytes.empty()) {
            std::size_t taken = tokenizer_.Take(bytes);
            ASSERT_GT(taken, 0u);
            ASSERT_LE(taken, bytes.size());
            bytes.remove_prefix(taken);
        }
    }

    std::string Finish() {
        tokenizer_.EndBody();
        writer_.FlushText();
        return output_.text();
    }

    HtmlTokenizer& tokenizer() { return tokenizer_; }
    const std::vector<Encoding>& selected() const { return selector_.selected; }

  private:
    TextAccumulator accumulator_;
    StringTextOutput output_;
    ExtractedTextWriter writer_;
    RecordingSelector selector_;
    HtmlTokenizer tokenizer_;
};

struct ExtractionResult {
    std::string text;
    std::vector<Encoding> selected;
};

// The text of body fed in the given pieces (the lengths of the pieces; the rest follows whole).
inline ExtractionResult ExtractInPieces(std::string_view body, const std::vector<std::size_t>& cuts,
                                        const ExtractionOptions& options, bool as_text) {
    ExtractionRun run(options, as_text);
    std::size_t from = 0;
    for (std::size_t cut : cuts) {
        run.Feed(body.substr(from, cut - from));
        from = cut;
    }
    run.Feed(body.substr(from));
    std::string text = run.Finish();
    return {std::move(text), run.selected()};
}

inline ExtractionResult Extract(std::string_view body, const ExtractionOptions& options = {},
                                bool as_text = false) {
    return ExtractInPieces(body, {}, options, as_text);
}

// The positions at which the body is split in two: all of them for short bodies.
inline std::vector<std::size_t> SplitPositions(std::size_t size) {
    std::vector<std::size_t> positions;
    const std::size_t step = size <= 2000 ? 1 : size / 500 + 1;
    for (std::size_t k = 1; k < size; k += step) {
        positions.push_back(k);
    }
    for (std::size_t k : {std::size_t{1}, size / 2, size - 1}) {
        if (k > 0 && k < size) {
            positions.push_back(k);
        }
    }
    return positions;
}

// Checks that body extracts to expected (and selects the encodings given), fed whole, one byte
// at a time and split in two at every position.
inline void ExpectExtracts(std::string_view body, std::string_view expected,
                           const ExtractionOptions& options = {}, bool as_text = false,
                           const std::vector<Encoding>& selected = {}) {
    ExtractionResult whole = Extract(body, options, as_text);
    EXPECT_EQ(whole.text, expected) << "fed whole";
    EXPECT_EQ(whole.selected, selected) << "fed whole";

    std::vector<std::size_t> every_byte;
    for (std::size_t k = 1; k < body.size(); ++k) {
        every_byte.push_back(k);
    }
    ExtractionResult bytewise = ExtractInPieces(body, every_byte, options, as_text);
    EXPECT_EQ(bytewise.text, expected) << "fed one byte at a time";
    EXPECT_EQ(bytewise.selected, selected) << "fed one byte at a time";

    for (std::size_t k : SplitPositions(body.size())) {
        ExtractionResult split = ExtractInPieces(body, {k}, options, as_text);
        if (split.text != expected || split.selected != selected) {
            ADD_FAILURE() << "split at " << k << ": got \"" << split.text << "\", expected \""
                          << expected << "\"";
            return;
        }
    }
}

inline ExtractionOptions WithPageUrl(std::string url) {
    ExtractionOptions options;
    options.page_url = std::move(url);
    return options;
}

inline ExtractionOptions WithTableSetting(int table_setting) {
    ExtractionOptions options;
    options.table_setting = table_setting;
    return options;
}

inline ExtractionOptions WithCharsetSel(int charset_sel) {
    ExtractionOptions options;
    options.charset_sel = charset_sel;
    return options;
}

}  // namespace velnora::processing::test
