#include "model/ovSD.h"

#include "model/ModelPrefs.h"
#include "model/ModelUtils.h"
#include "services/IndexRange.h"
#include "services/ovUIL.h"

#include <algorithm>

namespace {

int importValueCount() {
    return std::clamp(ModelPrefs()->getImportTaskFldValueCount(), 0, 5);
}

size_t at(int index) {
    return static_cast<size_t>(index);
}

template <typename T> void assignIfChanged(T& field, const T& value) {
    if (field != value) {
        field = value;
    }
}

} // namespace

TovSD::TovSD()
    : PD(std::make_unique<TovPD>()), SCF(std::make_unique<TovSCF>()),
      SCO(std::make_unique<TovSCO>()), DSM(std::make_unique<TovDSM>()),
      DSF(std::make_unique<TovDSF>()) {
    ResetCaches();
}

TovSD::~TovSD() = default;

QString TovSD::getDescription() const {
    return TrimControl(Description);
}

void TovSD::setDescription(const QString& value) {
    assignIfChanged(Description, modelutil::StoredText(value));
}

TovSD::TaskFieldRow TovSD::NewTaskFieldRow() {
    TaskFieldRow row;
    row.Values.assign(at(importValueCount() + 1), QString());
    return row;
}

TovSD::ValueList TovSD::NewValueList() {
    ValueList list;
    list.Values.assign(1, QString());
    list.TaskCounts.assign(1, 0);
    return list;
}

void TovSD::ResetCaches() {
    for (int i = 0; i < 3; ++i) {
        WSL_WS[at(i)].assign(1, QString());
        WSL_Loaded[at(i)] = false;
    }
    ResetFL();
    ResetVL();
}

void TovSD::ResetWSL(int i) {
    if (CheckIndexRange(i, 0, 2, QStringLiteral("SD.ResetWSL"))) {
        return;
    }
    WSL_WS[at(i)].assign(1, QString());
    WSL_Loaded[at(i)] = false;
}

int TovSD::getWSL_Count(int i) const {
    if (CheckIndexRange(i, 0, 2, QStringLiteral("SD.getWSL_Count"))) {
        return 0;
    }
    return static_cast<int>(WSL_WS[at(i)].size()) - 1;
}

void TovSD::setWSL_Count(int i, int n) {
    if (CheckIndexRange(i, 0, 2, QStringLiteral("SD.setWSL_Count"))) {
        return;
    }
    WSL_WS[at(i)].resize(at(std::max(n, 0) + 1));
}

QString TovSD::getWSL_WS(int i, int j) const {
    if (CheckIndexRange(i, 0, 2, QStringLiteral("SD.getWSL_WS")) ||
        CheckIndexRange(j, 0, getWSL_Count(i), QStringLiteral("SD.getWSL_WS"))) {
        return QString();
    }
    return WSL_WS[at(i)][at(j)];
}

void TovSD::setWSL_WS(int i, int j, const QString& value) {
    if (CheckIndexRange(i, 0, 2, QStringLiteral("SD.setWSL_WS")) ||
        CheckIndexRange(j, 0, getWSL_Count(i), QStringLiteral("SD.setWSL_WS"))) {
        return;
    }
    assignIfChanged(WSL_WS[at(i)][at(j)], value);
}

bool TovSD::getWSL_Loaded(int i) const {
    if (CheckIndexRange(i, 0, 2, QStringLiteral("SD.getWSL_Loaded"))) {
        return false;
    }
    return WSL_Loaded[at(i)];
}

void TovSD::setWSL_Loaded(int i, bool value) {
    if (CheckIndexRange(i, 0, 2, QStringLiteral("SD.setWSL_Loaded"))) {
        return;
    }
    WSL_Loaded[at(i)] = value;
}

void TovSD::ResetFL() {
    FL_Count = 0;
    FL_Loaded = false;
    FL.assign(1, NewTaskFieldRow());
}

void TovSD::setFL_Count(int n) {
    n = std::max(n, 0);
    if (n + 1 < static_cast<int>(FL.size())) {
        FL.resize(at(n + 1));
    }
    while (static_cast<int>(FL.size()) < n + 1) {
        FL.push_back(NewTaskFieldRow());
    }
    FL_Count = n;
}

void TovSD::setFL_Loaded(bool value) {
    FL_Loaded = value;
}

QString TovSD::getFL_TaskFld(int i) const {
    if (CheckIndexRange(i, 0, FL_Count, QStringLiteral("SD.getFL_TaskFld"))) {
        return QString();
    }
    return TrimControl(FL[at(i)].TaskFld);
}

void TovSD::setFL_TaskFld(int i, const QString& value) {
    if (CheckIndexRange(i, 0, FL_Count, QStringLiteral("SD.setFL_TaskFld"))) {
        return;
    }
    assignIfChanged(FL[at(i)].TaskFld, TrimControl(value));
}

QString TovSD::getFL_TaskFldDesc(int i) const {
    if (CheckIndexRange(i, 0, FL_Count, QStringLiteral("SD.getFL_TaskFldDesc"))) {
        return QString();
    }
    return FL[at(i)].TaskFldDesc;
}

