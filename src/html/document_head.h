#pragma once

// The head of the program's HTML documents (the saved log and the browser file): the title with
// the date and time of writing, Shift_JIS declared, the pane's colours, font size and line
// height as a style, and a reference to "default.css" beside the file, which the program never
// writes: a user may put one there.

#include <ctime>
#include <string>
#include <string_view>

#include "results/pane_appearance.h"

namespace velnora::html {

// A colour of the settings (blue in the high byte, red in the low byte) as "#RRGGBB".
std::string HtmlColor(results::ColorRef color);

// The head up to and including "<body>\n", lines ending in line feeds. `now` is local time.
std::string DocumentHead(const results::PaneAppearance& appearance, const std::tm& now);

// What ends the documents the head begins.
inline constexpr std::string_view kDocumentClosing = "\n</body>\n</html>\n";

// Local time now.
std::tm LocalNow();

}  // namespace velnora::html
