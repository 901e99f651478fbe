#include "model/XLLimits.h"

#include "services/SheetLimits.h"

namespace {
IXLLimits* installedLimits = nullptr;
}

QString TovXLLimitsDefault::DefaultExtension() {
    return (Version >= 5 && Version <= 7) ? QStringLiteral("xlsx") : QStringLiteral("xls");
}

int TovXLLimitsDefault::MaxRows() {
    return SheetGrid(Version, FilePath).Rows;
}

int TovXLLimitsDefault::MaxColumns() {
    return SheetGrid(Version, FilePath).Columns;
}

int TovXLLimitsDefault::LettersToColumn(const QString& letters, int limit) {
    return ::LettersToColumn(letters, limit);
}

IXLLimits* XLLimits() {
    static TovXLLimitsDefault fallback;
    return installedLimits != nullptr ? installedLimits : &fallback;
}

void setXLLimits(IXLLimits* limits) {
    installedLimits = limits;
}
