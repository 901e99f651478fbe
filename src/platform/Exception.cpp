#include "Exception.h"

namespace platform {

const char* Exception::what() const noexcept {
    try {
        if (utf8_.empty()) {
            utf8_ = message_.toStdString();
        }
        return utf8_.c_str();
    } catch (...) {
        return "platform::Exception";
    }
}

void RaiseLines(const QStringList& lines) {
    throw Exception(lines.join(QStringLiteral("\r\n")));
}

} // namespace platform
