#pragma once

// Character references in the text and attributes of bookmark exports, which write &amp;,
// &lt;, &gt;, &quot; and numeric references, and sometimes &apos; or &nbsp;.

#include <string>
#include <string_view>

namespace velnora::imports {

// The UTF-8 text with its references replaced; a reference it does not know stays as written.
std::string DecodeEntities(std::string_view text);

// The text (UTF-8) with &, <, > and both quotes written as references, for markup.
std::string EscapeMarkup(std::string_view text);

}  // namespace velnora::imports
