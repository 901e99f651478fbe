#include "ovProcess.h"

TovProcess* Process = nullptr;

void TovProcess::SetLineFormats(int stepCount) {
    if (stepCount < 10) {
        StepLineFormat = QStringLiteral(" [%.1d] %s ");
        SubLineFormat = QStringLiteral(" [-] %s ");
    } else if (stepCount >= 100 && stepCount <= 999) {
        StepLineFormat = QStringLiteral(" [%.3d] %s ");
        SubLineFormat = QStringLiteral(" [---] %s ");
    } else {
        StepLineFormat = QStringLiteral(" [%.2d] %s ");
        SubLineFormat = QStringLiteral(" [--] %s ");
    }
}
