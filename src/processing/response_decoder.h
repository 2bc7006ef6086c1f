#pragma once

// The ResponseDecoder reads everything of a stored response after its status line: it finds the
// end of the header block, learns from the header lines how the body is framed and encoded
// (chunked, gzip, charset), strips the chunked framing, inflates a gzip body, and hands the
// body bytes on through ResponseEvents.
//
// Header lines are collected in the run's TextAccumulator, lower-cased byte by byte, so they
// are subject to its rules (a run of blanks is one blank, at most 65,533 bytes). Each line is
// split at its first colon into a name and a value: a Transfer-Encoding whose last coding is
// chunked makes the body chunked; otherwise a line containing "charset" is tested for a charset
// (reported only when the page's CHARSET_SEL is 0); otherwise a Content-Encoding of gzip or
// x-gzip makes the body gzip. The header block ends at its first empty line: a line end (LF,
// CR LF or a lone CR) right after another one, or before any header line at all.
//
// The decoder also tells whether the response came whole: the header block ended, a chunked
// body reached its last chunk, a body with a Content-Length got that many bytes, and a gzip body
// did not end inside a member.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "processing/gzip_inflater.h"
#include "processing/limits.h"
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
    // After Finish: the response is whole, as far as its framing tells.
    bool complete() const;

  private:
    // Each handler consumes bytes from the front of its input (at least one) and returns how
    // many; it returns early when the state changes.
    std::size_t FeedHeaders(std::string_view bytes);
    std::size_t FeedBody(std::string_view bytes);
    std::size_t FeedChunkSize(std::string_view bytes);
    std::size_t FeedChunkData(std::string_view bytes);

    // A header line is complete (it is in the accumulator).
    void ExamineHeaderLine();
    void EndHeaders();
    // Body bytes: on to the events, or into the inflater when the body is gzip.
    void PassBody(std::string_view bytes);
    std::int64_t ChunkSize() const;
    void NoteContentLength(std::string_view value);

    TextAccumulator& accumulator_;
    ResponseEvents& events_;
    int charset_sel_;
    State state_ = State::kHeaders;
    std::uint64_t position_ = 0;
    bool chunked_ = false;
    bool gzip_ = false;
    // Header block: a line end has just been seen (or nothing yet), so another one is an empty
    // line; the last byte was a CR, whose LF belongs to the same line end.
    bool at_line_start_ = true;
    bool after_cr_ = false;
    // The header block ended with a CR: an LF right after it still belongs to the block.
    bool drop_lf_ = false;
    // The declared length of the body, when one valid Content-Length was given, and the body
    // bytes seen (not chunked).
    std::optional<std::uint64_t> content_length_;
    bool content_length_invalid_ = false;
    std::uint64_t body_bytes_ = 0;
    // Chunk framing: whether the last chunk came, and where the decoder stands in the line end
    // of a size line or of a chunk's data.
    bool last_chunk_seen_ = false;
    enum class ChunkLineEnd : int {
        kBefore = 0,   // the size text or the data goes on; no CR yet
        kAfterCr = 1,  // the CR has come (or been dropped); the LF that ends the line is next
    };
    ChunkLineEnd chunk_line_end_ = ChunkLineEnd::kBefore;
    std::array<char, kChunkSizeTextLimit + 1> chunk_size_text_{};
    std::size_t chunk_size_length_ = 0;
    std::int64_t chunk_remaining_ = 0;
    GzipInflater inflater_;
};

}  // namespace velnora::processing
