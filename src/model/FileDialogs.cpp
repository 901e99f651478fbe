#include "FileDialogs.h"

#include "services/ShellUtils.h"

#include <QDir>
#include <QFileInfo>

QString DialogFallbackFolder() {
    const QString documents = DocumentsFolder();
    if (!documents.isEmpty() && QFileInfo(documents).isDir()) {
        return documents;
    }
    return QDir::homePath();
}
