#pragma once

#include <QString>
#include <memory>

namespace platform {

enum class MessageBoxKind { Error, Warning, Information };

// The plain system message box: used only for fatal start-up errors, the busy second-instance
// notice, index range errors and registry load or save errors. It shows one OK button and waits.
class MessageBox {
public:
    virtual ~MessageBox() = default;
    virtual void show(MessageBoxKind kind, const QString& title, const QString& text) = 0;
};

// The message box in use: the desktop's once start-up installed it (InstallDesktopServices), a
// test's fake, or a silent one before either.
MessageBox& messageBox();
// Installs a box and returns the previous one; nullptr restores the silent default.
std::unique_ptr<MessageBox> setMessageBox(std::unique_ptr<MessageBox> box);

} // namespace platform
