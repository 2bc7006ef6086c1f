#include "processing/url_resolver.h"

namespace velnora::processing {

std::string AbsoluteAddress(std::string_view value, std::string_view) {
    return std::string(value);
}

}  // namespace velnora::processing
