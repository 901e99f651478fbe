#include "IndexRange.h"

#include "ovUIL.h"
#include "platform/Format.h"
#include "platform/MessageBox.h"

using platform::Format;

QString IndexRangeMessage(int Index, int Low, int High, const QString& Name) {
    return Format(UIT(1420), {Name}) + QStringLiteral("\r\n\r\n") + Format(UIT(1421), {Low, High}) +
           QStringLiteral("\r\n\r\n") + Format(UIT(1422), {Index});
}

bool CheckIndexRange(int Index, int Low, int High, const QString& Name) {
    if (Low <= Index && Index <= High) {
        return false;
    }
    platform::messageBox().show(platform::MessageBoxKind::Error, QString(),
                                IndexRangeMessage(Index, Low, High, Name));
    return true;
}
