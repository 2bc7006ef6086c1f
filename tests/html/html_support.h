#pragma once

#include <ctime>

namespace velnora::html::test {

// 2024/05/06 07:08:09, local time.
inline std::tm May6() {
    std::tm now{};
    now.tm_year = 2024 - 1900;
    now.tm_mon = 4;
    now.tm_mday = 6;
    now.tm_hour = 7;
    now.tm_min = 8;
    now.tm_sec = 9;
    return now;
}

}  // namespace velnora::html::test
