#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

namespace platform {

// Decodes JPEG data with libjpeg's decompression interface into an RGB image; a null image
// when the data is not a JPEG picture it can read, or declares more than 16384 pixels on a side
// or 40 million pixels in all.
QImage DecodeJpeg(const QByteArray& data);

// The JPEG picture in a file; a null image when the file is missing or unreadable.
QImage LoadJpeg(const QString& path);

} // namespace platform
