#pragma once

#include "MainTab.h"

// The S Curve Files tab of the main window.
class TTab_SCF : public TMainTabPage {
public:
    using TMainTabPage::TMainTabPage;
};
