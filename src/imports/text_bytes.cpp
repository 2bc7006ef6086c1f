#include "imports/text_bytes.h"

#include <QString>

#include "text/cp932.h"

namespace velnora::imports {

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LittleMark = "\xFF\xFE";
constexpr std::string_view kUtf16BigMark = "\xFE\xFF";

}  // namespace

std::string Utf16AsUtf8(std::string_view bytes) {
    bool big = false;
    if (bytes.starts_with(kUtf16LittleMark)) {
        bytes.remove_prefix(2);
    } else if (bytes.starts_with(kUtf16BigMark)) {
        bytes.remove_prefix(2);
        big = true;
    }
    std::u16string units;
    units.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        auto first = static_cast<unsigned char>(bytes[i]);
        auto second = static_cast<unsigned char>(bytes[i + 1]);
        units += static_cast<char16_t>(big ? (first << 8 | second) : (second << 8 | first));
    }
    return QString::fromUtf16(units.data(), static_cast<qsizetype>(units.size()))
        .toUtf8()
        .toStdString();
}

std::string WithoutByteOrderMark(std::string_view bytes) {
    if (bytes.starts_with(kUtf16LittleMark) || bytes.starts_with(kUtf16BigMark)) {
        return Utf16AsUtf8(bytes);
    }
    if (bytes.starts_with(kUtf8Mark)) {
        bytes.remove_prefix(kUtf8Mark.size());
    }
    return std::string(bytes);
}

std::string TextAsUtf8(std::string_view bytes) {
    std::string text = WithoutByteOrderMark(bytes);
    return text::IsUtf8(text) ? text : text::ShiftJisToUtf8(text);
}

}  // namespace velnora::imports
