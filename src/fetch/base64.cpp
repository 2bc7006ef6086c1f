#include "fetch/base64.h"

#include <array>
#include <cstdint>

namespace velnora::fetch {

namespace {

constexpr std::string_view kAlphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// The index of every byte in the alphabet, 0 for bytes outside it.
constexpr std::array<std::uint8_t, 256> MakeDecodeTable() {
    std::array<std::uint8_t, 256> table{};
    for (std::size_t i = 0; i < kAlphabet.size(); ++i) {
        table[static_cast<unsigned char>(kAlphabet[i])] = static_cast<std::uint8_t>(i);
    }
    return table;
}

constexpr std::array<std::uint8_t, 256> kDecodeTable = MakeDecodeTable();

}  // namespace

std::string EncodeBase64(std::string_view bytes) {
    std::string text;
    text.reserve((bytes.size() + 2) / 3 * 4);
    std::size_t i = 0;
    for (; i + 3 <= bytes.size(); i += 3) {
        std::uint32_t group =
            static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i])) << 16 |
            static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i + 1])) << 8 |
            static_cast<unsigned char>(bytes[i + 2]);
        text.push_back(kAlphabet[group >> 18]);
        text.push_back(kAlphabet[(group >> 12) & 0x3F]);
        text.push_back(kAlphabet[(group >> 6) & 0x3F]);
        text.push_back(kAlphabet[group & 0x3F]);
    }
    std::size_t left = bytes.size() - i;
    if (left > 0) {
        // The bits of the last character that lie beyond the input are zero.
        std::uint32_t group = static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i]))
                              << 16;
        if (left == 2) {
            group |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i + 1])) << 8;
        }
        text.push_back(kAlphabet[group >> 18]);
        text.push_back(kAlphabet[(group >> 12) & 0x3F]);
        if (left == 2) {
            text.push_back(kAlphabet[(group >> 6) & 0x3F]);
        }
        while (text.size() % 4 != 0) {
            text.push_back('=');
        }
    }
    return text;
}

std::string DecodeBase64(std::string_view text) {
    std::string bytes;
    bytes.reserve((text.size() + 3) / 4 * 3);
    std::size_t count = 0;
    for (std::size_t i = 0; i < text.size(); i += 4) {
        std::array<char, 4> group = {'=', '=', '=', '='};
        for (std::size_t k = 0; k < 4 && i + k < text.size(); ++k) {
            group[k] = text[i + k];
        }
        std::uint32_t value = 0;
        for (char c : group) {
            value = value << 6 | kDecodeTable[static_cast<unsigned char>(c)];
        }
        bytes.push_back(static_cast<char>(value >> 16));
        bytes.push_back(static_cast<char>((value >> 8) & 0xFF));
        bytes.push_back(static_cast<char>(value & 0xFF));
        if (group[3] != '=') {
            count += 3;
        } else if (group[2] != '=') {
            count += 2;
        } else {
            count += 1;
        }
    }
    bytes.resize(count);
    return bytes;
}

}  // namespace velnora::fetch
