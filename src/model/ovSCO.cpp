#include "model/ovSCO.h"

#include "model/ModelUtils.h"
#include "model/ovDV.h"
#include "services/TextIds.h"
#include "services/ovUIL.h"

#include <cmath>

namespace {

// The guarded byte setter: a stored value above the limit becomes 0 first; a value above the
// limit is refused (true); otherwise it is stored when it differs.
bool setGuarded(uint8_t& field, uint8_t value, uint8_t limit) {
    if (field > limit) {
        field = 0;
    }
    if (value > limit) {
        return true;
    }
    if (field != value) {
        field = value;
    }
    return false;
}

QString quantityText(uint8_t value) {
    if (value == qtyTaskTotal) {
        return UIT(txt::TaskTotal_775);
    }
    if (value == qtyExpendedToDate) {
        return UIT(txt::ExpendedToDate_776);
    }
    return QString();
}

} // namespace

TovSCO::TovSCO() {
    Init();
}

void TovSCO::Init() {
    GenerateBL = 0;
    GenerateACT = 0;
    CutOffDate = modelutil::ModelToday();
    GenerateTGT = 0;
    GraphMH = 0;
    MHQty = 0;
    GraphCost = 0;
    CostQty = 0;
}

void TovSCO::setGenerateBL(uint8_t value) {
    GenerateBL = value;
}
void TovSCO::setGenerateACT(uint8_t value) {
    GenerateACT = value;
}
void TovSCO::setGenerateTGT(uint8_t value) {
    GenerateTGT = value;
}
void TovSCO::setGraphMH(uint8_t value) {
    GraphMH = value;
}
void TovSCO::setGraphCost(uint8_t value) {
    GraphCost = value;
}
void TovSCO::setCutOffDate(double value) {
    CutOffDate = value;
}
bool TovSCO::setMHQty(uint8_t value) {
    return setGuarded(MHQty, value, 1);
}
bool TovSCO::setCostQty(uint8_t value) {
    return setGuarded(CostQty, value, 1);
}

QString TovSCO::getQuantityKeyword(uint8_t value) {
    return value == qtyExpendedToDate ? QStringLiteral("ExpendedToDate")
                                      : QStringLiteral("TaskTotal");
}

uint8_t TovSCO::getQuantityOfKeyword(const QString& keyword) {
    return modelutil::UpperAZ(TrimControl(keyword)) == QStringLiteral("EXPENDEDTODATE")
               ? qtyExpendedToDate
               : qtyTaskTotal;
}

QString TovSCO::getDataOptionsText() const {
    QStringList sets;
    if (GenerateBL != 0) {
        sets << UIT(txt::Baseline_760);
    }
    if (GenerateACT != 0) {
        sets << UIT(txt::Actual_761);
    }
    if (GenerateTGT != 0) {
        sets << UIT(txt::Target_762);
    }
    QString text = sets.join(QStringLiteral(", "));
    if (GenerateBL != 0 || GenerateTGT != 0) {
        text += QStringLiteral(", ") + UIT(txt::SCurves) + QStringLiteral(", ") +
                UIT(txt::Histograms) + QStringLiteral(" (");
        if (GenerateBL != 0) {
            text += UIT(txt::Baseline_765);
        }
        if (GenerateTGT != 0) {
            if (GenerateBL != 0) {
                text += QStringLiteral(", ");
            }
            text += UIT(txt::Target_766);
        }
        text += QLatin1Char(')');
    }
    return text;
}

QString TovSCO::getQuantityOptionsText() const {
    QString text;
    auto withQuantity = [](const QString& name, uint8_t quantity) {
        const QString q = quantityText(quantity);
        return q.isEmpty() ? name : name + QStringLiteral(" (") + q + QLatin1Char(')');
    };
    if (GraphMH != 0) {
        text = withQuantity(UIT(txt::ManHours_769), MHQty);
    }
    if (GraphCost != 0) {
        if (GraphMH != 0) {
            text += QStringLiteral(", ");
        }
        text += withQuantity(UIT(txt::Cost_772), CostQty);
    }
    return text;
}

bool TovSCO::Validate(int n) {
    bool changed = false;
    if (DV->CheckNoDataOption(GenerateBL, GenerateACT, GenerateTGT)) {
        // Quantities need a data set; clearing them lists nothing.
        if (GraphMH != 0 || GraphCost != 0) {
            GraphMH = 0;
            GraphCost = 0;
            changed = true;
        }
    }
    if (DV->CheckCutOffDate(CutOffDate)) {
        DV->AddDFVErr(n, UIT(txt::CutOffDate_767), DV->getMsgText());
        CutOffDate = modelutil::ModelToday();
        changed = true;
    }
    if (GenerateACT == 0) {
        // Expended To Date needs actual data.
        if (MHQty != 0) {
            ResetMHQty();
            changed = true;
        }
        if (CostQty != 0) {
            ResetCostQty();
            changed = true;
        }
    }
    return changed;
}
