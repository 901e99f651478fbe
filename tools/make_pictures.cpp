// Draws the pictures the windows show (the product banner and the maker's logo) and stores them
// as JPEG files in the program's data folder, where the windows read them.
#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QLinearGradient>
#include <QPainter>

#include <cstdio>

namespace {

QImage drawBanner() {
    QImage image(254, 45, QImage::Format_RGB32);
    QPainter p(&image);
    QLinearGradient gradient(0, 0, 254, 0);
    gradient.setColorAt(0, QColor(0x1f, 0x3a, 0x68));
    gradient.setColorAt(1, QColor(0x4a, 0x7d, 0xc0));
    p.fillRect(image.rect(), gradient);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0xf2, 0xb1, 0x34), 3));
    p.drawLine(10, 36, 40, 24);
    p.drawLine(40, 24, 60, 16);
    p.drawLine(60, 16, 80, 10);
    QFont font = p.font();
    font.setBold(true);
    font.setPixelSize(20);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRect(88, 0, 162, 45), Qt::AlignVCenter | Qt::AlignLeft,
               QStringLiteral("KRV Tessel"));
    return image;
}

QImage drawLogo() {
    QImage image(145, 37, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(0x4a, 0x7d, 0xc0));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QRect(4, 6, 25, 25));
    QFont font = p.font();
    font.setPixelSize(14);
    font.setItalic(true);
    p.setFont(font);
    p.setPen(QColor(0x1f, 0x3a, 0x68));
    p.drawText(QRect(34, 0, 111, 37), Qt::AlignVCenter | Qt::AlignLeft,
               QStringLiteral("Tarrow Studio"));
    return image;
}

bool save(const QImage& image, const QString& path) {
    QImageWriter writer(path, "jpeg");
    writer.setQuality(92);
    if (!writer.write(image)) {
        std::fprintf(stderr, "make_pictures: cannot write %s: %s\n", qPrintable(path),
                     qPrintable(writer.errorString()));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: make_pictures <folder>\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!QDir().mkpath(folder.path())) {
        std::fprintf(stderr, "make_pictures: cannot create %s\n", argv[1]);
        return 1;
    }
    const bool ok = save(drawBanner(), folder.filePath(QStringLiteral("Banner.jpg"))) &&
                    save(drawLogo(), folder.filePath(QStringLiteral("Logo.jpg")));
    return ok ? 0 : 1;
}
