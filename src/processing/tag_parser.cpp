#include "processing/tag_parser.h"

#include <array>
#include <cstdint>

#include "text/shift_jis.h"

namespace velnora::processing {
namespace {

bool IsTagBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Bytes that end a run of bytes simply appended, by state.
enum : std::uint8_t {
    kStopsName = 1,    // in a name or an unquoted value
    kStopsDouble = 2,  // in a value in double quotes
    kStopsSingle = 4,  // in a value in apostrophes
};

constexpr auto kStops = [] {
    std::array<std::uint8_t, 256> stops{};
    for (unsigned char c : {'\0', '!', '"', '\'', ' ', '\t', '\r', '\n', ';', '=', '>'}) {
        stops[c] |= kStopsName;
    }
    for (int b = 0; b < 256; ++b) {
        if (text::IsLeadByte(static_cast<unsigned char>(b))) {
            stops[b] |= kStopsDouble | kStopsSingle;
        }
    }
    for (unsigned char c : {'\0', '\r', '\n'}) {
        stops[c] |= kStopsDouble | kStopsSingle;
    }
    stops['"'] |= kStopsDouble;
    stops['\''] |= kStopsSingle;
    return stops;
}();

// The number of bytes from the start of bytes that none of the stop bits given ends.
std::size_t RunLength(const char* bytes, std::size_t size, std::uint8_t stop) {
    std::size_t i = 0;
    while (i < size && (kStops[static_cast<unsigned char>(bytes[i])] & stop) == 0) {
        ++i;
    }
    return i;
}

}  // namespace

void TagParser::Begin() {
    state_ = State::kName;
    length_ = 0;
    count_ = 0;
    starts_[0] = 0;
}

std::string_view TagParser::token(std::size_t index) const {
    if (index >= count_) {
        return {};
    }
    return {text_.data() + starts_[index], ends_[index] - starts_[index]};
}

std::size_t TagParser::Feed(std::string_view bytes, Result& result) {
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        // Runs of bytes that are simply appended are copied at once.
        std::uint8_t stop = 0;
        switch (state_) {
            case State::kName:
            case State::kUnquoted:
                stop = kStopsName;
                break;
            case State::kDoubleQuoted:
                stop = kStopsDouble;
                break;
            case State::kSingleQuoted:
                stop = kStopsSingle;
                break;
            default:
                break;
        }
        if (stop != 0) {
            std::size_t run = RunLength(bytes.data() + i, bytes.size() - i, stop);
            AppendRun(bytes.data() + i, run);
            i += run;
            if (i == bytes.size()) {
                break;
            }
        }
        const char c = bytes[i];
        if (c == '\0') {
            continue;
        }
        switch (state_) {
            case State::kName:
                if (c == '!' && length_ == 0) {
                    state_ = State::kAfterBang;
                } else if (c == '"' || c == '\'') {
                    // quotes outside a value are ignored
                } else if (IsTagBlank(c) || c == ';') {
                    EndToken();
                } else if (c == '=') {
                    EndToken();
                    state_ = State::kAfterEquals;
                } else if (c == '>') {
                    EndToken();
                    result = Result::kTag;
                    return i + 1;
                } else {
                    Append(c);
                }
                break;
            case State::kAfterEquals:
                if (IsTagBlank(c)) {
                    // blanks before the value
                } else if (c == '"') {
                    state_ = State::kDoubleQuoted;
                } else if (c == '\'') {
                    state_ = State::kSingleQuoted;
                } else if (c == '>') {
                    Append(' ');
                    EndToken();
                    state_ = State::kName;
                    result = Result::kTag;
                    return i + 1;
                } else {
                    Append(c);
                    state_ = State::kUnquoted;
                }
                break;
            case State::kUnquoted:
                if (IsTagBlank(c) || c == '"' || c == '\'') {
                    EndToken();
                    state_ = State::kName;
                } else if (c == '>') {
                    EndToken();
                    state_ = State::kName;
                    result = Result::kTag;
                    return i + 1;
                } else {
                    Append(c);
                }
                break;
            case State::kDoubleQuoted:
            case State::kSingleQuoted: {
                const bool single = state_ == State::kSingleQuoted;
                if (text::IsLeadByte(c)) {
                    Append(c);
                    state_ = single ? State::kSingleQuotedTrail : State::kDoubleQuotedTrail;
                } else if (c == '\r' || c == '\n') {
                    Append(' ');
                } else if (c == (single ? '\'' : '"')) {
                    CloseToken();
                    state_ = State::kName;
                } else {
                    Append(c);
                }
                break;
            }
            case State::kDoubleQuotedTrail:
                Append(c);
                state_ = State::kDoubleQuoted;
                break;
            case State::kSingleQuotedTrail:
                Append(c);
                state_ = State::kSingleQuoted;
                break;
            case State::kComment:
                if (c == '-') {
                    state_ = State::kCommentDash;
                }
                break;
            case State::kCommentDash:
                state_ = c == '-' ? State::kCommentDashDash : State::kComment;
                break;
            case State::kCommentDashDash:
                if (c == '>') {
                    state_ = State::kName;
                    result = Result::kComment;
                    return i + 1;
                }
                if (c != '-') {
                    state_ = State::kComment;
                }
                break;
            case State::kAfterBang:
                if (c == '-') {
                    state_ = State::kAfterBangDash;
                } else {
                    Append('!');
                    Append('c');
                    state_ = State::kName;
                }
                break;
            case State::kAfterBangDash:
                if (c == '-') {
                    state_ = State::kComment;
                } else {
                    Append('!');
                    Append('-');
                    Append('c');
                    state_ = State::kName;
                }
                break;
        }
    }
    result = Result::kIncomplete;
    return bytes.size();
}

}  // namespace velnora::processing
