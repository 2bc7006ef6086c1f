#pragma once

// The header line of a page block, built from the HEADER template.

#include <ctime>
#include <optional>
#include <string_view>

#include "results/document.h"
#include "store/records.h"

namespace velnora::results {

// Appends the template with its placeholders replaced, then a line feed. Placeholders, in any
// letter case:
//   %link;     a header link: the page's name, to BROWSE_URL, or to URL when that is empty
//   %date;     the file time as YYYY/MM/DD in local time (nothing without a file time)
//   %time;     the file time as hh:mm:ss in local time (nothing without a file time)
//   %config;   "▽", a settings link to the page's property sheet
//   %comment;  the page's COMMENT
// Any other percent sign stays as it is. Line breaks of the template (CR LF, CR or LF) become
// line feeds.
void AppendHeaderLine(ResultDocument& document, std::string_view header_template,
                      const store::ItemRecord& page, std::optional<std::time_t> file_time);

}  // namespace velnora::results
