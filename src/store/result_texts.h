#pragma once

// The texts that stand for a page's result codes, in Shift_JIS: what the result pane shows for
// a page's last check, and the status lines a check writes.

#include <string_view>

namespace velnora::store {

// RESULT_NO_CHANGE: 更新なし
inline constexpr std::string_view kNoChangeText = "\x8d\x58\x90\x56\x82\xc8\x82\xb5";
// RESULT_NOT_MODIFIED: 最終更新日に変化なし
inline constexpr std::string_view kNotModifiedText =
    "\x8d\xc5\x8f\x49\x8d\x58\x90\x56\x93\xfa\x82\xc9\x95\xcf\x89\xbb\x82\xc8\x82\xb5";
// RESULT_ERROR: ｴﾗｰ発生
inline constexpr std::string_view kErrorResultText = "\xb4\xd7\xb0\x94\xad\x90\xb6";

}  // namespace velnora::store
