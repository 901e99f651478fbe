#include "model/ErrorLists.h"
#include "model/ModelUtils.h"
#include "model/ovDV.h"
#include "model/ovSD.h"
#include "platform/Format.h"
#include "services/IndexRange.h"
#include "services/TextIds.h"
#include "services/ovUIL.h"

#include <QHash>

using platform::Format;

TovSDs* SDs = nullptr;

TovSDs::TovSDs() {
    Items.push_back(std::make_unique<TovSD>());
    ResetActiveSD();
}

TovSDs::~TovSDs() {
    while (!Items.empty()) {
        Items.pop_back();
    }
}

void TovSDs::setActiveSD(int index) {
    if (CheckIndexRange(index, 0, getCount(), QStringLiteral("SDs.setActiveSD"))) {
        index = 0;
    }
    ActiveSD = index;
}

TovSD* TovSDs::getItems(int index) const {
    if (CheckIndexRange(index, 0, getCount(), QStringLiteral("SDs.getItems"))) {
        return Items[0].get();
    }
    return Items[static_cast<size_t>(index)].get();
}

void TovSDs::Clear() {
    while (!Items.empty()) {
        Items.pop_back();
    }
    Items.push_back(std::make_unique<TovSD>());
    ActiveSD = 0;
}

void TovSDs::ResetAllCaches() {
    for (auto& item : Items) {
        item->ResetCaches();
    }
}

int TovSDs::Add() {
    Items.push_back(std::make_unique<TovSD>());
    ResetAllCaches();
    return getCount();
}

void TovSDs::CopySettings(const TovSD& src, TovSD& dst) {
    dst.setDescription(src.getDescription());

    dst.PD->setProjectTitle(src.PD->getProjectTitle());
    dst.PD->setProjectNumber(src.PD->getProjectNumber());
    dst.PD->setProjectClient(src.PD->getProjectClient());

    const TovSCF& sf = *src.SCF;
    TovSCF& df = *dst.SCF;
    df.setDSF_DrivePathFilenameExtnXL(sf.getDSF_DrivePathFilenameExtnXL());
    df.setDSF_OpenPasswordXL(sf.getDSF_OpenPasswordXL());
    df.setDSF_TaskWS(sf.getDSF_TaskWS());
    df.setDSF_THR(sf.getDSF_THR());
    df.setTF_DrivePathFilenameExtnXL(sf.getTF_DrivePathFilenameExtnXL());
    df.setTF_OpenPasswordXL(sf.getTF_OpenPasswordXL());
    df.setTF_ProjectSummaryWS(sf.getTF_ProjectSummaryWS());
    df.setTF_ChartDataWS(sf.getTF_ChartDataWS());
    df.setOF_DrivePathFilenameExtnXL(sf.getOF_DrivePathFilenameExtnXL());

    const TovSCO& so = *src.SCO;
    TovSCO& dop = *dst.SCO;
    dop.setGenerateBL(so.getGenerateBL());
    dop.setGenerateACT(so.getGenerateACT());
    dop.setGenerateTGT(so.getGenerateTGT());
    dop.setCutOffDate(so.getCutOffDate());
    dop.setGraphMH(so.getGraphMH());
    dop.setMHQty(so.getMHQty());
    dop.setGraphCost(so.getGraphCost());
    dop.setCostQty(so.getCostQty());

    for (int e = 1; e <= TovDSM::EntryCount; ++e) {
        const TovDSMx& from = *src.DSM->getItems(e);
        TovDSMx& to = *dst.DSM->getItems(e);
        to.setTaskFldXL(from.getTaskFldXL());
        to.setTaskFldDescXL(from.getTaskFldDescXL());
        to.setTaskFldRequired(from.getTaskFldRequired());
    }

    dst.DSF->setEnabled(src.DSF->getEnabled());
    dst.DSF->Clear();
    for (int j = 1; j <= src.DSF->getCount(); ++j) {
        const TovDSFx& from = *src.DSF->getItems(j);
        TovDSFx& to = *dst.DSF->getItems(dst.DSF->Add());
        to.setAndFlag(from.getAndFlag());
        to.setTaskFldXL(from.getTaskFldXL());
        to.setTaskFldDescXL(from.getTaskFldDescXL());
        to.setFilterOperator(from.getFilterOperator());
        to.setTaskFldValueXL(from.getTaskFldValueXL());
    }
}

