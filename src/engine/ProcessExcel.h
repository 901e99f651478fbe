#pragma once

#include <QString>

class TovXL;

namespace engine {

// The Excel layer that the run's stages and the imports work through; raises "Unable to
// initialise XL." when start-up has not created it.
TovXL& xl();

// The pattern of the failure lines that name a workbook or worksheet: "caption: path or name".
inline const QString kPair = QStringLiteral("%s: %s");

} // namespace engine
