#pragma once

#include <memory>

namespace platform {

class Shell;

// Installs the desktop's message box (QMessageBox) and shell (the desktop's opener and the folder
// dialogue) in place of the window-less defaults; the program does so as it starts.
void InstallDesktopServices();

// The desktop's shell. Files and web addresses open through the desktop's opener, xdg-open (of
// xdg-utils), found on the PATH when asked, which hands them to the program the desktop has for
// them. Its exit status is the desktop's answer: a failure is told with its reason once the
// opener ends, when it ends within OpenerAnswerMs. An opener still running then has started the
// program itself (a desktop without its own opener service runs the program in the opener's
// place) and is left to run.
std::unique_ptr<Shell> MakeDesktopShell();
inline constexpr int OpenerAnswerMs = 10000;

} // namespace platform
