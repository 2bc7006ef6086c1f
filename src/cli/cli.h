#pragma once

// velnora-cli: the headless front end. Run takes the arguments after the program name and
// writes to the given streams, so that tests can run it in-process.

#include <ostream>
#include <string>
#include <vector>

namespace velnora::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitNotDone = 3;  // the work could not be done; nothing was changed

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace velnora::cli
