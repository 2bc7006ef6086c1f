#include "processing/response_decoder.h"

#include "processing/encoding.h"
#include "processing/text_search.h"
#include "text/shift_jis.h"

namespace velnora::processing {
namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// A header line split at its first colon: the name and the value, blanks around each removed.
struct HeaderField {
    std::string_view name;
    std::string_view value;
    bool has_colon = false;
};

HeaderField SplitHeaderLine(std::string_view line) {
    std::size_t colon = line.find(':');
    if (colon == std::string_view::npos) {
        return {text::TrimBlanks(line), {}, false};
    }
    return {text::TrimBlanks(line.substr(0, colon)), text::TrimBlanks(line.substr(colon + 1)),
            true};
}

// Transfer-Encoding whose last coding (RFC 9112, 6.1) is chunked.
bool DeclaresChunked(const HeaderField& field) {
    if (!field.has_colon || !text::EqualNoCase(field.name, "transfer-encoding")) {
        return false;
    }
    std::string_view last = field.value;
    if (std::size_t comma = last.rfind(','); comma != std::string_view::npos) {
        last = last.substr(comma + 1);
    }
    return text::EqualNoCase(text::TrimBlanks(last), "chunked");
}

bool DeclaresGzip(const HeaderField& field) {
    return field.has_colon && text::EqualNoCase(field.name, "content-encoding") &&
           (text::EqualNoCase(field.value, "gzip") || text::EqualNoCase(field.value, "x-gzip"));
}

}  // namespace

ResponseDecoder::ResponseDecoder(TextAccumulator& accumulator, ResponseEvents& events,
                                 int charset_sel)
    : accumulator_(accumulator),
      events_(events),
      charset_sel_(charset_sel),
      inflater_([this](std::string_view bytes) { events_.OnBody(bytes); }) {}

void ResponseDecoder::Reset() {
    state_ = State::kHeaders;
    position_ = 0;
    chunked_ = false;
    gzip_ = false;
    at_line_start_ = true;
    after_cr_ = false;
    drop_lf_ = false;
    content_length_.reset();
    content_length_invalid_ = false;
    body_bytes_ = 0;
    last_chunk_seen_ = false;
    chunk_line_end_ = ChunkLineEnd::kBefore;
    chunk_size_length_ = 0;
    chunk_remaining_ = 0;
    inflater_.Reset();
}

void ResponseDecoder::Feed(std::string_view bytes) {
    while (!bytes.empty()) {
        std::size_t used = 0;
        if (drop_lf_) {
            drop_lf_ = false;
            if (bytes.front() == '\n') {
                used = 1;  // the LF of the CR LF that ended the header block
            }
        }
        if (used == 0) {
            switch (state_) {
                case State::kHeaders:
                    used = FeedHeaders(bytes);
                    break;
                case State::kBody:
                    used = FeedBody(bytes);
                    break;
                case State::kChunkSize:
                    used = FeedChunkSize(bytes);
                    break;
                case State::kChunkData:
                case State::kChunkGzip:
                    used = FeedChunkData(bytes);
                    break;
            }
        }
        position_ += used;
        bytes.remove_prefix(used);
    }
}

void ResponseDecoder::Finish() {
    if (gzip_ && state_ != State::kHeaders) {
        inflater_.Finish();
    }
}

std::size_t ResponseDecoder::FeedHeaders(std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        auto b = static_cast<unsigned char>(bytes[i]);
        if (b != '\r' && b != '\n') {
            accumulator_.Add(text::AsciiLower(b));
            at_line_start_ = false;
            after_cr_ = false;
            continue;
        }
        if (b == '\n' && after_cr_) {
            after_cr_ = false;  // the rest of a CR LF
            continue;
        }
        // A line end (LF, CR LF or a lone CR).
        if (!accumulator_.empty()) {
            ExamineHeaderLine();
            accumulator_.Clear();
        }
        after_cr_ = b == '\r';
        if (at_line_start_) {
            // An empty line: the header block ends after it, after the LF of a CR LF.
            drop_lf_ = after_cr_;
            EndHeaders();
            return i + 1;
        }
        at_line_start_ = true;
    }
    return bytes.size();
}

bool ResponseDecoder::complete() const {
    if (state_ == State::kHeaders) {
        return false;
    }
    if (chunked_) {
        if (!last_chunk_seen_) {
            return false;
        }
    } else if (content_length_ && !content_length_invalid_ && body_bytes_ < *content_length_) {
        return false;
    }
    return !(gzip_ && inflater_.cut_short());
}

