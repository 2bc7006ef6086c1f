#pragma once

// Runs velnora-cli in-process with its output kept.

#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"

namespace velnora::cli {

struct Result {
    int status;
    std::string out;
    std::string err;
};

inline Result RunCli(std::vector<std::string> args) {
    std::ostringstream out;
    std::ostringstream err;
    int status = Run(args, out, err);
    return {status, out.str(), err.str()};
}

}  // namespace velnora::cli
