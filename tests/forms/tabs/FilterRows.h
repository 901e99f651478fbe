#pragma once

#include "forms/tabs/FilterGridModel.h"

#include <QStringList>

namespace formstest {

// The filter's rows written "And/Or|Task Field|Description|Operator|Value", trailing empty rows
// left out.
inline QStringList FilterRows(const TFilterGridModel& m) {
    QStringList rows;
    for (int r = 1; r <= TFilterGridModel::RowCount; ++r) {
        QStringList cells;
        for (int c = 1; c <= TFilterGridModel::ColCount; ++c) {
            cells << m.text(c, r);
        }
        rows << cells.join(QLatin1Char('|'));
    }
    while (!rows.isEmpty() && rows.last() == QStringLiteral("||||")) {
        rows.removeLast();
    }
    return rows;
}

} // namespace formstest
