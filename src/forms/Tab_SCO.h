#pragma once

#include "MainTab.h"

// The S Curve Options tab of the main window.
class TTab_SCO : public TMainTabPage {
public:
    using TMainTabPage::TMainTabPage;
};
