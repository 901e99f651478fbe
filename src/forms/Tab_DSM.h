#pragma once

#include "MainTab.h"

// The Data Source Map tab of the main window.
class TTab_DSM : public TMainTabPage {
public:
    using TMainTabPage::TMainTabPage;
};
