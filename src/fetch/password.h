#pragma once

// The stored form of a page's Basic-authentication password (AUTH_PASS of site.ini): the
// password enciphered with Blowfish under a fixed program key, in Base64. It keeps the
// password from being read at a glance in the file; it is not a protection against anyone who
// has the program.
//
// Layout: an 8-byte block starts out as 8 random filler bytes. The password is taken in groups
// of 4 bytes, the last one filled up with zero bytes. Each group is written into bytes 0-3 of
// the block, bytes 4-7 are left as they are (the filler for the first group, the previous
// group's enciphered bytes 4-7 after that), the block is enciphered in place and appended to
// the output. Bytes 0-3 and 4-7, each read as a little-endian 32-bit number, are the cipher's
// left and right halves. The stored form is the Base64 text of the output: 12 characters for
// up to 4 password bytes, 24 for up to 8, and so on.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace velnora::fetch {

// The program's key. Stored forms made with another key do not unscramble.
inline constexpr std::array<unsigned char, 16> kPasswordKey = {
    0x56, 0xE3, 0x2B, 0x91, 0x4C, 0xD7, 0x68, 0x1F, 0xA5, 0x3E, 0xB2, 0x79, 0x0D, 0xC4, 0x87, 0x5A,
};

// The longest password that the stored form holds: the AUTH_PASS field keeps 192 characters of
// Base64, which is 18 blocks of 4 password bytes.
inline constexpr std::size_t kMaxPasswordBytes = 72;

// The stored form of a password: empty for an empty password. The password ends at its first
// zero byte and is cut to kMaxPasswordBytes (never inside a double-byte character). The
// filler comes from std::random_device, so two scramblings of one password differ.
std::string ScramblePassword(std::string_view password);

// As ScramblePassword, with the 8 filler bytes given (only bytes 4-7 reach the output).
std::string ScramblePassword(std::string_view password, const std::array<unsigned char, 8>& filler);

// The password of a stored form. Any text is accepted: it is decoded with DecodeBase64, each
// whole 8-byte block deciphered and its bytes 0-3 kept, an incomplete last block ignored; the
// password ends at the first zero byte.
std::string UnscramblePassword(std::string_view stored);

// One 64-bit block through Blowfish (16 rounds, as published) under the given key of 1 to 56
// bytes; left and right are the cipher's two 32-bit halves. False, leaving the block as it was,
// for a key of another length. The key schedule is made afresh on every call: these are for
// checking the cipher, the password routines use the fixed key's schedule made once.
bool BlowfishEncipher(std::string_view key, std::uint32_t& left, std::uint32_t& right);
bool BlowfishDecipher(std::string_view key, std::uint32_t& left, std::uint32_t& right);

}  // namespace velnora::fetch
