#pragma once

// The ResponseDecoder reads everything of a stored response after its status line: it finds the
// end of the header block, learns from the header lines how the body is framed and encoded
// (chunked, gzip, charset), strips the chunked framing, inflates a gzip body, and hands the
// body bytes on through ResponseEvents.
//
// Header lines are collected in the run's TextAccumulator, lower-cased byte by byte, so they
// are subject to its rules (a run of blanks is one blank, at most 65,533 bytes).

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "processing/gzip_inflater.h"
#include "processing/stage.h"
#include "processing/text_accumulator.h"

namespace velnora::processing {

class ResponseDecoder {
  public:
    enum class State : int {
        kHeaders = 0,    // header lines, up to the empty line
        kBody = 1,       // body bytes straight on
        kChunkSize = 2,  // a chunk size line, up to CR LF
        kChunkData = 3,  // chunk payload straight on
        kChunkGzip = 4,  // chunk payload into the inflater
    };

    // charset_sel: the page's CHARSET_SEL; header charsets are reported only when it is 0.
    ResponseDecoder(TextAccumulator& accumulator, ResponseEvents& events, int charset_sel);

    void Reset();
    // Consumes bytes of the response, in order, from the first byte after the status line.
    void Feed(std::string_view bytes);
    // The response has ended.
    void Finish();

    State state() const { return state_; }
    bool headers_ended() const { return state_ != State::kHeaders; }
    bool chunked() const { return chunked_; }
    bool gzip() const { return gzip_; }
    // Bytes consumed so far.
    std::uint64_t byte_position() const { return position_; }

  private:
    // (implementation state: see response_decoder.cpp)
    TextAccumulator& accumulator_;
    ResponseEvents& events_;
    int charset_sel_;
    State state_ = State::kHeaders;
    std::uint64_t position_ = 0;
    bool chunked_ = false;
    bool gzip_ = false;
    bool line_has_content_ = false;
    bool after_cr_ = false;
    int chunk_substate_ = 0;
    std::string chunk_size_text_;
    std::int64_t chunk_remaining_ = 0;
    GzipInflater inflater_;
};

}  // namespace velnora::processing
