#include "settings/byte_count_format.h"

#include <charconv>
#include <string_view>

namespace velnora::settings {

namespace {

constexpr std::string_view kBytes = "\x83\x6f\x83\x43\x83\x67";  // バイト
constexpr std::string_view kMinutes = "\x95\xaa";                // 分
constexpr std::string_view kSeconds = "\x95\x62";                // 秒
constexpr std::uint32_t kKilo = 1024;
constexpr std::uint32_t kMega = 1048576;

// "%.1f" with a point whatever the locale.
std::string OneDecimal(double value) {
    char text[32];
    auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 1);
    return std::string(text, result.ptr);
}

}  // namespace

std::string GroupThousands(std::uint32_t count) {
    std::string digits = std::to_string(count);
    std::string grouped;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) {
            grouped += ',';
        }
        grouped += digits[i];
    }
    return grouped;
}

std::string FormatByteCount(std::uint32_t bytes) {
    if (bytes < kKilo) {
        return std::to_string(bytes) + std::string(kBytes);
    }
    std::string approximate;
    if (bytes > kMega) {
        approximate = OneDecimal(static_cast<double>(bytes) / kMega) + " MB";
    } else if (bytes <= kKilo) {
        approximate = std::to_string(bytes) + " B";
    } else {
        approximate = OneDecimal(static_cast<double>(bytes) / kKilo) + " KB";
    }
    return approximate + " (" + GroupThousands(bytes) + " " + std::string(kBytes) + ")";
}

std::string FormatMinutesSeconds(int seconds) {
    return std::to_string(seconds / 60) + std::string(kMinutes) + " " +
           std::to_string(seconds % 60) + std::string(kSeconds);
}

}  // namespace velnora::settings