void TovSD::setFL_TaskFldDesc(int i, const QString& value) {
    if (CheckIndexRange(i, 0, FL_Count, QStringLiteral("SD.setFL_TaskFldDesc"))) {
        return;
    }
    assignIfChanged(FL[at(i)].TaskFldDesc, value);
}

QString TovSD::getFL_TaskFldValue(int i, int j) const {
    if (CheckIndexRange(i, 0, FL_Count, QStringLiteral("SD.getFL_TaskFldValue")) ||
        CheckIndexRange(j, 0, importValueCount(), QStringLiteral("SD.getFL_TaskFldValue"))) {
        return QString();
    }
    const auto& values = FL[at(i)].Values;
    return at(j) < values.size() ? values[at(j)] : QString();
}

void TovSD::setFL_TaskFldValue(int i, int j, const QString& value) {
    if (CheckIndexRange(i, 0, FL_Count, QStringLiteral("SD.setFL_TaskFldValue")) ||
        CheckIndexRange(j, 0, importValueCount(), QStringLiteral("SD.setFL_TaskFldValue"))) {
        return;
    }
    // The preference may have grown since the row was sized.
    auto& values = FL[at(i)].Values;
    if (values.size() <= at(j)) {
        values.resize(at(j) + 1);
    }
    assignIfChanged(values[at(j)], value);
}

void TovSD::ResetVL() {
    VL_Count = 0;
    VL_TaskCount = 0;
    VL.assign(1, NewValueList());
}

void TovSD::setVL_Count(int n) {
    n = std::max(n, 0);
    if (n + 1 < static_cast<int>(VL.size())) {
        VL.resize(at(n + 1));
    }
    while (static_cast<int>(VL.size()) < n + 1) {
        VL.push_back(NewValueList());
    }
    VL_Count = n;
}

void TovSD::setVL_TaskCount(int n) {
    VL_TaskCount = n;
}

QString TovSD::getVL_TaskFld(int i) const {
    if (CheckIndexRange(i, 0, VL_Count, QStringLiteral("SD.getVL_TaskFld"))) {
        return QString();
    }
    return TrimControl(VL[at(i)].TaskFld);
}

void TovSD::setVL_TaskFld(int i, const QString& value) {
    if (CheckIndexRange(i, 0, VL_Count, QStringLiteral("SD.setVL_TaskFld"))) {
        return;
    }
    assignIfChanged(VL[at(i)].TaskFld, TrimControl(value));
}

int TovSD::getVL_TaskFldValCount(int i) const {
    if (CheckIndexRange(i, 0, VL_Count, QStringLiteral("SD.getVL_TaskFldValCount"))) {
        return 0;
    }
    return VL[at(i)].valCount();
}

void TovSD::setVL_TaskFldValCount(int i, int n) {
    if (CheckIndexRange(i, 0, VL_Count, QStringLiteral("SD.setVL_TaskFldValCount"))) {
        return;
    }
    ValueList& list = VL[at(i)];
    list.Values.resize(at(std::max(n, 0) + 1));
    list.TaskCounts.resize(at(std::max(n, 0) + 1), 0);
}

QString TovSD::getVL_TaskFldValue(int i, int j) const {
    if (CheckIndexRange(i, 0, VL_Count, QStringLiteral("SD.getVL_TaskFldValue")) ||
        CheckIndexRange(j, 0, VL[at(i)].valCount(), QStringLiteral("SD.getVL_TaskFldValue"))) {
        return QString();
    }
    return VL[at(i)].Values[at(j)];
}

void TovSD::setVL_TaskFldValue(int i, int j, const QString& value) {
    if (CheckIndexRange(i, 0, VL_Count, QStringLiteral("SD.setVL_TaskFldValue")) ||
        CheckIndexRange(j, 0, VL[at(i)].valCount(), QStringLiteral("SD.setVL_TaskFldValue"))) {
        return;
    }
    assignIfChanged(VL[at(i)].Values[at(j)], value);
}

int TovSD::getVL_TaskFldValTaskCount(int i, int j) const {
    if (CheckIndexRange(i, 0, VL_Count, QStringLiteral("SD.getVL_TaskFldValTaskCount")) ||
        CheckIndexRange(j, 0, VL[at(i)].valCount(),
                        QStringLiteral("SD.getVL_TaskFldValTaskCount"))) {
        return 0;
    }
    return VL[at(i)].TaskCounts[at(j)];
}

void TovSD::setVL_TaskFldValTaskCount(int i, int j, int n) {
    if (CheckIndexRange(i, 0, VL_Count, QStringLiteral("SD.setVL_TaskFldValTaskCount")) ||
        CheckIndexRange(j, 0, VL[at(i)].valCount(),
                        QStringLiteral("SD.setVL_TaskFldValTaskCount"))) {
        return;
    }
    VL[at(i)].TaskCounts[at(j)] = n;
}

bool TovSD::getVL_Loaded(int i) const {
    if (CheckIndexRange(i, 0, VL_Count, QStringLiteral("SD.getVL_Loaded"))) {
        return false;
    }
    return VL[at(i)].Loaded;
}

void TovSD::setVL_Loaded(int i, bool value) {
    if (CheckIndexRange(i, 0, VL_Count, QStringLiteral("SD.setVL_Loaded"))) {
        return;
    }
    VL[at(i)].Loaded = value;
}
