#pragma once

#include <string_view>

namespace velnora::store {

// Deletes a page's history except its newest slot: every past log and update text of the ring
// but the current ones, and head.txt. new.txt, add.txt, html.txt, index.txt and result.ini stay,
// so the next check still has a latest past log to compare with. A page directory that is a
// symbolic link is left alone: the files it leads to are not the page's. Failures are ignored.
void ClearPageLogs(std::string_view page_directory);

}  // namespace velnora::store
