#include "model/XLLimits.h"

#include "model/ModelUtils.h"

namespace {
IXLLimits* installedLimits = nullptr;
}

QString TovXLLimitsDefault::DefaultExtension() {
    return (Version >= 5 && Version <= 7) ? QStringLiteral("xlsx") : QStringLiteral("xls");
}

bool TovXLLimitsDefault::IsSmallGrid() const {
    if (Version >= 1 && Version <= 4) {
        return true;
    }
    if (Version >= 5 && Version <= 7) {
        return modelutil::SameTextAZ(ExtractFileExtension(FilePath, false), QStringLiteral("xls"));
    }
    return false;
}

int TovXLLimitsDefault::MaxRows() {
    return IsSmallGrid() ? 65536 : 1048576;
}

int TovXLLimitsDefault::MaxColumns() {
    return IsSmallGrid() ? 256 : 16384;
}

int TovXLLimitsDefault::LettersToColumn(const QString& letters, int limit) {
    const QString upper = modelutil::UpperAZ(letters);
    if (upper.isEmpty() || upper.size() > 3) {
        return 0;
    }
    int value = 0;
    for (const QChar c : upper) {
        if (c < QLatin1Char('A') || c > QLatin1Char('Z')) {
            return 0;
        }
        value = value * 26 + (c.unicode() - 'A' + 1);
    }
    return value > limit ? 0 : value;
}

IXLLimits* XLLimits() {
    static TovXLLimitsDefault fallback;
    return installedLimits != nullptr ? installedLimits : &fallback;
}

void setXLLimits(IXLLimits* limits) {
    installedLimits = limits;
}
