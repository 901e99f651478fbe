#pragma once

#include "forms/SummaryWindow.h"
#include "services/StdDlg.h"

namespace testsupport {

// A scripted Summary window: records each summary it is asked to show and answers as Close does,
// without showing anything.
class FakeSummaryWindow : public ISummaryWindow {
public:
    FakeSummaryWindow() : previous_(SummaryWindow()) { setSummaryWindow(this); }
    ~FakeSummaryWindow() override { setSummaryWindow(previous_); }
    FakeSummaryWindow(const FakeSummaryWindow&) = delete;
    FakeSummaryWindow& operator=(const FakeSummaryWindow&) = delete;

    int shows = 0;
    const TovSummaryGrid* lastSummary = nullptr;
    int answer = mrClose;

    int ShowSummary(const TovSummaryGrid& summary) override {
        ++shows;
        lastSummary = &summary;
        return answer;
    }

private:
    ISummaryWindow* previous_;
};

} // namespace testsupport
