#pragma once

// The result pane's document as HTML: its text escaped, each line feed as "<br>\n", its links as
// <a href> (web and FTP addresses only; settings links are left out with their text).

#include <string>

#include "results/document.h"

namespace velnora::html {

// How the images of rendered lines are written.
enum class ImageForm {
    kAsText,    // as the pane shows them: their image text ("[画像:...]")
    kAsImages,  // as <img src alt> when the source is a web or FTP address, else as their text
};

void AppendDocumentHtml(std::string& out, const results::ResultDocument& document,
                        ImageForm images);

}  // namespace velnora::html
