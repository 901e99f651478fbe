#pragma once

// What the service windows use of the main window; tests install a fake.
class IMainWindow {
public:
    virtual ~IMainWindow() = default;
    // Brings the main window back to the front and restores it when it is minimised.
    virtual void RestoreFromMinimised() = 0;
};

// The main window once it exists (nullptr before and after), or a test's fake.
IMainWindow* MainWindow();
void setMainWindow(IMainWindow* window);

// Calls RestoreFromMinimised of the main window when there is one; the standard dialogue and the
// progress window do so first when they are shown.
void RestoreMainFromMinimised();
