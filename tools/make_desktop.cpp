// Writes the program's place on the desktop into a share folder laid out as the XDG data folders:
// the desktop entry (applications/), the shared-mime-info package of the data file types
// (mime/packages/) and the program's icon (icons/hicolor/<size>/apps/). The entry and the package
// are the same texts the Options window registers for the user.
//
// Usage: make_desktop <share folder> <program path>
#include "services/DataFileTypes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QSaveFile>

#include <cstdio>

namespace {

// An S curve over a rising bar chart on a rounded blue square.
QImage drawIcon(int size) {
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x1f, 0x3a, 0x68));
    p.drawRoundedRect(QRectF(2, 2, 60, 60), 10, 10);
    p.setBrush(QColor(0x4a, 0x7d, 0xc0));
    const double bars[] = {6, 14, 22, 18, 10, 5};
    for (int i = 0; i < 6; ++i) {
        p.drawRect(QRectF(10 + i * 7.5, 54 - bars[i], 5.5, bars[i]));
    }
    QPainterPath curve(QPointF(9, 53));
    curve.cubicTo(QPointF(30, 53), QPointF(32, 12), QPointF(55, 11));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0xf2, 0xb1, 0x34), 4, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(curve);
    return image;
}

bool writeText(const QString& path, const QString& text) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    const QByteArray bytes = text.toUtf8();
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        std::fprintf(stderr, "make_desktop: cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

bool writeIcon(const QDir& share, int size) {
    const QString path = share.filePath(
        QStringLiteral("icons/hicolor/%1x%1/apps/%2.png").arg(size).arg(QLatin1String(kIconName)));
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (!drawIcon(size).save(path, "PNG")) {
        std::fprintf(stderr, "make_desktop: cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const QStringList args = application.arguments().mid(1);
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: make_desktop <share folder> <program path>\n");
        return 2;
    }
    const QDir share(args[0]);
    const bool ok =
        writeText(share.filePath(QStringLiteral("applications/ovik-krv-tessel.desktop")),
                  DesktopEntry(args[1])) &&
        writeText(share.filePath(QStringLiteral("mime/packages/ovik-krv-tessel.xml")),
                  DataFileMimePackage()) &&
        writeIcon(share, 48) && writeIcon(share, 256);
    return ok ? 0 : 1;
}
