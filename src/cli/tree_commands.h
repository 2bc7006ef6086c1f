#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace velnora::cli {

// velnora-cli check [ITEM]: checks the item (a path in the tree, default the root) as the
// window's check command does, printing what the result pane shows.
int CheckCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// velnora-cli reload [--all] [ITEM]: the stored results, as the reload commands show them.
int ReloadCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// velnora-cli list: the tree, each page with its result code and URL.
int ListCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// velnora-cli add ITEM URL: a new page, as the new-page command makes one.
int AddCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace velnora::cli
