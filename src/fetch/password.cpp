// Blowfish comes from OpenSSL's libcrypto. Its BF_* routines are deprecated in OpenSSL 3 but
// still present in the default build; the EVP interface would need the legacy provider for
// Blowfish. The deprecation warnings are silenced for this file only.
#define OPENSSL_SUPPRESS_DEPRECATED 1

#include "fetch/password.h"

#include <openssl/blowfish.h>

#include <algorithm>
#include <chrono>
#include <mutex>
#include <random>

#include "fetch/base64.h"
#include "text/shift_jis.h"

namespace velnora::fetch {

namespace {

constexpr std::size_t kBlockSize = 8;
constexpr std::size_t kGroupSize = 4;
constexpr std::size_t kMaxKeyBytes = 56;

using Block = std::array<unsigned char, kBlockSize>;

static_assert(std::ranges::none_of(kPasswordKey, [](unsigned char byte) { return byte == 0; }),
              "no byte of the password key is 0");

// The fixed key's schedule, made once per process on the first use of either routine.
const BF_KEY& ProgramKey() {
    static BF_KEY schedule;
    static std::once_flag once;
    std::call_once(once, [] {
        BF_set_key(&schedule, static_cast<int>(kPasswordKey.size()), kPasswordKey.data());
    });
    return schedule;
}

BF_LONG LoadLittleEndian(const unsigned char* bytes) {
    return static_cast<BF_LONG>(bytes[0]) | static_cast<BF_LONG>(bytes[1]) << 8 |
           static_cast<BF_LONG>(bytes[2]) << 16 | static_cast<BF_LONG>(bytes[3]) << 24;
}

void StoreLittleEndian(BF_LONG value, unsigned char* bytes) {
    bytes[0] = static_cast<unsigned char>(value & 0xFF);
    bytes[1] = static_cast<unsigned char>((value >> 8) & 0xFF);
    bytes[2] = static_cast<unsigned char>((value >> 16) & 0xFF);
    bytes[3] = static_cast<unsigned char>((value >> 24) & 0xFF);
}

// Enciphers or deciphers a block in place: bytes 0-3 are the left half, bytes 4-7 the right.
void CipherBlock(Block& block, const BF_KEY& key, bool encipher) {
    BF_LONG halves[2] = {LoadLittleEndian(block.data()), LoadLittleEndian(block.data() + 4)};
    if (encipher) {
        BF_encrypt(halves, &key);
    } else {
        BF_decrypt(halves, &key);
    }
    StoreLittleEndian(halves[0], block.data());
    StoreLittleEndian(halves[1], block.data() + 4);
}

std::array<unsigned char, 8> RandomFiller() {
    std::array<unsigned char, 8> filler{};
    std::uint64_t bits = 0;
    try {
        std::random_device device;
        bits = static_cast<std::uint64_t>(device()) << 32 | device();
    } catch (...) {
        // No entropy source: fall back to the clock, which still makes scramblings differ.
        std::mt19937_64 generator(static_cast<std::uint64_t>(
            std::chrono::high_resolution_clock::now().time_since_epoch().count()));
        bits = generator();
    }
    for (unsigned char& byte : filler) {
        byte = static_cast<unsigned char>(bits & 0xFF);
        bits >>= 8;
    }
    return filler;
}

bool RunBlowfish(std::string_view key, std::uint32_t& left, std::uint32_t& right, bool encipher) {
    if (key.empty() || key.size() > kMaxKeyBytes) {
        return false;
    }
    BF_KEY schedule;
    BF_set_key(&schedule, static_cast<int>(key.size()),
               reinterpret_cast<const unsigned char*>(key.data()));
    BF_LONG halves[2] = {left, right};
    if (encipher) {
        BF_encrypt(halves, &schedule);
    } else {
        BF_decrypt(halves, &schedule);
    }
    left = static_cast<std::uint32_t>(halves[0]);
    right = static_cast<std::uint32_t>(halves[1]);
    return true;
}

}  // namespace

std::string ScramblePassword(std::string_view password) {
    return ScramblePassword(password, RandomFiller());
}

std::string ScramblePassword(std::string_view password,
                             const std::array<unsigned char, 8>& filler) {
    password = password.substr(0, password.find('\0'));
    password = password.substr(0, text::CharacterBoundary(password, kMaxPasswordBytes));
    if (password.empty()) {
        return std::string();
    }
    const BF_KEY& key = ProgramKey();
    Block block = filler;
    std::string output;
    output.reserve((password.size() + kGroupSize - 1) / kGroupSize * kBlockSize);
    for (std::size_t i = 0; i < password.size(); i += kGroupSize) {
        for (std::size_t k = 0; k < kGroupSize; ++k) {
            block[k] = i + k < password.size() ? static_cast<unsigned char>(password[i + k]) : 0;
        }
        CipherBlock(block, key, true);
        output.append(reinterpret_cast<const char*>(block.data()), block.size());
    }
    return EncodeBase64(output);
}

std::string UnscramblePassword(std::string_view stored) {
    const BF_KEY& key = ProgramKey();
    std::string bytes = DecodeBase64(stored);
    std::string password;
    password.reserve(bytes.size() / kBlockSize * kGroupSize);
    for (std::size_t i = 0; i + kBlockSize <= bytes.size(); i += kBlockSize) {
        Block block;
        for (std::size_t k = 0; k < kBlockSize; ++k) {
            block[k] = static_cast<unsigned char>(bytes[i + k]);
        }
        CipherBlock(block, key, false);
        password.append(reinterpret_cast<const char*>(block.data()), kGroupSize);
    }
    std::size_t end = password.find('\0');
    if (end != std::string::npos) {
        password.resize(end);
    }
    return password;
}

bool BlowfishEncipher(std::string_view key, std::uint32_t& left, std::uint32_t& right) {
    return RunBlowfish(key, left, right, true);
}

bool BlowfishDecipher(std::string_view key, std::uint32_t& left, std::uint32_t& right) {
    return RunBlowfish(key, left, right, false);
}

}  // namespace velnora::fetch
