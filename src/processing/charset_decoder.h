#pragma once

// The CharsetDecoder converts the body to Shift_JIS as it streams through, with a small state
// machine per encoding, and hands the Shift_JIS bytes to the tokenizer. Every converter keeps
// its state between spans, so a character split between two blocks decodes whole; switching
// the encoding resets no converter.
//
// Bytes that need no conversion (all of a Shift_JIS body; the runs that pass unchanged in the
// ground state of the other encodings) go on as one span straight from the input; a run of
// converted characters goes on as one small span (at most kConvertedRunSize bytes). The sink
// may stop early, right after a tag that switched the encoding through Select: decoding then
// resumes at the next input byte under the encoding now selected (after the character that
// gave the last byte taken, when the sink stopped inside a converted run).

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "processing/stage.h"

namespace velnora::processing {

// JIS X 0208 row and cell to Shift_JIS; 0 when either byte is outside 0x21-0x7E.
std::uint16_t JisToShiftJis(unsigned char row, unsigned char cell);

// An EUC-JP pair to its two Shift_JIS bytes (the JIS X 0208 rule on codes with the high bit).
void EucToShiftJis(unsigned char c1, unsigned char c2, unsigned char out[2]);

class CharsetDecoder : public EncodingSelector {
  public:
    explicit CharsetDecoder(ByteSink& output);

    void Reset(Encoding start);
    // Takes effect from the next byte.
    void Select(Encoding encoding) override;
    void Feed(std::string_view bytes);
    Encoding current() const { return current_; }

  private:
    using Byte = unsigned char;

    // ISO-2022-JP converter states.
    enum class JisState : int {
        kAscii = 0,            // single bytes pass unchanged
        kEscape = 1,           // ESC seen
        kEscapeDollar = 2,     // ESC $ seen
        kTwoByte = 3,          // two-byte mode, waiting for the first byte of a pair
        kSecond = 4,           // two-byte mode, waiting for the second byte of a pair
        kTwoByteEsc = 5,       // ESC seen in two-byte mode
        kTwoByteEscParen = 6,  // ESC ( seen in two-byte mode
    };
    // EUC-JP converter states.
    enum class EucState : int {
        kGround = 0,  // single bytes pass unchanged
        kKana = 1,    // 0x8E seen: a half-width katakana follows
        kSecond = 2,  // the first byte of a pair stored
    };

    // Each converter takes input from p up to end and returns where it stopped: at end, or
    // earlier when the encoding changed under it (Shift_JIS: wherever the sink stopped).
    const Byte* FeedShiftJis(const Byte* p, const Byte* end);
    const Byte* FeedJis(const Byte* p, const Byte* end);
    const Byte* FeedEuc(const Byte* p, const Byte* end);
    const Byte* FeedUtf8(const Byte* p, const Byte* end);

    // Converts one whole character at p into out; returns its input length and sets
    // *out_length, or returns 0 when the bytes at p are not a whole character that converts on
    // its own (those go through the converter's state machine).
    using CharacterConverter = std::size_t (*)(const Byte* p, const Byte* end, Byte out[2],
                                               std::size_t* out_length);
    // Converts the whole characters at p and hands them on as one span; returns where the input
    // resumes (p when there was no whole character at p).
    const Byte* PassCharacters(const Byte* p, const Byte* end, CharacterConverter convert);

    // Hands input bytes on unchanged; returns how many the sink took.
    std::size_t PassRun(const Byte* p, std::size_t n);
    // Hands converted bytes on, all of them.
    void PassConverted(const Byte* bytes, std::size_t n);
    void PassPair(Byte first, Byte second) {
        const Byte pair[2] = {first, second};
        PassConverted(pair, 2);
    }

    ByteSink& output_;
    Encoding current_ = Encoding::kShiftJis;
    // ISO-2022-JP
    JisState jis_state_ = JisState::kAscii;
    Byte jis_first_ = 0;
    // EUC-JP
    EucState euc_state_ = EucState::kGround;
    Byte euc_first_ = 0;
    // UTF-8
    int utf8_length_ = 0;  // 0 when no sequence is open
    int utf8_seen_ = 0;
    std::uint32_t utf8_value_ = 0;
};

}  // namespace velnora::processing
