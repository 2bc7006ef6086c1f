#pragma once

// Text and attribute values as they go into the program's HTML files. Everything the program
// writes there comes from pages (their text, their link targets, their image texts), so every
// piece is escaped: a page can add text to a file, never markup. The bytes stay Shift_JIS, as
// the documents declare.

#include <string>
#include <string_view>

namespace velnora::html {

// Appends the text with &, <, > and " written as references and each line feed as "<br>\n".
// A lead byte without its second byte becomes "?", so that it cannot swallow the markup after
// it.
void AppendEscapedText(std::string& out, std::string_view text);

// The same for an attribute value, whose line feeds stay as they are.
void AppendEscapedAttribute(std::string& out, std::string_view value);

// <a href="target">, the escaped text, </a>: when the target is a web or FTP address. Any other
// target is left out and the text written alone.
void AppendLink(std::string& out, std::string_view target, std::string_view text);

}  // namespace velnora::html
