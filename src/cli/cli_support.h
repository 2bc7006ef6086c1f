#pragma once

// What the commands of velnora-cli share: the program home, arguments as Shift_JIS paths, and
// Shift_JIS text printed as UTF-8.

#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "files/program_home.h"
#include "files/write_lock.h"
#include "settings/app_settings.h"

namespace velnora::cli {

// The program home, or nothing after a message on err.
std::optional<files::ProgramHome> OpenHome(std::ostream& err);

// Removes every "--wait" from the arguments; true when there was one.
bool TakeWaitOption(std::vector<std::string>& args);

// The program home with its write lock held, for a command that writes.
struct WritableHome {
    files::ProgramHome home;
    std::unique_ptr<files::WriteLock> lock;
};

// Opens the home and takes its write lock for the command (as others will name it: "velnora-cli
// check"); with wait, waits for the program that holds it (saying so on err). Nothing, after a
// message naming the holder or the reason, and with the exit status in *status (kExitLocked, or
// kExitNotDone when the home or the lock file cannot be used), when either cannot be had.
std::optional<WritableHome> OpenHomeForWriting(std::string_view command, bool wait,
                                               std::ostream& err, int* status);

// The settings of velnora.ini in the home (defaults when there is none). A velnora.ini that is
// refused (too large, no regular file) is named on err with the reason.
settings::AppSettings LoadSettings(const files::ProgramHome& home, std::ostream& err);

// A directory named on the command line (UTF-8) as the program's Shift_JIS path, without a
// separator at the end; nothing, after a message on err, when it is no directory or has no
// Shift_JIS name.
std::optional<std::string> PageDirectoryArgument(std::string_view argument, std::ostream& err);

// The file a command writes, named on the command line (UTF-8), as the program's Shift_JIS
// path in `path`, or nothing there for "-" (standard output). False, after a message on err,
// when the name has no Shift_JIS form.
bool OutputFileArgument(std::string_view file, std::optional<std::string>& path, std::ostream& err);

// Shift_JIS text for the terminal, as UTF-8. Control characters other than tab and line feed
// are shown escaped ("\x1b"), so that text from a page or a server cannot drive the terminal.
std::string ToTerminal(std::string_view sjis);

}  // namespace velnora::cli
