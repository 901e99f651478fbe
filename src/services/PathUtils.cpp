#include "PathUtils.h"

#include <QDir>

namespace {

qsizetype lastSeparator(const QString& path) {
    return path.lastIndexOf(QLatin1Char('/'));
}

// The position of the extension's dot in the file name part, or -1.
qsizetype extensionDot(const QString& path) {
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    return dot > lastSeparator(path) ? dot : -1;
}

} // namespace

QString ExtractFilePath(const QString& path) {
    return path.left(lastSeparator(path) + 1).trimmed();
}

QString ExtractFileName(const QString& path) {
    return path.mid(lastSeparator(path) + 1);
}

QString ExtractPathWithoutDrive(const QString& path) {
    return ExtractFilePath(path);
}

QString ExtractFileNameWithoutExt(const QString& path) {
    QString name = ExtractFileName(path.trimmed());
    const qsizetype dot = extensionDot(name);
    if (dot >= 0) {
        name.truncate(dot);
    }
    return name.trimmed();
}

QString ExtractFileExtension(const QString& fileName, bool withDot) {
    const qsizetype dot = extensionDot(fileName);
    if (dot < 0) {
        return {};
    }
    if (withDot) {
        return fileName.mid(dot).trimmed();
    }
    return fileName.mid(dot + 1, 260).trimmed();
}

QString AbsolutePathFrom(const QString& base, const QString& path) {
    if (path.isEmpty()) {
        return {};
    }
    return QDir::cleanPath(QDir(base).absoluteFilePath(path));
}
