#pragma once

#include <QString>

namespace tools {

// Completes the charts libxlsxwriter wrote into a package: blank cells are shown as gaps, and the
// category axis of every line and column chart becomes a date axis counted in days.
void FixUpChartXml(const QString& package);

// The same changes on the text of one chart part.
QString FixedChartXml(QString xml);

} // namespace tools
