#include "IndexRange.h"

#include "ovUIL.h"
#include "platform/Format.h"
#include "platform/MessageBox.h"
#include "services/TextIds.h"

using platform::Format;

QString IndexRangeMessage(int Index, int Low, int High, const QString& Name) {
    return Format(UIT(txt::IndexIsInvalid), {Name}) + QStringLiteral("\r\n\r\n") +
           Format(UIT(txt::ValidRange_1421), {Low, High}) + QStringLiteral("\r\n\r\n") +
           Format(UIT(txt::IndexValue), {Index});
}

bool CheckIndexRange(int Index, int Low, int High, const QString& Name) {
    if (Low <= Index && Index <= High) {
        return false;
    }
    platform::messageBox().show(platform::MessageBoxKind::Error, QString(),
                                IndexRangeMessage(Index, Low, High, Name));
    return true;
}
