#pragma once

// The texts of the statistics page: an amount of received data and a time span, in Shift_JIS.

#include <cstdint>
#include <string>

namespace velnora::settings {

// "1023バイト" up to 1023 bytes; above that the approximate size and the exact count with a
// comma between groups of three digits: "1024 B (1,024 バイト)", "1024.0 KB (1,048,576 バイト)",
// "1.0 MB (1,048,577 バイト)". Sizes above 1048576 bytes are given in MB, up to 1024 in B,
// KB in between, each with one decimal.
std::string FormatByteCount(std::uint32_t bytes);

// The count with a comma between every group of three digits: "1,048,576"; 0 is "0".
std::string GroupThousands(std::uint32_t count);

// "%d分 %d秒": a span of seconds as minutes and seconds.
std::string FormatMinutesSeconds(int seconds);

}  // namespace velnora::settings
