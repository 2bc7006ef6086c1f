#pragma once

// Keys of a settings file, each described once: its section and name, what a missing key reads
// as, the range a stored number must lie in, and the buffer a text must fit. Loading, saving and
// the property sheets' fields all read these descriptions, so a key's facts cannot drift apart.

#include <cstddef>
#include <string>
#include <string_view>

#include "ini/ini_file.h"

namespace velnora::ini {

// The values a number key accepts, both ends included.
struct NumberRange {
    int low = 0;
    int high = 0;

    constexpr bool Contains(int value) const { return value >= low && value <= high; }
    // The number of decimal digits of the widest value, for a field that shows the range.
    constexpr int Digits() const {
        int digits = 1;
        for (int rest = high; rest >= 10; rest /= 10) {
            ++digits;
        }
        return digits;
    }
};

// How much of a stored number is kept.
enum class NumberWidth {
    kInt,   // the whole (32-bit) number
    kByte,  // only its low byte, as a field one byte wide holds it
};

struct NumberKey {
    std::string_view section;
    std::string_view name;
    // What a missing or empty key reads as, and (with a range) a stored number outside it.
    int fallback = 0;
    bool ranged = false;
    NumberRange range;
    NumberWidth width = NumberWidth::kInt;
    // Numbered keys (CUSTCOLOR0 … CUSTCOLOR15): the name is their prefix, 0 for a single key.
    int count = 0;
    // The fallback stands for "no key" (such as "as its folder"): writing it removes the key.
    bool omitted_at_fallback = false;

    constexpr NumberKey(std::string_view section, std::string_view name, int fallback)
        : section(section), name(name), fallback(fallback) {}
    constexpr NumberKey InRange(int low, int high) const {
        NumberKey key = *this;
        key.ranged = true;
        key.range = NumberRange{low, high};
        return key;
    }
    constexpr NumberKey LowByte() const {
        NumberKey key = *this;
        key.width = NumberWidth::kByte;
        return key;
    }
    constexpr NumberKey Numbered(int keys) const {
        NumberKey key = *this;
        key.count = keys;
        return key;
    }
    constexpr NumberKey OmittedAtFallback() const {
        NumberKey key = *this;
        key.omitted_at_fallback = true;
        return key;
    }
};

struct TextKey {
    std::string_view section;
    std::string_view name;
    // The value keeps at most buffer - 1 bytes (never splitting a double-byte character).
    std::size_t buffer = 0;
    std::string_view fallback;
    // Numbered keys (NGWORD0 … NGWORD9): the name is their prefix, 0 for a single key.
    int count = 0;
    // Writing the fallback removes the key: its absence means the fallback.
    bool omitted_at_fallback = false;

    constexpr TextKey(std::string_view section, std::string_view name, std::size_t buffer,
                      std::string_view fallback = {})
        : section(section), name(name), buffer(buffer), fallback(fallback) {}
    constexpr TextKey Numbered(int keys) const {
        TextKey key = *this;
        key.count = keys;
        return key;
    }
    constexpr TextKey OmittedAtFallback() const {
        TextKey key = *this;
        key.omitted_at_fallback = true;
        return key;
    }
    // The most characters a field of the key takes (each at least one byte).
    constexpr int MaxChars() const { return static_cast<int>(buffer) - 1; }
};

inline constexpr int kSingleKey = -1;

// The name of a key, or of number `number` of numbered keys.
template <typename Key>
std::string KeyName(const Key& key, int number = kSingleKey) {
    std::string name(key.name);
    if (number != kSingleKey) {
        name += std::to_string(number);
    }
    return name;
}

// A number key as stored: with the profile functions' reading, then the key's width and range.
int Read(const IniFile& ini, const NumberKey& key, int number = kSingleKey);
std::string Read(const IniFile& ini, const TextKey& key, int number = kSingleKey);
// Numbers are written in decimal (unsigned values, such as colours, as unsigned). A key whose
// fallback stands for "no key" is removed when the value is the fallback.
void Write(IniFile& ini, const NumberKey& key, long long value, int number = kSingleKey);
void Write(IniFile& ini, const TextKey& key, std::string_view value, int number = kSingleKey);

// Visitors of a record's keys (a function that hands each key with its field to a visitor):
// KeyReader reads each key into its field, KeyWriter writes each field to its key.
struct KeyReader {
    const IniFile& ini;

    template <typename Number>
    void operator()(const NumberKey& key, Number& field, int number = kSingleKey) {
        field = static_cast<Number>(Read(ini, key, number));
    }
    void operator()(const TextKey& key, std::string& field, int number = kSingleKey) {
        field = Read(ini, key, number);
    }
};

struct KeyWriter {
    IniFile& ini;

    template <typename Number>
    void operator()(const NumberKey& key, const Number& field, int number = kSingleKey) {
        Write(ini, key, field, number);
    }
    void operator()(const TextKey& key, const std::string& field, int number = kSingleKey) {
        Write(ini, key, field, number);
    }
};

// One number key of a file, read on its own as the profile functions do.
int GetProfileInt(std::string_view file, const NumberKey& key);

// A number after the key's range rule (for a value typed into a field).
int Ranged(const NumberKey& key, int value);

}  // namespace velnora::ini
