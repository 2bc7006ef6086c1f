#pragma once

// The program home: the directory that holds velnora.ini, the page tree "data" and "history".
//
// It is $VELNORA_HOME when that is set; else the directory of the executable when it holds
// velnora.ini or data (a portable installation); else $XDG_DATA_HOME/velnora (by default
// ~/.local/share/velnora). This is the only place that knows the rule.

#include <optional>
#include <string>

namespace velnora::files {

struct ProgramHome {
    std::string directory;       // Shift_JIS, ending in the path separator
    std::string data_directory;  // directory followed by "data", no separator at the end
};

// Finds the home and creates it and its data directory when missing. Nothing, with the reason
// in *error, when it cannot be found, represented in Shift_JIS or created.
std::optional<ProgramHome> FindProgramHome(std::string* error = nullptr);

}  // namespace velnora::files
