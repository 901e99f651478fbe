#include "Jpeg.h"

#include <QFile>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <jpeglib.h>

namespace platform {
namespace {

// libjpeg reports a fatal error through error_exit, which must not return: it jumps back to the
// decoding function. Only plain data lives in that function's frame, so nothing is skipped.
struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

void onError(j_common_ptr info) {
    ErrorManager* manager = reinterpret_cast<ErrorManager*>(info->err);
    std::longjmp(manager->jump, 1);
}

void onMessage(j_common_ptr) {
    // Warnings of damaged but readable data are not shown anywhere.
}

// The largest picture decoded: well above any picture the windows show, and far below what a
// damaged or hostile header may declare (65,500 x 65,500 pixels would take 12 GB).
constexpr unsigned long kMaxPixels = 40'000'000;
constexpr unsigned kMaxSide = 16384;

struct RawImage {
    unsigned char* pixels = nullptr; // width * height * 3 bytes, malloc'ed
    int width = 0;
    int height = 0;
};

bool decodeRaw(const unsigned char* data, unsigned long size, RawImage* out) {
    jpeg_decompress_struct info;
    ErrorManager errors;
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = onError;
    errors.base.output_message = onMessage;
    if (setjmp(errors.jump) != 0) {
        jpeg_destroy_decompress(&info);
        std::free(out->pixels);
        out->pixels = nullptr;
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data, size);
    jpeg_read_header(&info, TRUE);
    // Checked before decompression starts, which allocates buffers after the declared size.
    if (info.image_width > kMaxSide || info.image_height > kMaxSide ||
        static_cast<unsigned long>(info.image_width) * info.image_height > kMaxPixels) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    out->width = static_cast<int>(info.output_width);
    out->height = static_cast<int>(info.output_height);
    const size_t stride = static_cast<size_t>(out->width) * 3;
    out->pixels = static_cast<unsigned char*>(std::malloc(stride * info.output_height));
    if (out->pixels == nullptr) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = out->pixels + stride * info.output_scanline;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

} // namespace

QImage DecodeJpeg(const QByteArray& data) {
    if (data.size() < 4) {
        return {};
    }
    RawImage raw;
    if (!decodeRaw(reinterpret_cast<const unsigned char*>(data.constData()),
                   static_cast<unsigned long>(data.size()), &raw)) {
        return {};
    }
    QImage image(raw.width, raw.height, QImage::Format_RGB888);
    if (image.isNull()) {
        std::free(raw.pixels);
        return {};
    }
    const size_t stride = static_cast<size_t>(raw.width) * 3;
    for (int y = 0; y < raw.height; ++y) {
        std::memcpy(image.scanLine(y), raw.pixels + stride * static_cast<size_t>(y), stride);
    }
    std::free(raw.pixels);
    return image;
}

QImage LoadJpeg(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return DecodeJpeg(file.readAll());
}

} // namespace platform
