#include "F_BrowseVal.h"

#include "model/ovSD.h"
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
    setWindowTitle(FramedCell(UIT(246)));
    setSections({UIT(247), UIT(248), UIT(249)});
    setButtonCaptions(UIT(250), UIT(251), UIT(252), UIT(253), UIT(254));
    setListHint(lines(UIT(1039), UIT(1040)));
    setButtonHints(UIT(1041), UIT(1042), lines(UIT(1043), UIT(1044)), lines(UIT(1045), UIT(1046)),
                   lines(UIT(1047), UIT(1048)));
    setStatusTexts({UIT(255), QStringLiteral("0"), UIT(256), QStringLiteral("0")});
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
    setStatusTexts(
        {UIT(255), QString::number(rowCount()), UIT(256), QString::number(sd.getVL_TaskCount())});
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
