#pragma once

// The result pane as plain text, for the command line.

#include <string>

#include "results/document.h"

namespace velnora::results {

// The document's text with each link followed by a space and its address in angle brackets
// ("name <http://...>"); settings links are their text alone. Shift_JIS, lines ending in line
// feeds.
std::string PlainText(const ResultDocument& document);

}  // namespace velnora::results
