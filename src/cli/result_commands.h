#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace velnora::cli {

// velnora-cli search TEXT [ITEM]: the past-log search, its hit blocks printed as the pane shows
// them. Exit status kExitDone with hits, kExitNegative without, kExitUsage for bad use,
// kExitNotDone when the home cannot be opened or the file not written.
int SearchCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// velnora-cli export [--all] FILE.html [ITEM]: what reload shows, as the HTML document the
// window's "save as HTML" writes; FILE "-" is the standard output.
int ExportCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace velnora::cli
