#pragma once

// What the commands of velnora-cli share: the program home, arguments as Shift_JIS paths, and
// Shift_JIS text printed as UTF-8.

#include <optional>
#include <ostream>
#include <string>
#include <string_view>

#include "files/program_home.h"
#include "settings/app_settings.h"

namespace velnora::cli {

// The program home, or nothing after a message on err.
std::optional<files::ProgramHome> OpenHome(std::ostream& err);

// The settings of velnora.ini in the home (defaults when there is none). A velnora.ini that is
// refused (too large, no regular file) is named on err with the reason.
settings::AppSettings LoadSettings(const files::ProgramHome& home, std::ostream& err);

// A directory named on the command line (UTF-8) as the program's Shift_JIS path, without a
// separator at the end; nothing, after a message on err, when it is no directory or has no
// Shift_JIS name.
std::optional<std::string> PageDirectoryArgument(std::string_view argument, std::ostream& err);

// Shift_JIS text for the terminal.
std::string ToTerminal(std::string_view sjis);

}  // namespace velnora::cli
