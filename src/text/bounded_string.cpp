#include "text/bounded_string.h"

#include "text/shift_jis.h"

namespace velnora::text {

namespace {

bool Fits(std::size_t length, std::size_t size) {
    return length < size;
}

}  // namespace

int BoundedCopy(std::string& buffer, std::size_t size, std::string_view text) {
    if (!Fits(text.size(), size)) {
        return -1;
    }
    buffer.assign(text);
    return 0;
}

int BoundedAppend(std::string& buffer, std::size_t size, std::string_view text) {
    if (!Fits(buffer.size() + text.size(), size)) {
        return -1;
    }
    buffer.append(text);
    return 0;
}

int BoundedAppendN(std::string& buffer, std::size_t size, std::string_view text, std::size_t n) {
    return BoundedAppend(buffer, size, text.substr(0, n));
}

int BoundedAppendAll(std::string& buffer, std::size_t size,
                     std::initializer_list<std::string_view> texts) {
    for (std::string_view text : texts) {
        if (BoundedAppend(buffer, size, text) != 0) {
            return -1;
        }
    }
    return 0;
}

int BoundedJoin(std::string& buffer, std::size_t size,
                std::initializer_list<std::string_view> texts) {
    buffer.clear();
    return BoundedAppendAll(buffer, size, texts);
}

std::string CutToBuffer(std::string_view text, std::size_t size) {
    if (size == 0) {
        return {};
    }
    if (text.size() < size) {
        return std::string(text);
    }
    return std::string(text.substr(0, CharacterBoundary(text, size - 1)));
}

}  // namespace velnora::text
