#include "support/FakeMessageBox.h"

namespace testsupport {

FakeMessageBox& messageBoxes() {
    static FakeMessageBox* box = [] {
        auto owned = std::make_unique<FakeMessageBox>();
        FakeMessageBox* raw = owned.get();
        platform::setMessageBox(std::move(owned));
        return raw;
    }();
    return *box;
}

} // namespace testsupport
