#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace velnora::cli {

// velnora-cli interval [--wait] ITEM MINUTES: sets the check interval of a page, a folder or
// (ITEM "/") the data directory; MINUTES 0 is "only by hand", "folder" is "as its folder".
int IntervalCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace velnora::cli