// Content-Length (RFC 9110, 8.6): decimal digits. A list of equal values counts as one; values
// that differ or are no number leave the length unknown.
void ResponseDecoder::NoteContentLength(std::string_view value) {
    while (!value.empty()) {
        std::size_t comma = value.find(',');
        std::string_view item = text::TrimBlanks(value.substr(0, comma));
        value = comma == std::string_view::npos ? std::string_view() : value.substr(comma + 1);
        std::uint64_t length = 0;
        bool valid = !item.empty() && item.size() <= 18;
        for (char c : item) {
            valid = valid && c >= '0' && c <= '9';
            length = length * 10 + static_cast<std::uint64_t>(c - '0');
        }
        if (!valid || (content_length_ && *content_length_ != length)) {
            content_length_invalid_ = true;
            return;
        }
        content_length_ = length;
    }
}

void ResponseDecoder::ExamineHeaderLine() {
    std::string_view line = accumulator_.text();
    HeaderField field = SplitHeaderLine(line);
    if (field.has_colon && text::EqualNoCase(field.name, "content-length")) {
        NoteContentLength(field.value);
    } else if (DeclaresChunked(field)) {
        chunked_ = true;
    } else if (charset_sel_ == 0 && ContainsNoCase(line, "charset") != std::string_view::npos) {
        if (auto encoding = CharsetInText(line)) {
            events_.OnHeaderCharset(*encoding);
        }
    } else if (DeclaresGzip(field)) {
        gzip_ = true;
    }
}

void ResponseDecoder::EndHeaders() {
    accumulator_.Clear();  // the pending blank count stays
    if (chunked_) {
        chunk_line_end_ = ChunkLineEnd::kBefore;
        chunk_size_length_ = 0;
        state_ = State::kChunkSize;
    } else {
        state_ = State::kBody;
    }
    if (gzip_) {
        inflater_.Reset();
    }
    events_.OnBodyStart();
}

void ResponseDecoder::PassBody(std::string_view bytes) {
    if (gzip_) {
        inflater_.Feed(bytes);
    } else {
        events_.OnBody(bytes);
    }
}

std::size_t ResponseDecoder::FeedBody(std::string_view bytes) {
    body_bytes_ += bytes.size();
    PassBody(bytes);
    return bytes.size();
}

std::size_t ResponseDecoder::FeedChunkSize(std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        char b = bytes[i];
        if (chunk_line_end_ == ChunkLineEnd::kBefore) {
            if (b == '\r') {
                chunk_line_end_ = ChunkLineEnd::kAfterCr;
            } else if (chunk_size_length_ < kChunkSizeTextLimit) {
                chunk_size_text_[chunk_size_length_++] = b;
            }
            continue;
        }
        chunk_line_end_ = ChunkLineEnd::kBefore;
        if (b != '\n') {
            chunk_size_length_ = 0;  // a CR without its LF: the line starts over
            continue;
        }
        chunk_remaining_ = ChunkSize();
        if (chunk_remaining_ == 0 && chunk_size_length_ > 0 && HexValue(chunk_size_text_[0]) == 0) {
            last_chunk_seen_ = true;  // "0": the body is complete
        }
        chunk_size_length_ = 0;
        state_ = gzip_ ? State::kChunkGzip : State::kChunkData;
        return i + 1;
    }
    return bytes.size();
}

std::int64_t ResponseDecoder::ChunkSize() const {
    // Hex digits up to the first other character (chunk extensions after ";" play no part);
    // none read as 0, and a size too large to hold reads as the largest one.
    std::int64_t size = 0;
    for (std::size_t i = 0; i < chunk_size_length_; ++i) {
        int digit = HexValue(chunk_size_text_[i]);
        if (digit < 0) {
            break;
        }
        if (size > (kMaxChunkSize - digit) / 16) {
            size = kMaxChunkSize;
        } else {
            size = size * 16 + digit;
        }
    }
    return size;
}

std::size_t ResponseDecoder::FeedChunkData(std::string_view bytes) {
    if (chunk_line_end_ == ChunkLineEnd::kAfterCr) {
        // The LF after the data is dropped; a size line follows.
        chunk_line_end_ = ChunkLineEnd::kBefore;
        chunk_size_length_ = 0;
        state_ = State::kChunkSize;
        return 1;
    }
    if (chunk_remaining_ <= 0) {
        // The CR after the data is dropped.
        chunk_line_end_ = ChunkLineEnd::kAfterCr;
        chunk_remaining_ = -1;
        return 1;
    }
    std::size_t n = bytes.size();
    if (static_cast<std::uint64_t>(chunk_remaining_) < n) {
        n = static_cast<std::size_t>(chunk_remaining_);
    }
    chunk_remaining_ -= static_cast<std::int64_t>(n);
    if (state_ == State::kChunkGzip) {
        inflater_.Feed(bytes.substr(0, n));
    } else {
        events_.OnBody(bytes.substr(0, n));
    }
    return n;
}

}  // namespace velnora::processing
