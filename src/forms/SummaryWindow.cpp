#include "SummaryWindow.h"

namespace {
ISummaryWindow* current = nullptr;
}

ISummaryWindow* SummaryWindow() {
    return current;
}

void setSummaryWindow(ISummaryWindow* window) {
    current = window;
}
