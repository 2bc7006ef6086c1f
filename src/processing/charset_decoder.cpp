#include "processing/charset_decoder.h"

#include <array>
#include <cstring>
#include <memory>

#include "processing/limits.h"
#include "text/cp932.h"

namespace velnora::processing {
namespace {

using Byte = unsigned char;

constexpr Byte kEsc = 0x1B;
constexpr Byte kQuestionMark[1] = {'?'};

// Length of the run of bytes below 0x80 at p, eight at a time where it can.
std::size_t AsciiRunLength(const Byte* p, const Byte* end) {
    const Byte* q = p;
    while (end - q >= 8) {
        std::uint64_t word;
        std::memcpy(&word, q, sizeof word);
        if ((word & 0x8080808080808080ULL) != 0) {
            break;
        }
        q += 8;
    }
    while (q < end && *q < 0x80) {
        ++q;
    }
    return static_cast<std::size_t>(q - p);
}

// EUC-JP bytes that pass unchanged in the ground state: all but the katakana prefix 0x8E and the
// first bytes of pairs, 0xA1-0xFE.
constexpr bool EucPassesUnchanged(Byte b) {
    return b < 0x8E || (b >= 0x8F && b <= 0xA0) || b == 0xFF;
}

// The Shift_JIS code of every UTF-16 code unit (0 for none), filled once from the code page
// tables: a UTF-8 page of Japanese text looks up nearly every character it holds, and one
// indexed load is far cheaper than a binary search of the tables.
std::uint16_t ShiftJisOfCodeUnit(std::uint16_t unit) {
    static const std::unique_ptr<std::uint16_t[]> table = [] {
        auto codes = std::make_unique<std::uint16_t[]>(0x10000);
        for (std::uint32_t u = 0; u < 0x10000; ++u) {
            codes[u] = text::FindShiftJis(static_cast<std::uint16_t>(u)).value_or(0);
        }
        return codes;
    }();
    return table[unit];
}

// The Shift_JIS bytes of a complete UTF-8 sequence of the given length and value: "??" beyond
// the Basic Multilingual Plane, else the code of the code unit (one byte when its high byte is
// 0), or "??" when it has none. Returns how many bytes it wrote.
std::size_t Utf8Output(int length, std::uint32_t value, Byte out[2]) {
    if (length == 4) {
        out[0] = out[1] = '?';
        return 2;
    }
    std::uint16_t code = ShiftJisOfCodeUnit(static_cast<std::uint16_t>(value));
    if (code == 0) {
        out[0] = out[1] = '?';
        return 2;
    }
    if (code < 0x100) {
        out[0] = static_cast<Byte>(code);
        return 1;
    }
    out[0] = static_cast<Byte>(code >> 8);
    out[1] = static_cast<Byte>(code & 0xFF);
    return 2;
}

// Whole characters, for CharsetDecoder::PassCharacters.

std::size_t Utf8Character(const Byte* p, const Byte* end, Byte out[2], std::size_t* out_length) {
    Byte b = p[0];
    int length;
    std::uint32_t value;
    if ((b & 0xE0) == 0xC0) {
        length = 2;
        value = b & 0x1Fu;
    } else if ((b & 0xF0) == 0xE0) {
        length = 3;
        value = b & 0x0Fu;
    } else if ((b & 0xF8) == 0xF0) {
        length = 4;
        value = b & 0x07u;
    } else {
        return 0;
    }
    if (end - p < length) {
        return 0;
    }
    for (int i = 1; i < length; ++i) {
        if ((p[i] & 0xC0) != 0x80) {
            return 0;
        }
        value = value << 6 | (p[i] & 0x3Fu);
    }
    *out_length = Utf8Output(length, value, out);
    return static_cast<std::size_t>(length);
}

std::size_t EucCharacter(const Byte* p, const Byte* end, Byte out[2], std::size_t* out_length) {
    if (end - p < 2) {
        return 0;
    }
    if (p[0] == 0x8E) {
        out[0] = p[1];
        *out_length = 1;
        return 2;
    }
    if (p[0] < 0xA1 || p[0] > 0xFE) {
        return 0;
    }
    EucToShiftJis(p[0], p[1], out);
    *out_length = 2;
    return 2;
}

// A pair in two-byte mode.
std::size_t JisCharacter(const Byte* p, const Byte* end, Byte out[2], std::size_t* out_length) {
    if (end - p < 2 || p[0] == kEsc) {
        return 0;
    }
    std::uint16_t code = JisToShiftJis(p[0], p[1]);
    if (code == 0) {
        out[0] = out[1] = '?';  // a pair with no JIS X 0208 form
    } else {
        out[0] = static_cast<Byte>(code >> 8);
        out[1] = static_cast<Byte>(code & 0xFF);
    }
    *out_length = 2;
    return 2;
}

}  // namespace

std::uint16_t JisToShiftJis(unsigned char row, unsigned char cell) {
    if (row < 0x21 || row > 0x7E || cell < 0x21 || cell > 0x7E) {
        return 0;
    }
    unsigned first = (row - 0x21u) / 2 + 0x81;
    if (first > 0x9F) {
        first += 0x40;
    }
    unsigned second;
    if (row % 2 == 1) {
        second = cell <= 0x5F ? cell + 0x1Fu : cell + 0x20u;
    } else {
        second = cell + 0x7Eu;
    }
    return static_cast<std::uint16_t>(first << 8 | second);
}

void EucToShiftJis(unsigned char c1, unsigned char c2, unsigned char out[2]) {
    // Byte arithmetic throughout, wrapping as bytes do.
    Byte second;
    if (c1 % 2 == 0) {
        second = static_cast<Byte>(c2 - 2);
    } else {
        second = static_cast<Byte>(c2 - 0x61);
        if (second > 0x7E) {
            second = static_cast<Byte>(second + 1);
        }
    }
    Byte half = static_cast<Byte>(static_cast<Byte>(c1 + 1) / 2);
    out[0] = static_cast<Byte>(half + (c1 < 0xDF ? 0x30 : 0x70));
    out[1] = second;
}

CharsetDecoder::CharsetDecoder(ByteSink& output) : output_(output) {}

void CharsetDecoder::Reset(Encoding start) {
    current_ = start;
    jis_state_ = JisState::kAscii;
    jis_first_ = 0;
    euc_state_ = EucState::kGround;
    euc_first_ = 0;
    utf8_length_ = 0;
    utf8_seen_ = 0;
    utf8_value_ = 0;
}

void CharsetDecoder::Select(Encoding encoding) {
    current_ = encoding;
}

void CharsetDecoder::Feed(std::string_view bytes) {
    const Byte* p = reinterpret_cast<const Byte*>(bytes.data());
    const Byte* end = p + bytes.size();
    // Each converter runs until the input ends or the encoding may have changed under it; the
    // rest of the input is then decoded under the encoding selected now.
    while (p < end) {
        switch (current_) {
            case Encoding::kIso2022Jp:
                p = FeedJis(p, end);
                break;
            case Encoding::kEucJp:
                p = FeedEuc(p, end);
                break;
            case Encoding::kUtf8:
                p = FeedUtf8(p, end);
                break;
            case Encoding::kShiftJis:
            default:
                p = FeedShiftJis(p, end);
                break;
        }
    }
}

std::size_t CharsetDecoder::PassRun(const Byte* p, std::size_t n) {
    std::size_t taken = output_.Take({reinterpret_cast<const char*>(p), n});
    // A sink takes less only to stop right after a tag, so it always takes something; one that
    // took nothing would stall the decoder, and is read as having taken everything.
    if (taken == 0 || taken > n) {
        return n;
    }
    return taken;
}

void CharsetDecoder::PassConverted(const Byte* bytes, std::size_t n) {
    // The input of a converted character is consumed already: its bytes all go on, even when
    // the sink stops between them.
    while (n > 0) {
        std::size_t taken = PassRun(bytes, n);
        bytes += taken;
        n -= taken;
    }
}

const CharsetDecoder::Byte* CharsetDecoder::PassCharacters(const Byte* p, const Byte* end,
                                                           CharacterConverter convert) {
    std::array<Byte, kConvertedRunSize> run;
    std::size_t length = 0;
    const Byte* q = p;
    while (q < end && length + 2 <= run.size()) {
        std::size_t out_length = 0;
        std::size_t in_length = convert(q, end, run.data() + length, &out_length);
        if (in_length == 0) {
            break;
        }
        q += in_length;
        length += out_length;
    }
    if (length == 0) {
        return p;
    }
    std::size_t taken = PassRun(run.data(), length);
    if (taken == length) {
        return q;
    }
    // The sink stopped inside the run: the input resumes after the character that gave the last
    // byte taken, and the bytes of that character not yet taken still go on.
    const Byte* resume = p;
    std::size_t produced = 0;
    Byte last[2];
    std::size_t last_length = 0;
    while (produced < taken) {
        resume += convert(resume, end, last, &last_length);
        produced += last_length;
    }
    if (produced > taken) {
        PassConverted(last + last_length - (produced - taken), produced - taken);
    }
    return resume;
}

const CharsetDecoder::Byte* CharsetDecoder::FeedShiftJis(const Byte* p, const Byte* end) {
    return p + PassRun(p, static_cast<std::size_t>(end - p));
}

const CharsetDecoder::Byte* CharsetDecoder::FeedJis(const Byte* p, const Byte* end) {
    auto switched = [this] { return current_ != Encoding::kIso2022Jp; };
    // A tag that switched the encoding ends this run: the rest is decoded anew.
    while (p < end && !switched()) {
        switch (jis_state_) {
            case JisState::kAscii: {
                const void* esc = std::memchr(p, kEsc, static_cast<std::size_t>(end - p));
                const Byte* stop = esc != nullptr ? static_cast<const Byte*>(esc) : end;
                if (stop != p) {
                    std::size_t n = static_cast<std::size_t>(stop - p);
                    std::size_t taken = PassRun(p, n);
                    p += taken;
                    continue;
                }
                ++p;
                jis_state_ = JisState::kEscape;
                break;
            }
            case JisState::kEscape: {
                Byte b = *p++;
                if (b == '$') {
                    jis_state_ = JisState::kEscapeDollar;
                    break;
                }
                jis_state_ = JisState::kAscii;  // the ESC is dropped
                PassConverted(&b, 1);
                break;
            }
            case JisState::kEscapeDollar: {
                Byte b = *p++;
                if (b == 'B' || b == '@') {
                    jis_state_ = JisState::kTwoByte;
                    break;
                }
                jis_state_ = JisState::kAscii;
                PassPair('$', b);
                break;
            }
            case JisState::kTwoByte: {
                if (const Byte* q = PassCharacters(p, end, JisCharacter); q != p) {
                    p = q;
                    continue;
                }
                Byte b = *p++;
                if (b == kEsc) {
                    jis_state_ = JisState::kTwoByteEsc;
                } else {
                    jis_first_ = b;
                    jis_state_ = JisState::kSecond;
                }
                break;
            }
            case JisState::kSecond: {
                const Byte pair[2] = {jis_first_, *p++};
                jis_state_ = JisState::kTwoByte;
                Byte out[2];
                std::size_t out_length = 0;
                JisCharacter(pair, pair + 2, out, &out_length);
                PassConverted(out, out_length);
                break;
            }
            case JisState::kTwoByteEsc: {
                Byte b = *p++;
                if (b == '(') {
                    jis_state_ = JisState::kTwoByteEscParen;
                    break;
                }
                jis_state_ = JisState::kTwoByte;
                PassConverted(&b, 1);
                break;
            }
            case JisState::kTwoByteEscParen: {
                Byte b = *p++;
                if (b == 'B' || b == 'J') {
                    jis_state_ = JisState::kAscii;
                    break;
                }
                jis_state_ = JisState::kTwoByte;
                PassPair('(', b);
                break;
            }
        }
    }
    return p;
}

const CharsetDecoder::Byte* CharsetDecoder::FeedEuc(const Byte* p, const Byte* end) {
    auto switched = [this] { return current_ != Encoding::kEucJp; };
    // A tag that switched the encoding ends this run: the rest is decoded anew.
    while (p < end && !switched()) {
        switch (euc_state_) {
            case EucState::kGround: {
                const Byte* stop = p + AsciiRunLength(p, end);
                while (stop < end && EucPassesUnchanged(*stop)) {
                    ++stop;
                }
                if (stop != p) {
                    std::size_t n = static_cast<std::size_t>(stop - p);
                    std::size_t taken = PassRun(p, n);
                    p += taken;
                    continue;
                }
                if (const Byte* q = PassCharacters(p, end, EucCharacter); q != p) {
                    p = q;
                    continue;
                }
                Byte b = *p++;
                if (b == 0x8E) {
                    euc_state_ = EucState::kKana;
                } else {
                    euc_first_ = b;
                    euc_state_ = EucState::kSecond;
                }
                break;
            }
            case EucState::kKana: {
                // A half-width katakana has the same code in both encodings.
                Byte b = *p++;
                euc_state_ = EucState::kGround;
                PassConverted(&b, 1);
                break;
            }
            case EucState::kSecond: {
                Byte b = *p++;
                euc_state_ = EucState::kGround;
                Byte out[2];
                EucToShiftJis(euc_first_, b, out);
                PassConverted(out, 2);
                break;
            }
        }
    }
    return p;
}

const CharsetDecoder::Byte* CharsetDecoder::FeedUtf8(const Byte* p, const Byte* end) {
    auto switched = [this] { return current_ != Encoding::kUtf8; };
    // A tag that switched the encoding ends this run: the rest is decoded anew.
    while (p < end && !switched()) {
        if (utf8_length_ == 0) {
            std::size_t n = AsciiRunLength(p, end);
            if (n != 0) {
                std::size_t taken = PassRun(p, n);
                p += taken;
                continue;
            }
            if (const Byte* q = PassCharacters(p, end, Utf8Character); q != p) {
                p = q;
                continue;
            }
            Byte b = *p++;
            if ((b & 0xE0) == 0xC0) {
                utf8_value_ = b & 0x1F;
                utf8_length_ = 2;
            } else if ((b & 0xF0) == 0xE0) {
                utf8_value_ = b & 0x0F;
                utf8_length_ = 3;
            } else if ((b & 0xF8) == 0xF0) {
                utf8_value_ = b & 0x07;
                utf8_length_ = 4;
            } else {
                PassConverted(kQuestionMark, 1);  // a stray continuation byte, or 0xF8-0xFF
                continue;
            }
            utf8_seen_ = 1;
            continue;
        }
        Byte b = *p;
        if ((b & 0xC0) != 0x80) {
            // A byte that cannot continue the open sequence breaks it; the byte itself is then
            // read afresh.
            utf8_length_ = 0;
            PassConverted(kQuestionMark, 1);
            continue;
        }
        ++p;
        utf8_value_ = utf8_value_ << 6 | (b & 0x3Fu);
        if (++utf8_seen_ < utf8_length_) {
            continue;
        }
        int length = utf8_length_;
        utf8_length_ = 0;
        Byte out[2];
        PassConverted(out, Utf8Output(length, utf8_value_, out));
    }
    return p;
}

}  // namespace velnora::processing
