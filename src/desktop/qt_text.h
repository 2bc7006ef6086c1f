#pragma once

// Text at the widget boundary: the program's Shift_JIS bytes to and from QString, with our own
// code page 932 tables.

#include <QString>
#include <string>
#include <string_view>

namespace velnora::desktop {

QString FromSjis(std::string_view sjis);
std::string ToSjis(const QString& text);

}  // namespace velnora::desktop
