#pragma once

// Helpers the build-time workbook generators share: text conversion, colours, failure reports.
#include "engine/ReportCellStyle.h"

#include <QByteArray>
#include <QString>
#include <cstdio>
#include <stdexcept>
#include <xlsxwriter.h>

namespace tools {

// A failure of a generator; main prints it and exits with a non-zero status.
class Failure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Raises when a libxlsxwriter call failed.
inline void check(lxw_error error, const char* what) {
    if (error != LXW_NO_ERROR) {
        throw Failure(std::string(what) + ": " + lxw_strerror(error));
    }
}

// Keeps the UTF-8 bytes of a text alive for a libxlsxwriter call.
class Utf8 {
public:
    explicit Utf8(const QString& text) : bytes_(text.toUtf8()) {}
    operator const char*() const { return bytes_.constData(); }

private:
    QByteArray bytes_;
};

// The RGB colour of a Windows colour value (0x00BBGGRR, or a system colour 0xFF0000nn). Black is
// libxlsxwriter's explicit black, as its 0 means "no colour".
inline lxw_color_t rgbOf(TColor colour) {
    lxw_color_t rgb = 0;
    if ((colour & 0xFF000000u) != 0) {
        switch (colour & 0xFFu) {
        case 0x05: // window
            rgb = 0xFFFFFF;
            break;
        case 0x0F: // button face
            rgb = 0xF0F0F0;
            break;
        default: // window text and the other text colours
            rgb = 0x000000;
            break;
        }
    } else {
        rgb = ((colour & 0xFFu) << 16) | (colour & 0xFF00u) | ((colour >> 16) & 0xFFu);
    }
    return rgb == 0 ? static_cast<lxw_color_t>(LXW_COLOR_BLACK) : rgb;
}

} // namespace tools
