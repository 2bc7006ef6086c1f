#pragma once

// The desktop's services, in place of the operating system's shell: opening an address with the
// system's handler or the user's browser, playing a sound, the trash and the clipboard.

#include <string>
#include <string_view>

namespace velnora::desktop {

// Why a browser could not be started, for the message the window shows.
enum class LaunchResult { kStarted, kNoBrowser, kCannotStart, kTooLong };

// Runs the user's browser program with one argument, without a shell: the command is split
// into words as a shell would split it (quotes group words), environment variables ($NAME,
// ${NAME}, %NAME%) are expanded in the command only, never in the argument, and the program is
// started detached. The command line holds at most 3,619 bytes.
LaunchResult LaunchBrowser(std::string_view command, std::string_view argument);

// Opens an address with the system's default handler.
bool OpenWithSystem(std::string_view address);

// Plays a sound file, asynchronously (an external player; nothing when none is installed).
void PlaySoundFile(std::string_view file);

// Moves a file or a directory with everything in it to the desktop's trash.
bool MoveToTrash(std::string_view path, std::string* error);

// Puts text on the clipboard.
void CopyToClipboard(std::string_view sjis_text);

}  // namespace velnora::desktop
