#pragma once

#include "forms/main/MainDialogs.h"

#include <memory>

// The windows and services of the program behind the main window's interfaces: each reaches
// its window's global (UF_Summary, UF_CfgErr, ...) when it is called, since those windows are
// created after the main window.
class TProgramDialogs {
public:
    TProgramDialogs();
    ~TProgramDialogs();
    TProgramDialogs(const TProgramDialogs&) = delete;
    TProgramDialogs& operator=(const TProgramDialogs&) = delete;

    const TMainDialogs& dialogs() const { return Dialogs; }

private:
    struct TImpl;
    std::unique_ptr<TImpl> Impl;
    TMainDialogs Dialogs;
};
