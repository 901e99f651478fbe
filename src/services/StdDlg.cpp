#include "StdDlg.h"

namespace {
IStdDlg* currentDialogue = nullptr;
}

IStdDlg* StdDlg() {
    return currentDialogue;
}

void setStdDlg(IStdDlg* dialogue) {
    currentDialogue = dialogue;
}
