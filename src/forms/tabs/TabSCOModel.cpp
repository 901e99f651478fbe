#include "forms/tabs/TabSCOModel.h"

#include "model/ovDSM.h"
#include "model/ovDV.h"
#include "model/ovSCO.h"
#include "model/ovSD.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kItemTaskTotal = 0;
constexpr int kItemExpendedToDate = 1;

// A flag of the options set to the box's state; stored flags other than 0 read as checked, so
// they are only rewritten when the box says otherwise.
bool storeFlag(uint8_t stored, bool checked, void (TovSCO::*set)(uint8_t), TovSCO& options) {
    if ((stored != 0) == checked) {
        return false;
    }
    (options.*set)(checked ? 1 : 0);
    return true;
}

bool storeQuantity(uint8_t stored, int item, bool (TovSCO::*set)(uint8_t), TovSCO& options) {
    const uint8_t quantity = item == kItemExpendedToDate ? qtyExpendedToDate : qtyTaskTotal;
    if (stored == quantity) {
        return false;
    }
    (options.*set)(quantity);
    return true;
}

} // namespace

QString TSCOPreviewPicture::Name() const {
    switch (kind) {
    case Kind::Disabled:
        return QStringLiteral("Disabled");
    case Kind::Blank:
        return QStringLiteral("Blank");
    case Kind::Curves:
        break;
    }
    QString name;
    if (Baseline) {
        name += QLatin1Char('B');
    }
    if (Actual) {
        name += QLatin1Char('A');
    }
    if (Target) {
        name += QLatin1Char('T');
    }
    if (Dimmed) {
        name += QStringLiteral("_D");
    }
    return name;
}

