#include "MessageBox.h"

#include <QApplication>
#include <QMessageBox>

namespace platform {
namespace {

class QtMessageBox : public MessageBox {
public:
    void show(MessageBoxKind kind, const QString& title, const QString& text) override {
        QMessageBox::Icon icon = QMessageBox::Critical;
        if (kind == MessageBoxKind::Warning) {
            icon = QMessageBox::Warning;
        } else if (kind == MessageBoxKind::Information) {
            icon = QMessageBox::Information;
        }
        QString caption = title.isEmpty() ? QApplication::applicationName() : title;
        QMessageBox box(icon, caption, text, QMessageBox::Ok);
        box.exec();
    }
};

std::unique_ptr<MessageBox>& current() {
    static std::unique_ptr<MessageBox> box;
    return box;
}

} // namespace

MessageBox& messageBox() {
    auto& box = current();
    if (!box) {
        box = std::make_unique<QtMessageBox>();
    }
    return *box;
}

std::unique_ptr<MessageBox> setMessageBox(std::unique_ptr<MessageBox> box) {
    auto previous = std::move(current());
    current() = std::move(box);
    return previous;
}

} // namespace platform
