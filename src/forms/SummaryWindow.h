#pragma once

class TovSummaryGrid;

// The Summary window as the main window's Process command shows it after a successful run: it
// shows the run's Project Summary modally and returns the modal result it was closed with. The
// window implements it; tests install a fake.
class ISummaryWindow {
public:
    virtual ~ISummaryWindow() = default;
    virtual int ShowSummary(const TovSummaryGrid& summary) = 0;
};

// The Summary window in use (the window once start-up created it, or a test's fake).
ISummaryWindow* SummaryWindow();
void setSummaryWindow(ISummaryWindow* window);
