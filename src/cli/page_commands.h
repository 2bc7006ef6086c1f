#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace velnora::cli {

// velnora-cli process PAGE_DIR: runs the page check on the stored htmltmp.txt.
int ProcessCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// velnora-cli extract PAGE_DIR: prints the text the stored response gives, touching no file.
int ExtractCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace velnora::cli
