#include "forms/browse/F_BrowseVal.h"

#include "model/ovSD.h"
#include "services/TextIds.h"
#include "services/ovUIL.h"
#include "services/ovUP.h"

#include <QListView>

TUF_BrowseVal* UF_BrowseVal = nullptr;

namespace {

TListWindowKind kind() {
    TListWindowKind k;
    k.InitTextId = 25;
    k.Slot = 4;
    k.CreationMinimum = QSize(464, 168);
    k.GetAutoSize = &TovUP::getAutoSizeBrowseVal;
    k.SetAutoSize = &TovUP::setAutoSizeBrowseVal;
    k.GetAutoAlign = &TovUP::getAutoAlignBrowseVal;
    k.SetAutoAlign = &TovUP::setAutoAlignBrowseVal;
    k.HasRefresh = true;
    return k;
}

QString lines(const QString& first, const QString& second) {
    return first + QLatin1Char('\n') + second;
}

} // namespace

TUF_BrowseVal::TUF_BrowseVal(QWidget* parent) : TUF_BrowseBase(kind(), parent) {
    setWindowTitle(FramedCell(UIT(txt::SelectDataSourceFilterTaskFieldValue)));
    setSections({UIT(txt::ID_247), UIT(txt::TaskFieldValue_248), UIT(txt::TaskCount)});
    setButtonCaptions(UIT(txt::AutoSize_250), UIT(txt::AutoAlign_251), UIT(txt::Refresh_252),
                      UIT(txt::Select_253), UIT(txt::Cancel_254));
    setListHint(lines(UIT(txt::SelectTaskFieldValue),
                      UIT(txt::ShortcutDoubleClickToUseSelectedTaskFieldValue)));
    setButtonHints(
        UIT(txt::EnableToAutomaticallyResizeForm_1041),
        UIT(txt::EnableToAutomaticallyAlignForm_1042),
        lines(UIT(txt::RefreshTaskFieldValueList), UIT(txt::ShortcutAltR_1044)),
        lines(UIT(txt::UseSelectedTaskFieldValue), UIT(txt::ShortcutAltS_1046)),
        lines(UIT(txt::CancelDoNotUseSelectedTaskFieldValue), UIT(txt::ShortcutEsc_1048)));
    setStatusTexts({UIT(txt::TotalTaskFieldValues), QStringLiteral("0"), UIT(txt::TotalTasks),
                    QStringLiteral("0")});
    setBrowseVal(this);
}

TUF_BrowseVal::~TUF_BrowseVal() {
    if (BrowseVal() == this) {
        setBrowseVal(nullptr);
    }
    if (UF_BrowseVal == this) {
        UF_BrowseVal = nullptr;
    }
}

void TUF_BrowseVal::setTaskFldValue(const QString& value) {
    if (TaskFldValue != value) {
        TaskFldValue = value;
    }
}

void TUF_BrowseVal::Setup(TovSD& sd, int vlIndex, const TBrowseAnchor& anchor) {
    SD = &sd;
    if (VLIndex != vlIndex) {
        VLIndex = vlIndex;
    }
    setAnchor(CalcAlignAnchor(anchor.Field, anchor.Button));

    QStringList values;
    TaskCounts.clear();
    // An index outside the value lists is reported by the range check and lists nothing.
    const int count = sd.getVL_TaskFldValCount(vlIndex);
    values.reserve(count);
    TaskCounts.reserve(static_cast<size_t>(count));
    for (int j = 1; j <= count; ++j) {
        values << sd.getVL_TaskFldValue(vlIndex, j);
        TaskCounts.push_back(sd.getVL_TaskFldValTaskCount(vlIndex, j));
    }
    setKeys(values, FindPreselection(values, TaskFldValue, TPreselectCompare::TrimmedUpperCase));
    setStatusTexts({UIT(txt::TotalTaskFieldValues), QString::number(rowCount()),
                    UIT(txt::TotalTasks), QString::number(sd.getVL_TaskCount())});
    AutoSizeColumns();
    AutoSizePanels();
}

int TUF_BrowseVal::Execute(TovSD& sd, int vlIndex, const TBrowseAnchor& anchor, QString& value) {
    setTaskFldValue(value);
    Setup(sd, vlIndex, anchor);
    const int result = exec();
    if (result == 1) {
        value = TaskFldValue;
    }
    return result;
}

QString TUF_BrowseVal::cellText(int row, int column) const {
    if (column == 0) {
        return QString::number(row + 1);
    }
    if (column == 1) {
        return keyAt(row);
    }
    return row >= 0 && row < static_cast<int>(TaskCounts.size())
               ? QString::number(TaskCounts[static_cast<size_t>(row)])
               : QString();
}

void TUF_BrowseVal::storeResult(int row) {
    const QString key = row >= 0 ? keyAt(row) : QString();
    TaskFldValue = key;
}

void TUF_BrowseVal::clearCache() {
    if (SD != nullptr) {
        SD->setVL_Loaded(VLIndex, false);
    }
}
