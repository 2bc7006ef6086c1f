#include "processing/char_refs.h"

namespace velnora::processing {

void DecodeCharRefs(std::string&) {}
std::optional<std::string_view> CharRefByName(std::string_view) {
    return std::nullopt;
}
std::optional<std::string_view> CharRefByCode(std::uint16_t) {
    return std::nullopt;
}

}  // namespace velnora::processing
