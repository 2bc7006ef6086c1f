#include "processing/charset_decoder.h"

namespace velnora::processing {

std::uint16_t JisToShiftJis(unsigned char, unsigned char) {
    return 0;
}
void EucToShiftJis(unsigned char, unsigned char, unsigned char out[2]) {
    out[0] = out[1] = '?';
}

CharsetDecoder::CharsetDecoder(ByteSink& output) : output_(output) {}
void CharsetDecoder::Reset(Encoding start) {
    current_ = start;
}
void CharsetDecoder::Select(Encoding encoding) {
    current_ = encoding;
}
void CharsetDecoder::Feed(std::string_view bytes) {
    output_.Take(bytes);
}

}  // namespace velnora::processing
