#pragma once

// The desktop's services, in place of the operating system's shell: opening an address with the
// system's handler or the user's browser, playing a sound, the trash and the clipboard.

#include <functional>
#include <string>
#include <string_view>

class QObject;

namespace velnora::desktop {

// Why a browser could not be started, for the message the window shows.
enum class LaunchResult { kStarted, kNoBrowser, kCannotStart, kTooLong };

// Runs the user's browser program with one argument, without a shell: the command is split
// into words as a shell would split it (quotes group words), environment variables ($NAME,
// ${NAME}, %NAME%) are expanded in the command only, never in the argument, and the program is
// started detached. The command line holds at most 3,619 bytes.
LaunchResult LaunchBrowser(std::string_view command, std::string_view argument);

// Opens an address with the desktop's handler ("xdg-open", else Qt's own choice). False when
// nothing could be started; a handler that starts and then fails (no application for the
// address) calls `failed` later, on the event loop, unless `context` is gone by then.
bool OpenWithSystem(std::string_view address, QObject* context, std::function<void()> failed);

// Plays a sound file, asynchronously (an external player; nothing when none is installed).
void PlaySoundFile(std::string_view file);

// Moves a file or a directory with everything in it to the desktop's trash, the home trash
// ($XDG_DATA_HOME/Trash) made first when it is missing. Fails, leaving the item where it was,
// when no trash takes it.
bool MoveToTrash(std::string_view path, std::string* error);

// Whether a path lies in the "files" directory of a trash: the home trash ("Trash") or the
// trash of another file system (".Trash/<uid>", ".Trash-<uid>").
bool IsInTrash(std::string_view disk_path);

// Puts text on the clipboard.
void CopyToClipboard(std::string_view sjis_text);

}  // namespace velnora::desktop
