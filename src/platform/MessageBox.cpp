#include "MessageBox.h"

namespace platform {
namespace {

// Used until start-up installs the desktop's box: a program without windows has no one to tell.
class SilentMessageBox : public MessageBox {
public:
    void show(MessageBoxKind, const QString&, const QString&) override {}
};

std::unique_ptr<MessageBox>& current() {
    static std::unique_ptr<MessageBox> box;
    return box;
}

} // namespace

MessageBox& messageBox() {
    auto& box = current();
    if (!box) {
        box = std::make_unique<SilentMessageBox>();
    }
    return *box;
}

std::unique_ptr<MessageBox> setMessageBox(std::unique_ptr<MessageBox> box) {
    auto previous = std::move(current());
    current() = std::move(box);
    return previous;
}

} // namespace platform
