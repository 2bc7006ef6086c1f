#pragma once

// Start-up and shut-down of the window: one copy per program home (a second start raises the
// first copy's window and ends), the settings and the statistics, the main window, the event
// loop.

class QCoreApplication;
class QLocale;

namespace velnora::window {

// Loads Qt's own texts (the buttons of message boxes, the font, colour and file dialogs) in the
// locale's language from Qt's translations, when they are installed. True when they were.
bool InstallQtTranslations(QCoreApplication& application, const QLocale& locale);

// Runs the program; returns its exit status.
int RunWindowProgram(int argc, char** argv);

}  // namespace velnora::window
