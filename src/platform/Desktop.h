#pragma once

namespace platform {

// Installs the desktop's message box (QMessageBox) and shell (QDesktopServices and the folder
// dialogue) in place of the window-less defaults; the program does so as it starts.
void InstallDesktopServices();

} // namespace platform
