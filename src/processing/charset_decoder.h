#pragma once

// The CharsetDecoder converts the body to Shift_JIS as it streams through, with a small state
// machine per encoding, and hands the Shift_JIS bytes to the tokenizer. Every converter keeps
// its state between spans, so a character split between two blocks decodes whole; switching
// the encoding resets no converter.

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
    ByteSink& output_;
    Encoding current_ = Encoding::kShiftJis;
    // ISO-2022-JP
    int jis_state_ = 0;
    unsigned char jis_first_ = 0;
    // EUC-JP
    int euc_state_ = 0;
    unsigned char euc_first_ = 0;
    // UTF-8
    int utf8_length_ = 0;
    int utf8_seen_ = 0;
    std::uint32_t utf8_value_ = 0;
};

}  // namespace velnora::processing
