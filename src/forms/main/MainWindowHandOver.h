#pragma once

#include "forms/main/HandOverOpen.h"

#include <QWidget>
#include <memory>

// Brings a window to the front and, when it is minimised, restores it to the state it was
// minimised from (maximised when it was, or when wasMaximised says so); waits for the desktop to
// report the restore for a bounded time only (some window systems never report it), and puts a
// maximised window's state right whenever the report comes.
void RestoreWindowFromMinimised(QWidget* window, bool wasMaximised = false);
void BringWindowToFront(QWidget* window);

// Whether another of the program's windows than the main window is the active one (the modal one
// first). When one is, the main window is restored from minimised and the window of
// WindowBroughtForward comes to the front.
bool OtherWindowActive(QWidget* main, const QWidget* browseFile);
// The window a refused hand-over brings to the front while active is the active window: none
// when no other window than the main window is active; the main window itself while the Browse
// File window (browseFile, may be null) is active; otherwise the active window.
QWidget* WindowBroughtForward(QWidget* main, const QWidget* browseFile, QWidget* active);

// Answers later starts of the program on behalf of the main window until the returned object is
// freed (before the main window and the data file go).
std::shared_ptr<void> ListenForHandOvers(IHandOverWindow& mainWindow);
