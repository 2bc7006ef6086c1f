#include "desktop/qt_text.h"

#include "text/cp932.h"

namespace velnora::desktop {

QString FromSjis(std::string_view sjis) {
    std::u16string utf16 = text::ShiftJisToUtf16(sjis);
    return QString::fromUtf16(utf16.data(), static_cast<qsizetype>(utf16.size()));
}

std::string ToSjis(const QString& text) {
    return text::Utf16ToShiftJis(std::u16string_view(
        reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())));
}

}  // namespace velnora::desktop
