#include "ColorValue.h"

namespace platform {

namespace {

// Classic desktop defaults of the system colours, 0xRRGGBB (COLOR_SCROLLBAR = 0 ..
// COLOR_MENUBAR = 30).
constexpr quint32 kSystemColors[31] = {
    0xC8C8C8, 0x000000, 0x99B4D1, 0xBFCDDB, 0xF0F0F0, 0xFFFFFF, 0x646464, 0x000000,
    0x000000, 0x000000, 0xB4B4B4, 0xF4F7FC, 0xABABAB, 0x3399FF, 0xFFFFFF, 0xF0F0F0,
    0xA0A0A0, 0x6D6D6D, 0x000000, 0x434E54, 0xFFFFFF, 0x696969, 0xE3E3E3, 0x000000,
    0xFFFFE1, 0x000000, 0x0066CC, 0xB9D1EA, 0xD7E4F2, 0x3399FF, 0xF0F0F0};

} // namespace

int systemColorIndex(TColor value) {
    if ((value & 0xFFFFFF00u) == 0xFF000000u && (value & 0xFFu) <= 30) {
        return static_cast<int>(value & 0xFFu);
    }
    return -1;
}

bool isSystemColor(TColor value) {
    return systemColorIndex(value) >= 0;
}

bool isValidColor(TColor value) {
    return (value & 0xFF000000u) == 0 || isSystemColor(value);
}

quint32 colorToArgb(TColor value) {
    quint32 rgb = 0;
    if ((value & 0xFF000000u) == 0) {
        const quint32 r = value & 0xFFu, g = (value >> 8) & 0xFFu, b = (value >> 16) & 0xFFu;
        rgb = (r << 16) | (g << 8) | b;
    } else if (const int index = systemColorIndex(value); index >= 0) {
        rgb = kSystemColors[index];
    }
    return 0xFF000000u | rgb;
}

} // namespace platform
