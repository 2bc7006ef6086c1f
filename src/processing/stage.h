#pragma once

// How the stages of the page check pipeline hand bytes on. The chain of one run is
//
//   response file -> ResponseDecoder -> (ResponseEvents) -> CharsetDecoder -> HtmlTokenizer
//                                                                -> ExtractedTextWriter -> new.txt
//
// Bytes travel as spans, not one call per byte; every stage still treats them byte by byte and
// keeps its state between spans, so a span may end anywhere (in the middle of a character, an
// escape sequence, a CR LF, a tag or a chunk size line).

#include <cstddef>
#include <string_view>

#include "processing/encoding.h"

namespace velnora::processing {

// Receives Shift_JIS bytes (the tokenizer).
class ByteSink {
  public:
    virtual ~ByteSink() = default;
    // Takes the bytes in order and returns how many it took. It takes fewer than given only to
    // stop right after a tag that switched the encoding (EncodingSelector): the caller then
    // decodes the rest anew, so that the switch takes effect from the next byte.
    virtual std::size_t Take(std::string_view bytes) = 0;
};

// Receives the encoding found by charset detection (the charset decoder).
class EncodingSelector {
  public:
    virtual ~EncodingSelector() = default;
    virtual void Select(Encoding encoding) = 0;
};

// What the response decoder finds (the driver routes it on).
class ResponseEvents {
  public:
    virtual ~ResponseEvents() = default;
    // A header line named a charset (reported only when the page's CHARSET_SEL is 0).
    virtual void OnHeaderCharset(Encoding encoding) = 0;
    // The header block has ended; body bytes follow.
    virtual void OnBodyStart() = 0;
    // Body bytes: de-chunked and, when the response was gzip-encoded, inflated.
    virtual void OnBody(std::string_view bytes) = 0;
};

}  // namespace velnora::processing