namespace scotab {

int PreviewCode(bool definitionsExist, const TSCOValues& values) {
    return (definitionsExist ? 1 : 0) + (values.GenerateBL ? 2 : 0) + (values.GenerateACT ? 4 : 0) +
           (values.GenerateTGT ? 8 : 0) + (values.GraphMH || values.GraphCost ? 16 : 0);
}

TSCOPreviewPicture PreviewPictureOf(int code) {
    TSCOPreviewPicture picture;
    // Only odd codes belong to a definition; 17 graphs a quantity of no data set.
    if (code < 1 || code > 31 || code % 2 == 0 || code == 17) {
        return picture;
    }
    if (code == 1) {
        picture.kind = TSCOPreviewPicture::Kind::Blank;
        return picture;
    }
    picture.kind = TSCOPreviewPicture::Kind::Curves;
    picture.Baseline = (code & 2) != 0;
    picture.Actual = (code & 4) != 0;
    picture.Target = (code & 8) != 0;
    picture.Dimmed = (code & 16) == 0;
    return picture;
}

TSCOAxisLabel AxisLabelOf(TSCOPreviewKind kind, bool manHours, bool cost) {
    // S curve titles are texts 138..141, histogram titles 149..152, in this order.
    const int first = kind == TSCOPreviewKind::SCurve ? 138 : 149;
    if (!manHours && !cost) {
        return {first, clMaroon};
    }
    const int offset = manHours && cost ? 3 : (manHours ? 1 : 2);
    return {first + offset, clWindowText};
}

TSCOAxisLabel InactiveAxisLabel(TSCOPreviewKind kind) {
    return AxisLabelOf(kind, false, false);
}

TSCOValues ClearedValues(double today) {
    TSCOValues values;
    values.CutOffDate = static_cast<int>(std::floor(today));
    return values;
}

TSCOValues LoadedValues(const TovSCO& options) {
    TSCOValues values;
    values.GenerateBL = options.getGenerateBL() != 0;
    values.GenerateACT = options.getGenerateACT() != 0;
    values.GenerateTGT = options.getGenerateTGT() != 0;
    const double day = std::clamp(std::floor(options.getCutOffDate()), TovSCO::MinCutOffDate,
                                  std::floor(TovSCO::MaxCutOffDate));
    values.CutOffDate = static_cast<int>(day);
    values.GraphMH = options.getGraphMH() != 0;
    values.MHQtyItem =
        options.getMHQty() == qtyExpendedToDate ? kItemExpendedToDate : kItemTaskTotal;
    values.GraphCost = options.getGraphCost() != 0;
    values.CostQtyItem =
        options.getCostQty() == qtyExpendedToDate ? kItemExpendedToDate : kItemTaskTotal;
    return values;
}

TSCOValues Settled(const TSCOValues& values) {
    TSCOValues settled = values;
    if (!settled.AnyData()) {
        settled.GraphMH = false;
        settled.GraphCost = false;
    }
    if (!settled.GenerateACT) {
        // Expended To Date needs actual data.
        settled.MHQtyItem = kItemTaskTotal;
        settled.CostQtyItem = kItemTaskTotal;
    }
    return settled;
}

bool Store(const TSCOValues& values, TovSD& definition) {
    TovSCO& options = *definition.SCO;
    bool changed = false;
    changed |=
        storeFlag(options.getGenerateBL(), values.GenerateBL, &TovSCO::setGenerateBL, options);
    changed |=
        storeFlag(options.getGenerateACT(), values.GenerateACT, &TovSCO::setGenerateACT, options);
    changed |=
        storeFlag(options.getGenerateTGT(), values.GenerateTGT, &TovSCO::setGenerateTGT, options);
    if (options.getCutOffDate() != values.CutOffDate) {
        options.setCutOffDate(values.CutOffDate);
        changed = true;
    }
    changed |= storeFlag(options.getGraphMH(), values.GraphMH, &TovSCO::setGraphMH, options);
    changed |= storeQuantity(options.getMHQty(), values.MHQtyItem, &TovSCO::setMHQty, options);
    changed |= storeFlag(options.getGraphCost(), values.GraphCost, &TovSCO::setGraphCost, options);
    changed |=
        storeQuantity(options.getCostQty(), values.CostQtyItem, &TovSCO::setCostQty, options);
    definition.DSM->SetDSMRequiredFields(TDSMRequiredOptions::Of(options));
    return changed;
}

TSCOControlStates ControlStatesOf(const TSCOValues& values, bool tabEnabled,
                                  bool definitionsExist) {
    TSCOControlStates states;
    states.GenerateEnabled = tabEnabled;
    const bool anyData = tabEnabled && values.AnyData();
    states.CutOffDateEnabled = anyData;
    states.GraphEnabled = anyData;
    states.MHQtyEnabled = anyData && values.GenerateACT && values.GraphMH;
    states.CostQtyEnabled = anyData && values.GenerateACT && values.GraphCost;
    for (const TSCOPreviewKind kind : {TSCOPreviewKind::SCurve, TSCOPreviewKind::Histogram}) {
        TSCOPreviewState& preview =
            kind == TSCOPreviewKind::SCurve ? states.SCurve : states.Histogram;
        preview.Active = anyData;
        if (anyData) {
            preview.Code = PreviewCode(definitionsExist, values);
            preview.Axis = AxisLabelOf(kind, values.GraphMH, values.GraphCost);
            preview.Legend = {values.GenerateBL, values.GenerateACT, values.GenerateTGT,
                              values.GenerateACT};
        } else {
            preview.Code = definitionsExist ? 1 : 0;
            preview.Axis = InactiveAxisLabel(kind);
        }
    }
    return states;
}

TSCOStatus Validate(const TSCOValues& values, TovDV& validator) {
    TSCOStatus status;
    const bool noDataOption =
        validator.CheckNoDataOption(values.GenerateBL, values.GenerateACT, values.GenerateTGT);
    status.DataOptionsError = noDataOption;
    status.DataOptionsHint = noDataOption ? validator.getHintText() : QString();
    status.QuantityOptionsError =
        validator.CheckNoQuantity(noDataOption, values.GraphMH, values.GraphCost);
    status.QuantityOptionsHint = status.QuantityOptionsError ? validator.getHintText() : QString();
    return status;
}

TSCOField FieldOfLabel(int fieldId) {
    switch (fieldId) {
    case 759:
        return TSCOField::GenerateBL;
    case 767:
        return TSCOField::CutOffDate;
    case 768:
        return TSCOField::GraphMH;
    case 770:
        return TSCOField::MHQty;
    case 773:
        return TSCOField::CostQty;
    default:
        return TSCOField::None;
    }
}

int LegendTextId(TSCOPreviewKind kind, TSCOLegendEntry entry) {
    return (kind == TSCOPreviewKind::SCurve ? 144 : 155) + static_cast<int>(entry);
}

} // namespace scotab

void TSCOTabState::Enable(bool flag, double today) {
    Enabled = flag;
    if (!flag) {
        Clear(today);
    }
}

void TSCOTabState::Load(const TovSCO& options) {
    if (Enabled) {
        Values = scotab::LoadedValues(options);
    }
}

void TSCOTabState::Refresh() {
    if (Enabled) {
        Values = scotab::Settled(Values);
    }
}

bool TSCOTabState::Store(TovSD& definition) const {
    return Enabled && scotab::Store(Values, definition);
}

bool TSCOTabState::Edit(const TSCOValues& edited) {
    if (!Enabled) {
        return false;
    }
    const TSCOValues settled = scotab::Settled(edited);
    if (settled == Values) {
        return false;
    }
    Values = settled;
    return true;
}
