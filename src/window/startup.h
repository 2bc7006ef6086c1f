#pragma once

// Start-up and shut-down of the window: one copy per program home (a second start raises the
// first copy's window and ends), the settings and the statistics, the main window, the event
// loop.

namespace velnora::window {

// Runs the program; returns its exit status.
int RunWindowProgram(int argc, char** argv);

}  // namespace velnora::window
