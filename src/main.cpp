#include "forms/MainBlock.h"
#include "platform/MessageBox.h"
#include "platform_ui/Desktop.h"

#include <QApplication>
#include <exception>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    platform::InstallDesktopServices();
    try {
        return RunMainBlock();
    } catch (const std::exception& e) {
        platform::messageBox().show(platform::MessageBoxKind::Error, QString(),
                                    QString::fromUtf8(e.what()));
    } catch (...) {
        platform::messageBox().show(platform::MessageBoxKind::Error, QString(),
                                    QStringLiteral("An error has occurred."));
    }
    return 1;
}
