#include "platform_ui/Jpeg.h"

#include <QBuffer>
#include <QImageWriter>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

QByteArray encode(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(95);
    EXPECT_TRUE(writer.write(image)) << writer.errorString().toStdString();
    return bytes;
}

// The picture with the size its frame header declares replaced; the scan data stays.
QByteArray withDeclaredSize(QByteArray jpeg, quint16 width, quint16 height) {
    for (qsizetype i = 2; i + 9 < jpeg.size(); ++i) {
        const auto marker = static_cast<unsigned char>(jpeg[i + 1]);
        if (static_cast<unsigned char>(jpeg[i]) == 0xFF && (marker == 0xC0 || marker == 0xC2)) {
            jpeg[i + 5] = static_cast<char>(height >> 8);
            jpeg[i + 6] = static_cast<char>(height & 0xFF);
            jpeg[i + 7] = static_cast<char>(width >> 8);
            jpeg[i + 8] = static_cast<char>(width & 0xFF);
            return jpeg;
        }
    }
    ADD_FAILURE() << "no frame header";
    return jpeg;
}

TEST(Jpeg, DecodesWhatAnEncoderWrote) {
    QImage image(40, 24, QImage::Format_RGB32);
    image.fill(QColor(0x1f, 0x3a, 0x68));
    QPainter(&image).fillRect(QRect(20, 0, 20, 24), QColor(0xf2, 0xb1, 0x34));
    const QImage decoded = platform::DecodeJpeg(encode(image));
    ASSERT_FALSE(decoded.isNull());
    EXPECT_EQ(decoded.size(), image.size());
    // JPEG is lossy: the colours come back close, not exact.
    for (const QPoint at : {QPoint(5, 12), QPoint(35, 12)}) {
        const QColor want = image.pixelColor(at);
        const QColor got = decoded.pixelColor(at);
        EXPECT_LE(std::abs(want.red() - got.red()), 6) << at.x();
        EXPECT_LE(std::abs(want.green() - got.green()), 6) << at.x();
        EXPECT_LE(std::abs(want.blue() - got.blue()), 6) << at.x();
    }
}

TEST(Jpeg, DamagedOrMissingPicturesGiveANullImage) {
    QImage image(16, 16, QImage::Format_RGB32);
    image.fill(Qt::white);
    const QByteArray good = encode(image);
    const QByteArray cases[] = {QByteArray(), QByteArray("not a picture"), good.left(40),
                                QByteArray("\xFF\xD8\xFF\xE0", 4) + QByteArray(200, '\x7f')};
    for (const QByteArray& data : cases) {
        EXPECT_TRUE(platform::DecodeJpeg(data).isNull()) << data.size();
    }
    EXPECT_TRUE(platform::LoadJpeg(QStringLiteral("/no/such/picture.jpg")).isNull());
}

TEST(Jpeg, AHugeDeclaredSizeIsRefusedBeforeAnythingIsAllocated) {
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(Qt::gray);
    const QByteArray small = encode(image);
    // 18758 x 65488 pixels would take 3.7 GB of RGB data.
    for (const QSize size : {QSize(18758, 65488), QSize(16385, 8), QSize(8000, 8000)}) {
        const QByteArray data = withDeclaredSize(small, static_cast<quint16>(size.width()),
                                                 static_cast<quint16>(size.height()));
        EXPECT_TRUE(platform::DecodeJpeg(data).isNull()) << size.width() << "x" << size.height();
    }
    // A picture the windows could show still decodes, the missing scan data made up as grey.
    EXPECT_EQ(platform::DecodeJpeg(withDeclaredSize(small, 640, 400)).size(), QSize(640, 400));
}

} // namespace
