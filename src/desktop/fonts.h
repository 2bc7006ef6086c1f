#pragma once

// The font the result pane draws with, made from the font settings. A stored face that is not
// installed (a face named on another desktop) gives way to an installed Japanese family, so that
// Japanese never shows as empty boxes; the options sheet's sample shows the same font.

#include <QFont>
#include <QString>
#include <string_view>

namespace velnora::desktop {

struct FontSettings {
    std::string_view face_name;  // Shift_JIS
    int point = 10;              // 0 or less: 10
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeout = false;
};

// The family shown for a face name (Shift_JIS): the face itself when it is installed, else an
// installed Japanese family (the face itself when no Japanese family is installed either).
QString ShownFamily(std::string_view face_name);

// The font of the settings, in the shown family.
QFont ShownFont(const FontSettings& settings);

}  // namespace velnora::desktop
