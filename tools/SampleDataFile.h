#pragma once

// The sample data file: the sample project's KRV Definitions in the data file layout.
#include <QByteArray>
#include <QString>

namespace tools {

// The text of the sample data file whose definitions read the given sample workbook and template
// and write their output workbooks into outputFolder (ending in "/").
QByteArray SampleDataFileText(const QString& workbookPath, const QString& templatePath,
                              const QString& outputFolder);

} // namespace tools
