#pragma once

#include "MainTab.h"

// The Data Source Filter tab of the main window.
class TTab_DSF : public TMainTabPage {
public:
    using TMainTabPage::TMainTabPage;
};
