#pragma once

// velnora-cli: the headless front end. Run takes the arguments after the program name and
// writes to the given streams, so that tests can run it in-process.

#include <ostream>
#include <string>
#include <vector>

#include "cli/exit_status.h"

namespace velnora::cli {

// Runs the command and returns its exit status (exit_status.h).
int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace velnora::cli
