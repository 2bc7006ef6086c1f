// Any line through the character-reference decoder: no crash, no read or write outside the
// line, and the line never grows.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "processing/char_refs.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string line(reinterpret_cast<const char*>(data), size);
    std::size_t before = line.size();
    velnora::processing::DecodeCharRefs(line);
    if (line.size() > before) {
        std::abort();
    }
    return 0;
}
