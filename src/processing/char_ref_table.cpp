#include "processing/char_ref_table.h"

#include <array>

namespace velnora::processing {

namespace {

// Every replacement is no longer than the shortest reference that yields it ("&" and the name,
// or "&#" and the decimal or hexadecimal code), so that decoding never lengthens a line.
// Characters that Shift_JIS lacks get a plain-text stand-in: the base letter of an accented
// letter, "(C)" for the copyright sign, "1/4" for the fraction. The named rows whose character
// code page 932 has carry exactly its conversion.
constexpr std::array kRows = std::to_array<CharRefRow>({
    {"nbsp", 0x00A0, " "},
    {"cent", 0x00A2, "\x81\x91"},   // ￠
    {"pound", 0x00A3, "\x81\x92"},  // ￡
    {"yen", 0x00A5, "\x81\x8f"},    // ￥
    {"sect", 0x00A7, "\x81\x98"},   // §
    {"uml", 0x00A8, "\x81\x4e"},    // ¨
    {"copy", 0x00A9, "(C)"},
    {"ordf", 0x00AA, "a"},
    {"laquo", 0x00AB, "\x81\x73"},  // 《
    {"not", 0x00AC, "\x81\xca"},    // ￢
    {"reg", 0x00AE, "(R)"},
    {"macr", 0x00AF, "\x81\x50"},    // ￣
    {"deg", 0x00B0, "\x81\x8b"},     // °
    {"plusmn", 0x00B1, "\x81\x7d"},  // ±
    {"sup2", 0x00B2, "2"},
    {"sup3", 0x00B3, "3"},
    {"acute", 0x00B4, "\x81\x4c"},   // ´
    {"micro", 0x00B5, "\x83\xca"},   // μ
    {"para", 0x00B6, "\x81\xf7"},    // ¶
    {"middot", 0x00B7, "\x81\x45"},  // ・
    {"sup1", 0x00B9, "1"},
    {"ordm", 0x00BA, "o"},
    {"raquo", 0x00BB, "\x81\x74"},  // 》
    {"frac14", 0x00BC, "1/4"},
    {"frac12", 0x00BD, "1/2"},
    {"frac34", 0x00BE, "3/4"},
    {"Agrave", 0x00C0, "A"},
    {"Aacute", 0x00C1, "A"},
    {"Acirc", 0x00C2, "A"},
    {"Atilde", 0x00C3, "A"},
    {"Auml", 0x00C4, "A"},
    {"Aring", 0x00C5, "\x81\xf0"},  // Å
    {"AElig", 0x00C6, "AE"},
    {"Ccedil", 0x00C7, "C"},
    {"Egrave", 0x00C8, "E"},
    {"Eacute", 0x00C9, "E"},
    {"Ecirc", 0x00CA, "E"},
    {"Euml", 0x00CB, "E"},
    {"Igrave", 0x00CC, "I"},
    {"Iacute", 0x00CD, "I"},
    {"Icirc", 0x00CE, "I"},
    {"Iuml", 0x00CF, "I"},
    {"ETH", 0x00D0, "TH"},
    {"Ntilde", 0x00D1, "N"},
    {"Ograve", 0x00D2, "O"},
    {"Oacute", 0x00D3, "O"},
    {"Ocirc", 0x00D4, "O"},
    {"Otilde", 0x00D5, "O"},
    {"Ouml", 0x00D6, "O"},
    {"times", 0x00D7, "\x81\x7e"},  // ×
    {"Oslash", 0x00D8, "O"},
    {"Ugrave", 0x00D9, "U"},
    {"Uacute", 0x00DA, "U"},
    {"Ucirc", 0x00DB, "U"},
    {"Uuml", 0x00DC, "U"},
    {"Yacute", 0x00DD, "Y"},
    {"THORN", 0x00DE, "TH"},
    {"szlig", 0x00DF, "ss"},
    {"agrave", 0x00E0, "a"},
    {"aacute", 0x00E1, "a"},
    {"acirc", 0x00E2, "a"},
    {"atilde", 0x00E3, "a"},
    {"auml", 0x00E4, "a"},
    {"aring", 0x00E5, "a"},
    {"aelig", 0x00E6, "ae"},
    {"ccedil", 0x00E7, "c"},
    {"egrave", 0x00E8, "e"},
    {"eacute", 0x00E9, "e"},
    {"ecirc", 0x00EA, "e"},
    {"euml", 0x00EB, "e"},
    {"igrave", 0x00EC, "i"},
    {"iacute", 0x00ED, "i"},
    {"icirc", 0x00EE, "i"},
    {"iuml", 0x00EF, "i"},
    {"eth", 0x00F0, "th"},
    {"ntilde", 0x00F1, "n"},
    {"ograve", 0x00F2, "o"},
    {"oacute", 0x00F3, "o"},
    {"ocirc", 0x00F4, "o"},
    {"otilde", 0x00F5, "o"},
    {"ouml", 0x00F6, "o"},
    {"divide", 0x00F7, "\x81\x80"},  // ÷
    {"oslash", 0x00F8, "o"},
    {"ugrave", 0x00F9, "u"},
    {"uacute", 0x00FA, "u"},
    {"ucirc", 0x00FB, "u"},
    {"uuml", 0x00FC, "u"},
    {"yacute", 0x00FD, "y"},
    {"thorn", 0x00FE, "th"},
    {"yuml", 0x00FF, "y"},
    {"quot", 0x0022, "\x22"},
    {"amp", 0x0026, "&"},
    {"lt", 0x003C, "<"},
    {"gt", 0x003E, ">"},
    {"OElig", 0x0152, "OE"},
    {"oelig", 0x0153, "oe"},
    {"Scaron", 0x0160, "S"},
    {"scaron", 0x0161, "s"},
    {"Yuml", 0x0178, "Y"},
    {"circ", 0x02C6, "\x81\x4f"},  // ＾
    {"tilde", 0x02DC, "~"},
    {"ensp", 0x2002, " "},
    {"emsp", 0x2003, " "},
    {"thinsp", 0x2009, " "},
    {"ndash", 0x2013, "-"},
    {"mdash", 0x2014, "\x81\x5c"},    // ―
    {"lsquo", 0x2018, "\x81\x65"},    // ‘
    {"rsquo", 0x2019, "\x81\x66"},    // ’
    {"ldquo", 0x201C, "\x81\x67 "},   // “
    {"rdquo", 0x201D, "\x81\x68"},    // ”
    {"dagger", 0x2020, "\x81\xf5"},   // †
    {"Dagger", 0x2021, "\x81\xf6"},   // ‡
    {"permil", 0x2030, "\x81\xf1"},   // ‰
    {"lsaquo", 0x2039, "\x81\x71 "},  // 〈
    {"rsaquo", 0x203A, "\x81\x72"},   // 〉
    {"Alpha", 0x0391, "\x83\x9f"},    // Α
    {"Beta", 0x0392, "\x83\xa0"},     // Β
    {"Gamma", 0x0393, "\x83\xa1"},    // Γ
    {"Delta", 0x0394, "\x83\xa2"},    // Δ
    {"Epsilon", 0x0395, "\x83\xa3"},  // Ε
    {"Zeta", 0x0396, "\x83\xa4"},     // Ζ
    {"Eta", 0x0397, "\x83\xa5"},      // Η
    {"Theta", 0x0398, "\x83\xa6"},    // Θ
    {"Iota", 0x0399, "\x83\xa7"},     // Ι
    {"Kappa", 0x039A, "\x83\xa8"},    // Κ
    {"Lambda", 0x039B, "\x83\xa9"},   // Λ
    {"Mu", 0x039C, "\x83\xaa"},       // Μ
    {"Nu", 0x039D, "\x83\xab"},       // Ν
    {"Xi", 0x039E, "\x83\xac"},       // Ξ
    {"Omicron", 0x039F, "\x83\xad"},  // Ο
    {"Pi", 0x03A0, "\x83\xae"},       // Π
    {"Rho", 0x03A1, "\x83\xaf"},      // Ρ
    {"Sigma", 0x03A3, "\x83\xb0"},    // Σ
    {"Tau", 0x03A4, "\x83\xb1"},      // Τ
    {"Upsilon", 0x03A5, "\x83\xb2"},  // Υ
    {"Phi", 0x03A6, "\x83\xb3"},      // Φ
    {"Chi", 0x03A7, "\x83\xb4"},      // Χ
    {"Psi", 0x03A8, "\x83\xb5"},      // Ψ
    {"Omega", 0x03A9, "\x83\xb6"},    // Ω
    {"alpha", 0x03B1, "\x83\xbf"},    // α
    {"beta", 0x03B2, "\x83\xc0"},     // β
    {"gamma", 0x03B3, "\x83\xc1"},    // γ
    {"delta", 0x03B4, "\x83\xc2"},    // δ
    {"epsilon", 0x03B5, "\x83\xc3"},  // ε
    {"zeta", 0x03B6, "\x83\xc4"},     // ζ
    {"eta", 0x03B7, "\x83\xc5"},      // η
    {"theta", 0x03B8, "\x83\xc6"},    // θ
    {"iota", 0x03B9, "\x83\xc7"},     // ι
    {"kappa", 0x03BA, "\x83\xc8"},    // κ
    {"lambda", 0x03BB, "\x83\xc9"},   // λ
    {"mu", 0x03BC, "\x83\xca"},       // μ
    {"nu", 0x03BD, "\x83\xcb"},       // ν
    {"xi", 0x03BE, "\x83\xcc"},       // ξ
    {"omicron", 0x03BF, "\x83\xcd"},  // ο
    {"pi", 0x03C0, "\x83\xce"},       // π
    {"rho", 0x03C1, "\x83\xcf"},      // ρ
    {"sigmaf", 0x03C2, "\x83\xd0"},   // σ
    {"sigma", 0x03C3, "\x83\xd0"},    // σ
    {"tau", 0x03C4, "\x83\xd1"},      // τ
    {"upsilon", 0x03C5, "\x83\xd2"},  // υ
    {"phi", 0x03C6, "\x83\xd3"},      // φ
    {"chi", 0x03C7, "\x83\xd4"},      // χ
    {"psi", 0x03C8, "\x83\xd5"},      // ψ
    {"omega", 0x03C9, "\x83\xd6"},    // ω
    {"hellip", 0x2026, "\x81\x63"},   // …
    {"prime", 0x2032, "\x81\x8c"},    // ′
    {"Prime", 0x2033, "\x81\x8d"},    // ″
    {"oline", 0x203E, "\x81\x50"},    // ￣
    {"frasl", 0x2044, "/"},
    {"trade", 0x2122, "TM"},
    {"larr", 0x2190, "\x81\xa9"},          // ←
    {"uarr", 0x2191, "\x81\xaa"},          // ↑
    {"rarr", 0x2192, "\x81\xa8"},          // →
    {"darr", 0x2193, "\x81\xab"},          // ↓
    {"harr", 0x2194, "\x81\xa9\x81\xa8"},  // ←→
    {"rArr", 0x21D2, "\x81\xcb"},          // ⇒
    {"hArr", 0x21D4, "\x81\xcc"},          // ⇔
    {"forall", 0x2200, "\x81\xcd"},        // ∀
    {"part", 0x2202, "\x81\xdd"},          // ∂
    {"exist", 0x2203, "\x81\xce"},         // ∃
    {"nabla", 0x2207, "\x81\xde"},         // ∇
    {"isin", 0x2208, "\x81\xb8"},          // ∈
    {"ni", 0x220B, "\x81\xb9"},            // ∋
    {"prod", 0x220F, "\x83\xae"},          // Π
    {"sum", 0x2211, "\x83\xb0"},           // Σ
    {"minus", 0x2212, "-"},
    {"radic", 0x221A, "\x81\xe3"},   // √
    {"prop", 0x221D, "\x81\xe5"},    // ∝
    {"infin", 0x221E, "\x81\x87"},   // ∞
    {"ang", 0x2220, "\x81\xda"},     // ∠
    {"and", 0x2227, "\x81\xc8"},     // ∧
    {"or", 0x2228, "\x81\xc9"},      // ∨
    {"cap", 0x2229, "\x81\xbf"},     // ∩
    {"cup", 0x222A, "\x81\xbe"},     // ∪
    {"int", 0x222B, "\x81\xe7"},     // ∫
    {"there4", 0x2234, "\x81\x88"},  // ∴
    {"sim", 0x223C, "~"},
    {"ne", 0x2260, "\x81\x82"},     // ≠
    {"equiv", 0x2261, "\x81\xdf"},  // ≡
    {"le", 0x2264, "\x81\x85"},     // ≦
    {"ge", 0x2265, "\x81\x86"},     // ≧
    {"sub", 0x2282, "\x81\xbc"},    // ⊂
    {"sup", 0x2283, "\x81\xbd"},    // ⊃
    {"sube", 0x2286, "\x81\xba"},   // ⊆
    {"supe", 0x2287, "\x81\xbb"},   // ⊇
    {"perp", 0x22A5, "\x81\xdb"},   // ⊥
    {"lang", 0x2329, "\x81\x71"},   // 〈
    {"rang", 0x232A, "\x81\x72"},   // 〉
    {"loz", 0x25CA, "\x81\x9e"},    // ◇
    // Pages write the bullet as byte 0x95 of the Windows Western code page; both codes give
    // the half-width middle dot.
    {"bull", 0x0095, "\xa5"},  // ･
    // Codes without a name: the bullet's own code point, and characters that code page 932
    // lacks but that have a plain-text form.
    {"", 0x2022, "\xa5"},      // ･
    {"", 0x2113, "\x87\x67"},  // ㍑
    {"", 0x216A, "XI"},
    {"", 0x216B, "XII"},
    {"", 0x216C, "L"},
    {"", 0x216D, "C"},
    {"", 0x216E, "D"},
    {"", 0x216F, "M"},
    {"", 0x3220, "(\x88\xea)"},  // (一)
    {"", 0x3221, "(\x93\xf1)"},  // (二)
    {"", 0x3222, "(\x8e\x4f)"},  // (三)
    {"", 0x3223, "(\x8e\x6c)"},  // (四)
    {"", 0x3224, "(\x8c\xdc)"},  // (五)
    {"", 0x3225, "(\x98\x5a)"},  // (六)
    {"", 0x3226, "(\x8e\xb5)"},  // (七)
    {"", 0x3227, "(\x94\xaa)"},  // (八)
    {"", 0x3228, "(\x8b\xe3)"},  // (九)
    {"", 0x3229, "(\x8f\x5c)"},  // (十)
    {"", 0x322A, "(\x8c\x8e)"},  // (月)
    {"", 0x322B, "(\x89\xce)"},  // (火)
    {"", 0x322C, "(\x90\x85)"},  // (水)
    {"", 0x322D, "(\x96\xd8)"},  // (木)
    {"", 0x322E, "(\x8b\xe0)"},  // (金)
    {"", 0x322F, "(\x93\x79)"},  // (土)
    {"", 0x3230, "(\x93\xfa)"},  // (日)
    {"", 0x3233, "(\x8e\xd0)"},  // (社)
});

}  // namespace

std::span<const CharRefRow> CharRefTable() {
    return kRows;
}

}  // namespace velnora::processing
