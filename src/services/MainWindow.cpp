#include "MainWindow.h"

namespace {
IMainWindow* currentMain = nullptr;
} // namespace

IMainWindow* MainWindow() {
    return currentMain;
}

void setMainWindow(IMainWindow* window) {
    currentMain = window;
}

void RestoreMainFromMinimised() {
    if (currentMain != nullptr) {
        currentMain->RestoreFromMinimised();
    }
}
