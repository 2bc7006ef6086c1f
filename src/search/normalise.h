#pragma once

// The folded form in which the past-log search compares texts: every character becomes one
// two-byte Shift_JIS code, so that letter case, the width of a character and the ways of
// writing a long vowel or a minus do not matter:
//   - single bytes take their full-width form, ASCII letters as capitals (a, A, ａ and Ａ are one);
//   - a half-width kana followed by the half-width voiced or semi-voiced mark is the one
//     full-width voiced kana (ｶﾞ is ガ, ﾊﾟ is パ, ｳﾞ is ヴ);
//   - the long-vowel marks ー and ｰ and the minus signs - and － are one code;
//   - full-width small Latin letters become capitals; every other two-byte character is itself
//     (hiragana and katakana stay apart).
// A character without a full-width form (a control character such as the tab) ends the text:
// what follows it is not searched. So does a lead byte without its second byte.

#include <string>
#include <string_view>

namespace velnora::search {

// Writes the folded form of the Shift_JIS text to `out`, which has room for text.size() codes
// (there are never more codes than bytes), and returns the number of codes.
std::size_t Normalise(std::string_view text, char16_t* out);

// Replaces `out` with the folded form of the Shift_JIS text.
void Normalise(std::string_view text, std::u16string& out);

// Whether the folded pattern occurs in the folded text, starting on a character. An empty
// pattern occurs nowhere: it has no character to find.
bool ContainsNormalised(std::u16string_view text, std::u16string_view pattern);

}  // namespace velnora::search
