#pragma once

#include "MainTab.h"

// The project details (Home) tab of the main window.
class TTab_PD : public TMainTabPage {
public:
    using TMainTabPage::TMainTabPage;
};
