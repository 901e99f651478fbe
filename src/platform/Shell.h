#pragma once

#include <QString>
#include <functional>
#include <memory>

namespace platform {

// The desktop shell: opens documents, folders and web addresses with their default programs and
// shows the folder picker. This base has no desktop (nothing opens, no folder is picked); start-up
// installs the desktop's (InstallDesktopServices) and tests install a scripted one.
class Shell {
public:
    // Told why the desktop could not open a target.
    using OpenFailed = std::function<void(const QString& reason)>;

    virtual ~Shell() = default;
    // Opens a local path or a web address ("http://", "https://", "mailto:") with its default
    // program. When the desktop cannot open it, failed is called with the reason: at once, or
    // later from the event loop when only the desktop's opener can tell; never when it opened.
    virtual void open(const QString& target, const OpenFailed& failed);
    // Shows the folder picker starting in the given folder; the chosen folder, or empty when the
    // user cancels.
    virtual QString pickFolder(const QString& title, const QString& startFolder);
};

// The shell in use.
Shell& shell();
// Installs a shell and returns the previous one; nullptr restores the base without a desktop.
std::unique_ptr<Shell> setShell(std::unique_ptr<Shell> replacement);

// The user's Desktop and Documents folders, empty when the desktop does not tell.
QString desktopLocation();
QString documentsLocation();

} // namespace platform
