#pragma once

// The look of the result pane: the font, the colours and the line spacing. The window fills it
// from the program settings ([FONT], whose defaults are stated there); the pane applies it. No
// widget types, so the settings layer can build it.

#include <climits>
#include <cstdint>
#include <string>

namespace velnora::results {

using ColorRef = std::uint32_t;  // 0x00BBGGRR, as the settings file stores colours

struct PaneAppearance {
    // FACENAME, Shift_JIS. A face that is not installed is shown with an installed Japanese face;
    // the value itself is kept.
    std::string face_name;
    int point = 0;  // POINT; 0 or less shows the default size
    int bold = 0;   // BOLD, ITALIC, UNDERLINE, STRIKEOUT: non-zero sets the style
    int italic = 0;
    int underline = 0;
    int strikeout = 0;
    ColorRef color = 0;            // COLOR: the text, links included
    ColorRef back_color = 0;       // BACKCOLOR
    ColorRef highlight_color = 0;  // HIGHLIGHTCOLOR: background of new keyword hits
    int line_height = 0;           // LINE_HEIGHT: per cent of the point size
};

inline constexpr int kTwipsPerInch = 1440;

// The height of every line in twips (1/1440 inch): POINT × LINE_HEIGHT × 20 / 100, in integers
// and in that order. 0 when that is not a positive height (the pane then uses the font's own
// spacing rather than collapsing its lines onto each other).
constexpr int LineSpacingTwips(const PaneAppearance& appearance) {
    long long twips = static_cast<long long>(appearance.point) * appearance.line_height * 20 / 100;
    if (twips <= 0) {
        return 0;
    }
    return twips > INT_MAX ? INT_MAX : static_cast<int>(twips);
}

}  // namespace velnora::results
