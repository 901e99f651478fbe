#include "model/ovDSM.h"

#include "model/ModelUtils.h"
#include "model/ovDV.h"
#include "model/ovSCO.h"
#include "platform/Format.h"
#include "services/IndexRange.h"
#include "services/TextIds.h"
#include "services/ovUIL.h"

using platform::Format;

void TovDSMx::Reset() {
    Name.clear();
    TaskFldXL.clear();
    TaskFldDescXL.clear();
    TaskFldRequired = false;
}

void TovDSMx::setName(const QString& value) {
    if (Name != value) {
        Name = value;
    }
}

QString TovDSMx::getTaskFldXL() const {
    return modelutil::UpperAZ(TrimControl(TaskFldXL));
}

void TovDSMx::setTaskFldXL(const QString& value) {
    if (value != TaskFldXL) {
        TaskFldXL = modelutil::UpperAZ(TrimControl(value));
    }
}

QString TovDSMx::getTaskFldDescXL() const {
    return TrimControl(TaskFldDescXL);
}

void TovDSMx::setTaskFldDescXL(const QString& value) {
    if (value != TaskFldDescXL) {
        TaskFldDescXL = modelutil::StoredText(value);
    }
}

void TovDSMx::setTaskFldRequired(bool value) {
    TaskFldRequired = value;
}

bool TovDSMx::Validate(int n) {
    bool changed = false;
    QString caption = Format(UIT(txt::TaskField_779), {Name});
    const QString field = getTaskFldXL();
    if (DV->CheckTextLength(caption, field, 3)) {
        DV->AddDFVErr(n, caption, DV->getMsgText());
        setTaskFldXL(modelutil::StrLeft(field, 3));
        changed = true;
    }
    caption = Format(UIT(txt::TaskFieldDescription_780), {Name});
    const QString description = getTaskFldDescXL();
    if (DV->CheckTextLength(caption, description, 255)) {
        DV->AddDFVErr(n, caption, DV->getMsgText());
        setTaskFldDescXL(modelutil::StrLeft(description, 255));
        changed = true;
    }
    return changed;
}

TDSMRequiredOptions TDSMRequiredOptions::Of(const TovSCO& options) {
    TDSMRequiredOptions o;
    o.Baseline = options.getGenerateBL() != 0;
    o.Actual = options.getGenerateACT() != 0;
    o.Target = options.getGenerateTGT() != 0;
    o.ManHours = options.getGraphMH() != 0;
    o.ManHoursExpendedToDate = options.getMHQty() == qtyExpendedToDate;
    o.Cost = options.getGraphCost() != 0;
    o.CostExpendedToDate = options.getCostQty() == qtyExpendedToDate;
    return o;
}

TovDSM::TovDSM() {
    for (auto& item : Items) {
        item = std::make_unique<TovDSMx>();
    }
    SetDefaults();
}

void TovDSM::SetDefaults() {
    for (int i = 1; i <= EntryCount; ++i) {
        Items[static_cast<size_t>(i)]->setName(UIT(780 + i));
    }
}

void TovDSM::Reset() {
    for (int i = 1; i <= EntryCount; ++i) {
        Items[static_cast<size_t>(i)]->Reset();
    }
    SetDefaults();
}

TovDSMx* TovDSM::getItems(int index) const {
    if (CheckIndexRange(index, 0, EntryCount, QStringLiteral("DSM.getItems"))) {
        return Items[0].get();
    }
    return Items[static_cast<size_t>(index)].get();
}

void TovDSM::SetDSMRequiredFields(const TDSMRequiredOptions& options) {
    bool required[EntryCount + 1] = {};
    if (options.Baseline) {
        required[1] = required[2] = true;
        required[3] = required[3] || options.ManHours;
        required[4] = required[4] || options.Cost;
    }
    if (options.Actual || options.Target) {
        required[5] = required[6] = true;
        required[7] = required[7] || options.ManHours;
        required[8] = required[8] || options.Cost;
    }
    if (options.Actual) {
        required[9] = true;
    }
    for (int i = 1; i <= EntryCount; ++i) {
        Items[static_cast<size_t>(i)]->setTaskFldRequired(required[i]);
    }
}

bool TovDSM::Validate(int n) {
    bool changed = false;
    for (int i = 1; i <= EntryCount; ++i) {
        changed = Items[static_cast<size_t>(i)]->Validate(n) || changed;
    }
    return changed;
}
