#include "PrivateClipboard.h"

namespace platform {
namespace {
QString& stored() {
    static QString text;
    return text;
}
} // namespace

void PrivateClipboard::setText(const QString& text) {
    stored() = text;
}

QString PrivateClipboard::text() {
    return stored();
}

void PrivateClipboard::clear() {
    stored().clear();
}

} // namespace platform
