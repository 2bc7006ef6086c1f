#pragma once

// The extraction half of a page check: from a stored response to the extracted text. Used by the
// check itself (into new.txt) and by previews that must touch no file (into memory).

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "files/binary_file.h"
#include "processing/extracted_text_writer.h"
#include "store/records.h"

namespace velnora::processing {

// The status code of a response's first line: when its first token (split at blanks, CR and LF)
// begins with "HTTP" in any letter case, the decimal value of the second token; else 0.
int ParseStatusCode(std::string_view first_line);

// Reads a response's first line, through its line feed, at most kFirstLineLimit bytes. False
// when the file is empty.
bool ReadFirstLine(files::InputFile& response, std::string& line);

// The message of an error status: "HTTPエラー (" + the first line up to its line end + ")".
std::string HttpErrorMessage(std::string_view first_line);

class ExtractionChain;

// The stages of one extraction, fed with the response after its first line.
class ResponseExtractor {
  public:
    ResponseExtractor(const store::PageSettings& settings, TextOutput& output);
    ~ResponseExtractor();
    ResponseExtractor(const ResponseExtractor&) = delete;
    ResponseExtractor& operator=(const ResponseExtractor&) = delete;

    void Feed(std::string_view bytes);
    // The response has ended: the last text is written and the output flushed.
    void Finish();
    bool headers_ended() const;
    // The text reached its limit: the rest of the response adds nothing.
    bool text_cut() const;
    // After Finish: the response is whole, as far as its framing tells (see ResponseDecoder).
    bool complete() const;

  private:
    std::unique_ptr<ExtractionChain> chain_;
};

struct ExtractionSummary {
    bool headers_ended = false;       // the header block was complete
    bool stopped_by_closing = false;  // the closing flag cut the reading short
    bool text_cut = false;            // the text reached kMaxExtractedTextBytes and was cut
    bool read_failed = false;         // the response file could not be read to its end
    bool complete = false;            // the response came whole (see ResponseDecoder)
};

// Reads the rest of the response (the file positioned just after its first line) through the
// pipeline's stages and writes the extracted text to output.
ExtractionSummary ExtractResponseBody(files::InputFile& response,
                                      const store::PageSettings& settings, TextOutput& output,
                                      const std::atomic<bool>& closing);

}  // namespace velnora::processing
