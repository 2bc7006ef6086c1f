#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace velnora::cli {

// velnora-cli move [--wait] ITEM TARGET: moves an item as dragging it onto TARGET does.
int MoveCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// velnora-cli import [--wait] FILE [FOLDER]: a bookmark collection into a new folder.
int ImportCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// velnora-cli export-tree FILE [ITEM]: the tree as a bookmark export or OPML.
int ExportTreeCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace velnora::cli
