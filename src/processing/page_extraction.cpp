#include "processing/page_extraction.h"

#include <memory>

#include "processing/charset_decoder.h"
#include "processing/html_tokenizer.h"
#include "processing/limits.h"
#include "processing/response_decoder.h"
#include "processing/stage.h"
#include "processing/text_accumulator.h"
#include "text/shift_jis.h"
#include "text/yield.h"

namespace velnora::processing {

namespace {

bool IsSeparator(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Hands the charset decoder's output to the tokenizer, which is made after the decoder: the two
// refer to each other (the tokenizer's meta tags select the decoder's encoding).
class TokenizerRelay : public ByteSink {
  public:
    std::size_t Take(std::string_view bytes) override { return target->Take(bytes); }
    HtmlTokenizer* target = nullptr;
};

}  // namespace

// The stages of one extraction, connected as stage.h shows.
class ExtractionChain : public ResponseEvents {
  public:
    ExtractionChain(const store::PageSettings& settings, TextOutput& output)
        : settings_(settings),
          writer_(output),
          charset_(relay_),
          tokenizer_(accumulator_, writer_, charset_,
                     ExtractionOptions{settings.table_setting, settings.charset_sel, settings.url}),
          decoder_(accumulator_, *this, settings.charset_sel) {
        relay_.target = &tokenizer_;
        accumulator_.Reset();
        charset_.Reset(EncodingForCharsetSel(settings.charset_sel));
        tokenizer_.Reset();
        decoder_.Reset();
    }

    void Feed(std::string_view bytes) { decoder_.Feed(bytes); }

    void Finish() {
        decoder_.Finish();
        if (decoder_.headers_ended()) {
            tokenizer_.EndBody();
        }
        writer_.FlushText();
    }

    bool headers_ended() const { return decoder_.headers_ended(); }
    bool text_cut() const { return writer_.cut(); }
    bool complete() const { return decoder_.complete(); }

    void OnHeaderCharset(Encoding encoding) override { charset_.Select(encoding); }
    void OnBodyStart() override {
        accumulator_.Clear();
        tokenizer_.BeginBody(settings_.as_text != 0);
    }
    void OnBody(std::string_view bytes) override { charset_.Feed(bytes); }

  private:
    const store::PageSettings& settings_;
    TextAccumulator accumulator_;
    ExtractedTextWriter writer_;
    TokenizerRelay relay_;
    CharsetDecoder charset_;
    HtmlTokenizer tokenizer_;
    ResponseDecoder decoder_;
};

ResponseExtractor::ResponseExtractor(const store::PageSettings& settings, TextOutput& output)
    : chain_(std::make_unique<ExtractionChain>(settings, output)) {}

ResponseExtractor::~ResponseExtractor() = default;

void ResponseExtractor::Feed(std::string_view bytes) {
    chain_->Feed(bytes);
}

void ResponseExtractor::Finish() {
    chain_->Finish();
}

bool ResponseExtractor::headers_ended() const {
    return chain_->headers_ended();
}

bool ResponseExtractor::text_cut() const {
    return chain_->text_cut();
}

bool ResponseExtractor::complete() const {
    return chain_->complete();
}

int ParseStatusCode(std::string_view line) {
    std::string_view tokens[2];
    int count = 0;
    std::size_t i = 0;
    while (count < 2 && i < line.size()) {
        while (i < line.size() && IsSeparator(line[i])) {
            ++i;
        }
        std::size_t start = i;
        while (i < line.size() && !IsSeparator(line[i])) {
            ++i;
        }
        if (i > start) {
            tokens[count++] = line.substr(start, i - start);
        }
    }
    if (count < 2 || tokens[0].size() < 4 || !text::EqualNoCase(tokens[0].substr(0, 4), "HTTP")) {
        return 0;
    }
    std::string_view number = tokens[1];
    bool negative = false;
    if (!number.empty() && (number[0] == '-' || number[0] == '+')) {
        negative = number[0] == '-';
        number.remove_prefix(1);
    }
    long long value = 0;
    for (char c : number) {
        if (c < '0' || c > '9' || value > 100000000) {
            break;
        }
        value = value * 10 + (c - '0');
    }
    return static_cast<int>(negative ? -value : value);
}

bool ReadFirstLine(files::InputFile& response, std::string& line) {
    line.clear();
    char block[4096];
    while (line.size() < kFirstLineLimit) {
        std::size_t want = kFirstLineLimit - line.size();
        if (want > sizeof block) {
            want = sizeof block;
        }
        std::size_t n = response.Read(block, want);
        if (n == 0) {
            break;
        }
        std::string_view got(block, n);
        std::size_t lf = got.find('\n');
        if (lf != std::string_view::npos) {
            line.append(got.substr(0, lf + 1));
            // Give back what was read past the line.
            std::size_t extra = n - (lf + 1);
            if (extra != 0) {
                response.SeekRelative(-static_cast<std::int64_t>(extra));
            }
            return true;
        }
        line.append(got);
    }
    return !line.empty();
}

std::string HttpErrorMessage(std::string_view first_line) {
    std::size_t end = first_line.find_first_of("\r\n");
    // "HTTPエラー (" in Shift_JIS.
    std::string message = "HTTP\x83\x47\x83\x89\x81\x5B (";
    message.append(first_line.substr(0, end));
    message.append(")");
    return message;
}

ExtractionSummary ExtractResponseBody(files::InputFile& response,
                                      const store::PageSettings& settings, TextOutput& output,
                                      const std::atomic<bool>& closing) {
    ExtractionSummary summary;
    ResponseExtractor extractor(settings, output);
    std::unique_ptr<char[]> block(new char[kReadBlockSize]);
    for (;;) {
        if (closing.load(std::memory_order_relaxed)) {
            summary.stopped_by_closing = true;
            break;
        }
        std::size_t n = response.Read(block.get(), kReadBlockSize);
        if (n == 0) {
            break;
        }
        extractor.Feed(std::string_view(block.get(), n));
        text::Yield(0);
        if (extractor.text_cut()) {
            break;
        }
    }
    extractor.Finish();
    summary.headers_ended = extractor.headers_ended();
    summary.text_cut = extractor.text_cut();
    summary.read_failed = response.Failed();
    summary.complete = extractor.complete();
    return summary;
}

}  // namespace velnora::processing