void TovSDs::Delete(int index) {
    if (CheckIndexRange(index, 1, getCount(), QStringLiteral("SDs.Delete"))) {
        return;
    }
    ResetAllCaches();
    // Settings move down so that the objects of the definitions before index stay where they are.
    for (int k = index; k < getCount(); ++k) {
        CopySettings(*Items[static_cast<size_t>(k) + 1], *Items[static_cast<size_t>(k)]);
    }
    Items.pop_back();
}

bool TovSDs::Swap(int a, int b) {
    if (a == b) {
        return true;
    }
    if (CheckIndexRange(a, 1, getCount(), QStringLiteral("SDs.Swap")) ||
        CheckIndexRange(b, 1, getCount(), QStringLiteral("SDs.Swap"))) {
        return false;
    }
    ResetAllCaches();
    TovSD temporary;
    CopySettings(*Items[static_cast<size_t>(a)], temporary);
    CopySettings(*Items[static_cast<size_t>(b)], *Items[static_cast<size_t>(a)]);
    CopySettings(temporary, *Items[static_cast<size_t>(b)]);
    return true;
}

bool TovSDs::Copy(int src, int dst) {
    if (CheckIndexRange(src, 1, getCount(), QStringLiteral("SDs.Copy")) ||
        CheckIndexRange(dst, 1, getCount(), QStringLiteral("SDs.Copy"))) {
        return false;
    }
    ResetAllCaches();
    if (src != dst) {
        CopySettings(*Items[static_cast<size_t>(src)], *Items[static_cast<size_t>(dst)]);
    }
    return true;
}

bool TovSDs::ValidateSDsAfterLoad(bool sample) {
    bool changed = false;
    DV->ClearDFVErrs();
    for (int i = 1; i <= getCount(); ++i) {
        TovSD& sd = *Items[static_cast<size_t>(i)];
        const QString caption = Format(UIT(txt::KRVDefinitionDescription), {i});
        if (DV->CheckSDDescUndefinedRename(i, caption, sd.getDescription())) {
            DV->AddDFVErr(i, UIT(txt::KRVDefinitionDescription_740), DV->getMsgText());
            sd.setDescription(Format(UIT(txt::UndefinedKRVDefinition), {i}));
            changed = true;
        }
        const QString description = sd.getDescription();
        if (DV->CheckTextLength(caption, description, 255)) {
            DV->AddDFVErr(i, UIT(txt::KRVDefinitionDescription_740), DV->getMsgText());
            sd.setDescription(modelutil::StrLeft(description, 255));
            changed = true;
        }
        changed = sd.PD->Validate(i) || changed;
        changed = sd.SCF->Validate(i, sample) || changed;
        changed = sd.SCO->Validate(i) || changed;
        changed = sd.DSM->Validate(i) || changed;
        changed = sd.DSF->Validate(i) || changed;
    }

    // Each description is compared with every accepted one before it (renamed ones included),
    // ignoring the case of a..z; a duplicate is renamed until it is unique.
    QHash<QString, int> accepted;
    for (int j = 1; j <= getCount(); ++j) {
        TovSD& sd = *Items[static_cast<size_t>(j)];
        const QString description = sd.getDescription();
        const auto found = accepted.constFind(modelutil::UpperAZ(description));
        if (found != accepted.constEnd()) {
            const int i = found.value();
            const QString earlier = Items[static_cast<size_t>(i)]->getDescription();
            if (DV->CheckSDDescDuplicate(
                    {.Index = j,
                     .LaterCaption = Format(UIT(txt::KRVDefinitionDescription), {j}),
                     .LaterDesc = description,
                     .EarlierCaption = Format(UIT(txt::KRVDefinitionDescription), {i}),
                     .EarlierDesc = earlier})) {
                DV->AddDFVErr(i, UIT(txt::KRVDefinitionDescription_740), DV->getMsgText());
            }
            const QString renamed = Format(UIT(txt::Text742), {j, description});
            QString candidate = TrimControl(modelutil::StrLeft(renamed, 255));
            for (int k = 2; accepted.contains(modelutil::UpperAZ(candidate)); ++k) {
                const QString suffix = QStringLiteral(" (%1)").arg(k);
                candidate = TrimControl(modelutil::StrLeft(renamed,
                                                           255 - static_cast<int>(suffix.size()))) +
                            suffix;
            }
            sd.setDescription(candidate);
            changed = true;
        }
        accepted.insert(modelutil::UpperAZ(sd.getDescription()), j);
    }

    FillErrListBox(LB_DFVErr(), DV->getDFVErrCount());
    return changed;
}
