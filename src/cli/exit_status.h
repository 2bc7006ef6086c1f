#pragma once

// The exit statuses of velnora-cli, the same for every command, and their text for --help.

#include <string_view>

namespace velnora::cli {

enum ExitStatus : int {
    // The work was done (check: every page checked without an error line).
    kExitDone = 0,
    // The work was done and the answer is negative (check: at least one page ended in an error
    // line, HTTP errors included; search: no hit; import: nothing new).
    kExitNegative = 1,
    // Bad use: wrong arguments, an unknown ITEM.
    kExitUsage = 2,
    // The work could not be done and nothing was changed: an unreadable or wrong file, a
    // refused move, a failed write.
    kExitNotDone = 3,
    // Another program holds the home's write lock and --wait was not given.
    kExitLocked = 4,
};

inline constexpr std::string_view kExitStatusHelp =
    "Exit status:\n"
    "  0  the work was done (check: every page was checked without an error line; search:\n"
    "     lines were found)\n"
    "  1  done, with a negative answer (check: at least one page ended in an error line,\n"
    "     HTTP errors included; search: nothing was found; import: nothing new, no folder\n"
    "     made)\n"
    "  2  bad use: wrong arguments or an unknown ITEM\n"
    "  3  the work could not be done and nothing was changed (an unreadable, damaged or\n"
    "     wrong file, a move the rules refuse, a failed write)\n"
    "  4  another program is writing to the program home and --wait was not given\n";

}  // namespace velnora::cli
