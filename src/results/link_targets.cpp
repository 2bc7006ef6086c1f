#include "results/link_targets.h"

#include <charconv>

#include "fetch/url_split.h"

namespace velnora::results {

bool IsOpenableTarget(std::string_view target) {
    return fetch::HasWebScheme(target);
}

bool IsSettingsTarget(std::string_view target) {
    return !target.empty() && target[0] == kSettingsTargetMark;
}

std::string SettingsTarget(store::ItemId item) {
    return std::string(1, kSettingsTargetMark) + std::to_string(item);
}

std::optional<store::ItemId> SettingsTargetItem(std::string_view target) {
    if (!IsSettingsTarget(target)) {
        return std::nullopt;
    }
    store::ItemId item = 0;
    const char* first = target.data() + 1;
    const char* last = target.data() + target.size();
    auto [end, error] = std::from_chars(first, last, item);
    if (error != std::errc() || end != last) {
        return std::nullopt;
    }
    return item;
}

}  // namespace velnora::results
