#include "GridIndexCheck.h"

#include "platform/Format.h"
#include "platform/MessageBox.h"
#include "services/TextIds.h"
#include "services/ovUIL.h"

using platform::Format;

QString GridIndexMessage(int index, int low, int high, const QString& name) {
    auto framed = [](const QString& line) { return QLatin1Char(' ') + line + QLatin1Char(' '); };
    return framed(Format(UIT(txt::IndexIsInvalid), {name})) + QStringLiteral("\r\n") +
           framed(Format(UIT(txt::ValidRange_1421), {low, high})) + QStringLiteral("\r\n") +
           framed(Format(UIT(txt::IndexValue), {index}));
}

bool CheckGridIndex(int index, int low, int high, const char* name) {
    if (low <= index && index <= high) {
        return false;
    }
    platform::messageBox().show(platform::MessageBoxKind::Error, QString(),
                                GridIndexMessage(index, low, high, QString::fromLatin1(name)));
    return true;
}
