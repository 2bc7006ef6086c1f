#pragma once

// The TagParser splits one tag, from the byte after its "<" to its ">", into tokens: the tag
// name (token 0, letter case kept, a leading "/" included), then attribute names and values,
// each value right after its name. Quoted values keep their blanks (line ends become blanks)
// and may contain ">"; comments ("<!--" to the first "-->") make no tag at all; any other
// declaration ("<!DOCTYPE", "<![CDATA[") becomes a tag whose name begins with "!c", which no
// table knows. The tag text holds at most 65,535 bytes and at most 1,000 tokens are counted;
// whatever lies beyond is never seen.

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "processing/limits.h"

namespace velnora::processing {

class TagParser {
  public:
    enum class Result {
        kIncomplete,  // all bytes taken, the tag goes on
        kTag,         // the tag is complete: its tokens are ready for the TagHandler
        kComment,     // a comment is complete: nothing to handle
    };

    // Starts a new tag (the "<" has been seen).
    void Begin();
    // Takes bytes up to and including the one that completes the tag; returns how many it took.
    // Zero bytes are dropped without effect.
    std::size_t Feed(std::string_view bytes, Result& result);

    std::size_t token_count() const { return count_; }
    // Token index (below token_count(); token 0 is the name, empty when the tag had none).
    std::string_view token(std::size_t index) const;

  private:
    enum class State : std::uint8_t {
        kName = 0,                // between tokens or in a name
        kAfterEquals = 5,         // after "=", before the value
        kUnquoted = 6,            // in an unquoted value
        kDoubleQuoted = 10,       // in a value in double quotes
        kDoubleQuotedTrail = 11,  // after a lead byte in double quotes
        kSingleQuoted = 20,       // in a value in apostrophes
        kSingleQuotedTrail = 21,  // after a lead byte in apostrophes
        kComment = 30,            // in a comment
        kCommentDash = 31,        // in a comment after "-"
        kCommentDashDash = 32,    // in a comment after "--"
        kAfterBang = 40,          // after "<!"
        kAfterBangDash = 41,      // after "<!-"
    };

    void Append(char c) {
        if (length_ < kTagTextLimit) {
            text_[length_++] = c;
        }
    }
    // Append for each byte of a run.
    void AppendRun(const char* run, std::size_t size) {
        std::size_t room = kTagTextLimit - length_;
        std::size_t count = size < room ? size : room;
        std::memcpy(text_.data() + length_, run, count);
        length_ += count;
    }
    // Ends the token being written, unless there is none.
    void EndToken() {
        if (length_ != 0 && text_[length_ - 1] != '\0') {
            CloseToken();
        }
    }
    // Terminates the token being written (even an empty one) and starts the next.
    void CloseToken() {
        if (count_ < kMaxTokens) {
            ends_[count_] = static_cast<std::uint32_t>(length_);
        }
        Append('\0');
        if (count_ < kMaxTokens) {
            ++count_;
            starts_[count_] = static_cast<std::uint32_t>(length_);
        }
    }

    State state_ = State::kName;
    std::size_t length_ = 0;
    std::size_t count_ = 0;
    std::array<std::uint32_t, kMaxTokens + 1> starts_{};
    // Where each counted token ends: at its NUL, or at the end of a full tag text.
    std::array<std::uint32_t, kMaxTokens> ends_{};
    std::array<char, kTagTextSize> text_{};
};

}  // namespace velnora::processing
