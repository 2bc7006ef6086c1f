#pragma once

// The program settings that the displays of the result pane read. The program settings live in
// a higher layer, which fills this record from them (their defaults are stated there).

#include <array>
#include <string>

namespace velnora::results {

inline constexpr int kHighlightKeywords = 10;

struct DisplaySettings {
    std::string header;     // HEADER: the header line template; line breaks as LF or CR LF
    int max_disp_line = 0;  // MAX_DISP_LINE: lines shown of one update text
    int nochange_msg = 0;   // NOCHANGE_MSG: status lines for pages without update
    int use_highlight = 0;  // USE_HIGHLIGHT
    std::array<std::string, kHighlightKeywords> highlights;  // HIGHLIGHT0-9, empty: unused
    int image_link = 0;       // IMAGE_LINK: images outside links link to their source
    int disp_image_name = 0;  // DISP_IMAGE_NAME: images without alt text show their file name
    int n_reload = 0;         // N_RELOAD: update texts shown when a page is reloaded
};

}  // namespace velnora::results
