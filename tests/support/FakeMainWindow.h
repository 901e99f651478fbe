#pragma once

#include "services/MainWindow.h"

namespace testsupport {

// A main window installed for the lifetime of the fake; it counts RestoreFromMinimised calls.
class FakeMainWindow : public IMainWindow {
public:
    FakeMainWindow() : previous_(MainWindow()) { setMainWindow(this); }
    ~FakeMainWindow() override { setMainWindow(previous_); }

    int restores = 0;

    void RestoreFromMinimised() override { ++restores; }

private:
    IMainWindow* previous_;
};

} // namespace testsupport
