#pragma once

#include "platform/MessageBox.h"

#include <QString>
#include <vector>

namespace testsupport {

struct ShownMessage {
    platform::MessageBoxKind kind;
    QString title;
    QString text;
};

// Records every plain message box instead of showing it; installed for every test.
class FakeMessageBox : public platform::MessageBox {
public:
    void show(platform::MessageBoxKind kind, const QString& title, const QString& text) override {
        shown.push_back({kind, title, text});
    }
    std::vector<ShownMessage> shown;
};

// The fake installed for the running test; emptied before each test.
FakeMessageBox& messageBoxes();

} // namespace testsupport
