#include "processing/tag_parser.h"

#include <cstring>

#include "common/shift_jis.h"

namespace velnora::processing {
namespace {

bool IsTagBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

}  // namespace

void TagParser::Begin() {
    state_ = State::kName;
    length_ = 0;
    count_ = 0;
    starts_[0] = 0;
}

std::string_view TagParser::token(std::size_t index) const {
    if (index > count_) {
        return {};
    }
    std::size_t start = starts_[index];
    const char* begin = text_.data() + start;
    const void* nul = std::memchr(begin, '\0', length_ - start);
    std::size_t size = nul != nullptr ? static_cast<const char*>(nul) - begin : length_ - start;
    return {begin, size};
}

std::size_t TagParser::Feed(std::string_view bytes, Result& result) {
    for (std::size_t i = 0; i < bytes.size(); ++i) {
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
                if (common::IsLeadByte(c)) {
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
