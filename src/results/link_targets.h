#pragma once

// What a link of the result pane may point at. Links taken from pages open in the browser only
// when they are web or FTP addresses; a page cannot make the user open a script, a local file or
// inline data. Settings links (byte 0x01 followed by an item identifier) open the page's
// property sheet.

#include <optional>
#include <string>
#include <string_view>

#include "store/records.h"

namespace velnora::results {

inline constexpr char kSettingsTargetMark = '\x01';

// True when the target begins with "http://", "https://" or "ftp://", in any letter case.
bool IsOpenableTarget(std::string_view target);

// True when the target is a settings link (its first byte is 0x01).
bool IsSettingsTarget(std::string_view target);

// The settings link of an item: byte 0x01 and the identifier in decimal.
std::string SettingsTarget(store::ItemId item);

// The item identifier of a settings link; nothing for any other target or when no number
// follows the mark.
std::optional<store::ItemId> SettingsTargetItem(std::string_view target);

}  // namespace velnora::results
