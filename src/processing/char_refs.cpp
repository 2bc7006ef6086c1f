#include "processing/char_refs.h"

#include <cstring>

#include "processing/char_ref_table.h"
#include "processing/limits.h"
#include "text/cp932.h"

namespace velnora::processing {

namespace {

bool IsNameByte(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '#';
}

int DigitValue(char c, int base) {
    int value = -1;
    if (c >= '0' && c <= '9') {
        value = c - '0';
    } else if (c >= 'a' && c <= 'f') {
        value = c - 'a' + 10;
    } else if (c >= 'A' && c <= 'F') {
        value = c - 'A' + 10;
    }
    return value < base ? value : -1;
}

// The code of a numeric reference's name ("#65" decimal, "#x41" hexadecimal; only a lower-case
// x selects hexadecimal). Reading stops at the first byte that is no digit; no digits give 0.
// The value is taken modulo 65,536, which the 16-bit arithmetic does as it goes.
std::uint16_t NumericCode(std::string_view name) {
    int base = 10;
    std::size_t start = 1;
    if (name.size() >= 2 && name[1] == 'x') {
        base = 16;
        start = 2;
    }
    std::uint32_t value = 0;
    for (std::size_t i = start; i < name.size(); ++i) {
        int digit = DigitValue(name[i], base);
        if (digit < 0) {
            break;
        }
        value =
            (value * static_cast<std::uint32_t>(base) + static_cast<std::uint32_t>(digit)) & 0xFFFF;
    }
    return static_cast<std::uint16_t>(value);
}

// The text a reference stands for, at most kMaxReferenceName + 1 bytes (a table replacement is
// at most 4, a converted code 2, and the fallback is the name itself).
struct Replacement {
    char bytes[kMaxReferenceName + 1];
    std::size_t size = 0;

    void Set(std::string_view text) {
        size = text.size() < sizeof bytes ? text.size() : sizeof bytes;
        std::memcpy(bytes, text.data(), size);
    }
};

// A numeric reference: the table's row for the code, else the code page conversion, else (no
// Shift_JIS form) the name itself, so that the reader sees "#8364" rather than "??".
void NumericReplacement(std::string_view name, Replacement& out) {
    std::uint16_t code = NumericCode(name);
    if (auto row = CharRefByCode(code)) {
        out.Set(*row);
        return;
    }
    if (auto sjis = text::FindShiftJis(code)) {
        if (*sjis < 0x100) {
            out.bytes[0] = static_cast<char>(*sjis);
            out.size = 1;
        } else {
            out.bytes[0] = static_cast<char>(*sjis >> 8);
            out.bytes[1] = static_cast<char>(*sjis & 0xFF);
            out.size = 2;
        }
        return;
    }
    out.Set(name);
}

}  // namespace

std::optional<std::string_view> CharRefByName(std::string_view name) {
    if (name.empty()) {
        return std::nullopt;
    }
    for (const CharRefRow& row : CharRefTable()) {
        if (row.name == name) {
            return row.replacement;
        }
    }
    return std::nullopt;
}

std::optional<std::string_view> CharRefByCode(std::uint16_t code) {
    for (const CharRefRow& row : CharRefTable()) {
        if (row.code == code) {
            return row.replacement;
        }
    }
    return std::nullopt;
}

// One pass with a reading and a writing position; the writing position never overtakes the
// reading one because no replacement is longer than the reference it replaces. The scan is byte
// by byte: "&" is never the second byte of a Shift_JIS character.
void DecodeCharRefs(std::string& line) {
    const std::size_t size = line.size();
    std::size_t read = 0;
    std::size_t write = 0;
    while (read < size) {
        char c = line[read];
        if (c != '&') {
            line[write++] = c;
            ++read;
            continue;
        }
        // "&&" stands for one literal "&" and starts no reference.
        if (read + 1 < size && line[read + 1] == '&') {
            line[write++] = '&';
            read += 2;
            continue;
        }
        // The name runs up to the first byte that is not a letter, a digit or "#" (or the end of
        // the line); that terminator must come within the first kMaxReferenceName + 1 bytes.
        std::size_t end = read + 1;
        while (end < size && end - (read + 1) <= kMaxReferenceName && IsNameByte(line[end])) {
            ++end;
        }
        std::size_t name_size = end - (read + 1);
        std::string_view name(line.data() + read + 1, name_size);
        Replacement replacement;
        bool found = false;
        if (name_size <= kMaxReferenceName) {
            if (!name.empty() && name[0] == '#') {
                NumericReplacement(name, replacement);
                found = true;
            } else if (auto text = CharRefByName(name)) {
                replacement.Set(*text);
                found = true;
            }
        }
        std::size_t consumed = 1 + name_size + (end < size && line[end] == ';' ? 1 : 0);
        if (!found || replacement.size > consumed) {
            line[write++] = '&';
            ++read;
            continue;
        }
        std::memcpy(line.data() + write, replacement.bytes, replacement.size);
        write += replacement.size;
        read += consumed;
    }
    line.resize(write);
}

}  // namespace velnora::processing
