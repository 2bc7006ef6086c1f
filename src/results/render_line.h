#pragma once

// One line of extracted text as the result pane shows it: the reduced link and image markup of
// the extraction becomes links and image texts, character references are decoded, runs made only
// of spaces disappear, and a line feed ends the line.

#include <string_view>

#include "results/display_settings.h"
#include "results/document.h"

namespace velnora::results {

// Markup read (as the extraction writes it):
//   <a href="TARGET">TEXT</a>     a link; the text may hold images
//   <img src="SOURCE" alt="ALT">  an image; both attributes optional
// Any other less-than sign is ordinary text. The image text is "[画像:ALT]" when the image has
// an alt attribute (even an empty one), else "[画像:NAME]" with the source's file name when
// DISP_IMAGE_NAME is set, else "[画像]"; it links to the open link's target, else to its source
// when IMAGE_LINK is set. Only web and FTP targets become links (document.h).
void RenderLine(ResultDocument& document, std::string_view line, const DisplaySettings& settings);

}  // namespace velnora::results
