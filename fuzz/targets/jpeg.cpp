// The JPEG decoder of the pictures the windows show: any bytes give a picture or a null image.
#include "platform_ui/Jpeg.h"
#include "FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QImage image = platform::DecodeJpeg(fuzzsupport::bytes(data, size));
    fuzzsupport::check(image.isNull() || image.width() * image.height() <= 40'000'000,
                       "a picture beyond the size limit was decoded");
    return 0;
}
